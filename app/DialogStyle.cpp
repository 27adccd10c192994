#include "app/DialogStyle.h"

#include <QImageReader>
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

QPixmap dialogPicture(const char* resource) {
    // Named as PNG, so that the reader does not load every image plugin
    // to ask whether it knows the format.
    QImageReader reader(QString::fromUtf8(resource), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QPixmap dialogPicture(const char* at1x, const char* at2x, qreal ratio) {
    if (ratio <= 1) {
        return dialogPicture(at1x);
    }
    QPixmap picture = dialogPicture(at2x);
    picture.setDevicePixelRatio(2);
    return picture;
}
