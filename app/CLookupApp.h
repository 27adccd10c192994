#pragma once

#include "lookup/WindowArgs.h"

#include <QApplication>

#include <optional>

// The application: one start of the program is one run of the lookup window.
class CLookupApp : public QApplication {
    Q_OBJECT

public:
    // Reads mirawen [--dir DIR] [--help] [--version] from what Qt leaves of
    // the command line once it has taken its own options (-platform, -style).
    CLookupApp(int& argc, char** argv);

    // --help, --version and a wrong command line, answered on the terminal:
    // the status to end with. Nothing when the window is to open.
    std::optional<int> answerCommandLine() const;

    // Runs the lookup window until the user closes it. Always false: the
    // program then ends.
    bool InitInstance();

    // Qt's own texts (the standard buttons) in Chinese.
    static void installTranslations();

private:
    lookup::WindowArgs m_args;
};
