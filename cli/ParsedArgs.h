#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace cli {

// What a command's arguments came to: the options to run with; or a usage
// error; or an answer (--help, --version) already written to out, with the
// status to end with.
template <class Options> struct ParsedArgs {
    std::optional<Options> options;
    std::string error;       // a usage error, when options is empty and exit is not set
    std::optional<int> exit; // --help or --version answered
};

// The status to end with when the arguments leave nothing to run: the
// answer's, unless writing it failed, or errorStatus after telling a usage
// error with the usage. Nothing when the options are to be run.
template <class Options>
std::optional<int> endBeforeRunning(const ParsedArgs<Options>& parsed, std::string_view program,
                                    std::string_view usage, int errorStatus, std::ostream& out,
                                    std::ostream& err) {
    if (parsed.exit) {
        if (!out.flush()) {
            err << program << ": write error\n";
            return errorStatus;
        }
        return *parsed.exit;
    }
    if (!parsed.options) {
        err << program << ": " << parsed.error << '\n'
            << usage << "Try '" << program << " --help' for more information.\n";
        return errorStatus;
    }
    return std::nullopt;
}

} // namespace cli
