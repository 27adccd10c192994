#pragma once

#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include "codec/Codec.h"
#endif

namespace cli {

// A command's arguments after the program's name, as UTF-8. Linux gives
// bytes, in whatever encoding, which are kept as they are.
inline std::vector<std::string> commandArgs(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

#if defined(_WIN32)
// Windows gives UTF-16 (wmain); a lone surrogate becomes U+FFFD.
inline std::vector<std::string> commandArgs(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(codec::utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    }
    return args;
}
#endif

using Command = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Runs command on main's arguments. An exception (memory exhaustion while
// printing, say) is an error told on err with the program's name, and ends
// with errorStatus, not an abort.
template <class Char>
int runCommand(Command command, int argc, Char** argv, std::string_view program, int errorStatus,
               std::ostream& out = std::cout, std::ostream& err = std::cerr) {
    try {
        return command(commandArgs(argc, argv), out, err);
    } catch (const std::exception& e) {
        err << program << ": " << e.what() << '\n';
        return errorStatus;
    }
}

} // namespace cli
