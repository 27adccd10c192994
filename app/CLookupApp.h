#pragma once

#include "vocab/DataFolders.h"

#include <QApplication>

// The application: one start of the program is one run of the lookup window.
class CLookupApp : public QApplication {
    Q_OBJECT

public:
    CLookupApp(int& argc, char** argv);

    // Runs the lookup window until the user closes it. Always false: the
    // program then ends.
    bool InitInstance();

    // Qt's own texts (the standard buttons) in Chinese.
    static void installTranslations();

private:
    // Where the window reads from: mirawen [--dir DIR]. --help, --version and
    // a bad command line are answered on the terminal and end the program
    // here, as QCommandLineParser does.
    vocab::DataLocation dataLocation() const;
};
