#include "app/CLookupApp.h"
#include "lookup/Texts.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

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
    const bool noDisplay = displayMissing();
    // Only a command line that asks for no window is worth starting Qt for.
    if (noDisplay &&
        lookup::readWindowArgs(std::vector<std::string>(argv + 1, argv + argc)).answer ==
            lookup::WindowArgs::Answer::Run) {
        std::fputs(lookup::text::kNoDisplay.data(), stderr);
        return 1;
    }
    if (noDisplay) {
        // Qt needs a platform even to read its options; --help and --version
        // are then answered on the terminal as anywhere.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    CLookupApp app(argc, argv);
    if (const std::optional<int> status = app.answerCommandLine()) {
        return *status;
    }
    if (noDisplay) {
        std::fputs(lookup::text::kNoDisplay.data(), stderr);
        return 1;
    }
    app.InitInstance();
    return 0;
}
