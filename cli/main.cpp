#include "cli/LookupCommand.h"
#include "codec/Codec.h"

#include <exception>
#include <iostream>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

int runCommand(const std::vector<std::string>& args) {
    std::ios::sync_with_stdio(false);
    try {
        return cli::LookupCommand::run(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        // Memory exhaustion while printing, say: an error, not an abort.
        std::cerr << "mirawen-lookup: " << e.what() << '\n';
        return cli::LookupCommand::kError;
    }
}

} // namespace

#if defined(_WIN32)

int wmain(int argc, wchar_t** argv) {
    // The same bytes as on Linux: UTF-8 (or GBK when asked), "\n" line ends.
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR) {
        SetConsoleOutputCP(CP_UTF8);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        // A lone surrogate becomes U+FFFD.
        args.push_back(codec::utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    }
    return runCommand(args);
}

#else

int main(int argc, char** argv) {
    return runCommand(std::vector<std::string>(argv + 1, argv + argc));
}

#endif
