#include "cli/CommandMain.h"
#include "cli/ImportCommand.h"
#include "importer/ListFolder.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    // The same bytes as on Linux: UTF-8 messages, "\n" line ends.
    if (GetFileType(GetStdHandle(STD_ERROR_HANDLE)) == FILE_TYPE_CHAR) {
        SetConsoleOutputCP(CP_UTF8);
    }
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#else
int main(int argc, char** argv) {
#endif
    std::ios::sync_with_stdio(false);
    importer::cleanUpOnSignals();
    return cli::runCommand(cli::ImportCommand::run, argc, argv, "mirawen-import",
                           cli::ImportCommand::kError);
}
