#include "app/DialogStyle.h"

#include <QStringList>

QFont dialogFont(int pointSize) {
    static const bool substituted = [] {
        QFont::insertSubstitutions(
            QStringLiteral("宋体"),
            {QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
             QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
             QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
             QStringLiteral("WenQuanYi Micro Hei")});
        return true;
    }();
    Q_UNUSED(substituted);
    return QFont(QStringLiteral("宋体"), pointSize);
}
