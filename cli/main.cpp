#include "cli/CommandMain.h"
#include "cli/LookupCommand.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    // The same bytes as on Linux: UTF-8 (or GBK when asked), "\n" line ends.
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR) {
        SetConsoleOutputCP(CP_UTF8);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#else
int main(int argc, char** argv) {
#endif
    std::ios::sync_with_stdio(false);
    return cli::runCommand(cli::LookupCommand::run, argc, argv, "mirawen-lookup",
                           cli::LookupCommand::kError);
}
