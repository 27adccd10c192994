#include "app/CLookupApp.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// Qt would abort with a terse message; say what to do instead.
bool displayMissing() {
#if defined(Q_OS_LINUX)
    return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
           !std::getenv("QT_QPA_PLATFORM");
#else
    return false;
#endif
}

// --help and --version are answered on the terminal before any window opens.
bool asksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version") {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (displayMissing()) {
        if (!asksOnlyForText(argc, argv)) {
            std::fputs("mirawen: no display to open the window on (DISPLAY is not set).\n"
                       "Run it on a desktop, or in a virtual X server: xvfb-run -a ./mirawen\n",
                       stderr);
            return 1;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen"); // Qt needs a platform even to print
    }
    CLookupApp app(argc, argv);
    app.InitInstance();
    return 0;
}
