#include "win/CLookupApp.h"

#include <windows.h>

#include <shellapi.h> // after windows.h, which it needs

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::vector<std::wstring> args;
    int count = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        args.assign(argv + 1, argv + count);
        LocalFree(argv);
    }
    CLookupApp app(std::move(args));
    app.InitInstance();
    return app.ExitCode();
}
