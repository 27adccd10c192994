#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vocab {

// What the search for the word lists and the phonetic font looks at, so that
// tests can set it rather than the process's environment.
struct DataEnvironment {
    std::filesystem::path currentFolder;
    // Linux: $XDG_DATA_HOME, $HOME and $XDG_DATA_DIRS as they are set.
    std::string xdgDataHome;
    std::string home;
    std::string xdgDataDirs;
    // Windows: %APPDATA% and the folder of the running program.
    std::filesystem::path appData;
    std::filesystem::path programFolder;

    [[nodiscard]] static DataEnvironment fromProcess();
};

// Where a program reads its word lists and its phonetic font from.
struct DataLocation {
    std::filesystem::path listFolder;
    std::optional<std::filesystem::path> fontFile; // empty: the font is nowhere
};

// The list folder is dir when given; else the current folder when it holds
// either list; else the first data folder that holds either list, the user's
// own (userListFolder) before the system's (where a package puts the sample
// lists); else the current folder, so that the missing lists are named there.
// The font is taken from the list folder, else from the first data folder
// that has it.
[[nodiscard]] DataLocation locateData(const std::optional<std::filesystem::path>& dir,
                                      const DataEnvironment& env);

// The user's own list folder, where the importer writes by default:
// $XDG_DATA_HOME/mirawen (~/.local/share/mirawen) on Linux, %APPDATA%\Mirawen
// on Windows. Empty when the environment names no absolute folder for it (no
// usable home): a relative one would be a different folder in every folder a
// program is started in.
[[nodiscard]] std::optional<std::filesystem::path> userListFolder(const DataEnvironment& env);

// The data folders after the user's own, in the order they are searched:
// each DIR/mirawen of $XDG_DATA_DIRS on Linux, the program's folder on Windows.
[[nodiscard]] std::vector<std::filesystem::path> systemListFolders(const DataEnvironment& env);

} // namespace vocab
