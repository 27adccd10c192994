#include "cli/LookupCommand.h"

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

namespace {

// An argument as UTF-8; a lone surrogate becomes U+FFFD.
std::string toUtf8(const wchar_t* arg) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, arg, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, arg, -1, out.data(), n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    // The same bytes as on Linux: UTF-8 (or GBK when asked), "\n" line ends.
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR) {
        SetConsoleOutputCP(CP_UTF8);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(toUtf8(argv[i]));
    }
    return runCommand(args);
}

#else

int main(int argc, char** argv) {
    return runCommand(std::vector<std::string>(argv + 1, argv + argc));
}

#endif
