#pragma once

#include <string>
#include <vector>

// The application: one run of the lookup window per start.
class CLookupApp {
public:
    // args excludes the program name; "--dir DIR" names the lists' folder.
    explicit CLookupApp(std::vector<std::wstring> args);

    // Runs the window until it is closed; always false, as nothing follows.
    bool InitInstance();

private:
    std::vector<std::wstring> m_args;
};
