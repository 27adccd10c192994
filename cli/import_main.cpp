#include "cli/ImportCommand.h"
#include "importer/ListFolder.h"

#include <iostream>

#if defined(_WIN32)
#include "codec/Codec.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

int runCommand(const std::vector<std::string>& args) {
    std::ios::sync_with_stdio(false);
    importer::cleanUpOnSignals();
    return cli::ImportCommand::run(args, std::cout, std::cerr);
}

} // namespace

#if defined(_WIN32)

int wmain(int argc, wchar_t** argv) {
    // The same bytes as on Linux: UTF-8 messages, "\n" line ends.
    if (GetFileType(GetStdHandle(STD_ERROR_HANDLE)) == FILE_TYPE_CHAR) {
        SetConsoleOutputCP(CP_UTF8);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view arg = argv[i];
        args.push_back(codec::utf16ToUtf8(std::u16string(arg.begin(), arg.end())));
    }
    return runCommand(args);
}

#else

int main(int argc, char** argv) {
    return runCommand(std::vector<std::string>(argv + 1, argv + argc));
}

#endif
