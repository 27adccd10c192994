#include "app/CLookupApp.h"

#include <cstdio>
#include <cstdlib>

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

} // namespace

int main(int argc, char** argv) {
    if (displayMissing()) {
        std::fputs("mirawen: no display to open the window on (DISPLAY is not set).\n"
                   "Run it on a desktop, or in a virtual X server: xvfb-run -a ./mirawen\n",
                   stderr);
        return 1;
    }
    CLookupApp app(argc, argv);
    app.InitInstance();
    return 0;
}
