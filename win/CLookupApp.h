#pragma once

#include <string>
#include <vector>

// The application: one run of the lookup window per start.
class CLookupApp {
public:
    // args excludes the program name: [--dir DIR] [--help] [--version].
    explicit CLookupApp(std::vector<std::wstring> args);

    // Runs the window until it is closed, or answers --help, --version or a
    // wrong command line in a message box; always false, as nothing follows.
    bool InitInstance();

    // The process's exit status: 1 after a wrong command line, else 0.
    int ExitCode() const { return m_exitCode; }

private:
    std::vector<std::wstring> m_args;
    int m_exitCode = 0;
};
