#include "app/MessageBox.h"

#include "app/DialogStyle.h"
#include "lookup/Texts.h"

#include <QList>

namespace {

QList<QMessageBox::StandardButton>& nextAnswers() {
    static QList<QMessageBox::StandardButton> answers;
    return answers;
}

QStringList& answeredBoxes() {
    static QStringList boxes;
    return boxes;
}

QString describe(QMessageBox::StandardButtons buttons) {
    QStringList names;
    for (QMessageBox::StandardButton button :
         {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No}) {
        if (buttons & button) {
            names << (button == QMessageBox::Ok    ? QStringLiteral("OK")
                      : button == QMessageBox::Yes ? QStringLiteral("Yes")
                                                   : QStringLiteral("No"));
        }
    }
    return names.join(QLatin1Char(' '));
}

} // namespace

QMessageBox::StandardButton MessageBox::ask(QWidget* parent, const QString& caption,
                                            const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) {
    if (!nextAnswers().isEmpty()) {
        answeredBoxes() << caption + QLatin1Char('|') + text + QLatin1Char('|') +
                               describe(buttons) + (parent ? QStringLiteral("|owned") : QString());
        return nextAnswers().takeFirst();
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer) {
    nextAnswers() << answer;
}

QStringList MessageBox::answered() {
    nextAnswers().clear();
    QStringList boxes;
    boxes.swap(answeredBoxes());
    return boxes;
}

qsizetype MessageBox::unanswered() {
    return nextAnswers().size();
}

void MessageBox::notice(const QString& text, QWidget* owner) {
    ask(owner, qText(lookup::text::kAppName), text, QMessageBox::Ok, QMessageBox::Ok);
}
