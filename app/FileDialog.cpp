#include "app/FileDialog.h"

#include <QFileDialog>
#include <QList>

namespace {

QStringList& nextAnswers() {
    static QStringList answers;
    return answers;
}

QStringList& answeredDialogs() {
    static QStringList dialogs;
    return dialogs;
}

} // namespace

QString FileDialog::openFile(QWidget* parent, const QString& caption, const QString& filter) {
    if (!nextAnswers().isEmpty()) {
        answeredDialogs() << caption + QLatin1Char('|') + filter;
        return nextAnswers().takeFirst();
    }
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

void FileDialog::setNextAnswer(const QString& path) {
    nextAnswers() << path;
}

QStringList FileDialog::answered() {
    nextAnswers().clear();
    QStringList dialogs;
    dialogs.swap(answeredDialogs());
    return dialogs;
}
