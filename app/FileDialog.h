#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Every file dialog of the program goes through here, as message boxes go
// through MessageBox: tests answer it through setNextAnswer.
class FileDialog {
public:
    // The file chosen to open, empty when the learner cancelled.
    static QString openFile(QWidget* parent, const QString& caption, const QString& filter);

    // The next dialog is not shown but answered at once with path (empty:
    // cancelled); each call answers one more.
    static void setNextAnswer(const QString& path);

    // The dialogs answered through setNextAnswer since the last call, oldest
    // first, as "caption|filter"; answers left unused are dropped.
    static QStringList answered();
};
