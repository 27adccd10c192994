#include "vocab/DataFolders.h"

#include "vocab/WordLists.h"

#include <cstdlib>
#include <string_view>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace vocab {

namespace {

namespace fs = std::filesystem;

bool holdsAList(const fs::path& folder) {
    for (const WordListFile& list : kWordLists) {
        std::error_code ec;
        if (fs::exists(folder / fs::u8path(list.fileName), ec)) {
            return true;
        }
    }
    return false;
}

bool holdsFont(const fs::path& folder) {
    std::error_code ec;
    return fs::exists(folder / fs::u8path(kPhoneticFontFile), ec);
}

} // namespace

#if defined(_WIN32)

DataEnvironment DataEnvironment::fromProcess() {
    DataEnvironment env;
    std::error_code ec;
    env.currentFolder = fs::current_path(ec);
    if (const wchar_t* appData = _wgetenv(L"APPDATA")) {
        env.appData = appData;
    }
    std::wstring module(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
        if (n < module.size()) {
            module.resize(n);
            break;
        }
        module.resize(module.size() * 2);
    }
    env.programFolder = fs::path(module).parent_path();
    return env;
}

std::optional<fs::path> userListFolder(const DataEnvironment& env) {
    if (!env.appData.is_absolute()) {
        return std::nullopt;
    }
    return env.appData / "Mirawen";
}

std::vector<fs::path> systemListFolders(const DataEnvironment& env) {
    return {env.programFolder};
}

#else

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

DataEnvironment DataEnvironment::fromProcess() {
    DataEnvironment env;
    std::error_code ec;
    env.currentFolder = fs::current_path(ec);
    env.xdgDataHome = variable("XDG_DATA_HOME");
    env.home = variable("HOME");
    env.xdgDataDirs = variable("XDG_DATA_DIRS");
    return env;
}

// As freedesktop.org's XDG rules have it: a relative path in these variables is
// invalid and ignored, and an unset or empty variable takes its default.
std::optional<fs::path> userListFolder(const DataEnvironment& env) {
    const fs::path dataHome(env.xdgDataHome);
    if (dataHome.is_absolute()) {
        return dataHome / "mirawen";
    }
    const fs::path home(env.home);
    if (!home.is_absolute()) {
        return std::nullopt;
    }
    return home / ".local" / "share" / "mirawen";
}

std::vector<fs::path> systemListFolders(const DataEnvironment& env) {
    const std::string_view dirs =
        env.xdgDataDirs.empty() ? std::string_view("/usr/local/share:/usr/share") : env.xdgDataDirs;
    std::vector<fs::path> folders;
    for (std::size_t begin = 0; begin <= dirs.size();) {
        std::size_t end = dirs.find(':', begin);
        if (end == std::string_view::npos) {
            end = dirs.size();
        }
        const fs::path dir(dirs.substr(begin, end - begin));
        if (dir.is_absolute()) {
            folders.push_back(dir / "mirawen");
        }
        begin = end + 1;
    }
    return folders;
}

#endif

DataLocation locateData(const std::optional<fs::path>& dir, const DataEnvironment& env) {
    std::vector<fs::path> dataFolders;
    if (std::optional<fs::path> user = userListFolder(env)) {
        dataFolders.push_back(std::move(*user));
    }
    for (fs::path& folder : systemListFolders(env)) {
        dataFolders.push_back(std::move(folder));
    }

    DataLocation location;
    if (dir) {
        location.listFolder = *dir;
    } else if (holdsAList(env.currentFolder)) {
        location.listFolder = env.currentFolder;
    } else {
        location.listFolder = env.currentFolder;
        for (const fs::path& folder : dataFolders) {
            if (holdsAList(folder)) {
                location.listFolder = folder;
                break;
            }
        }
    }

    if (holdsFont(location.listFolder)) {
        location.fontFile = location.listFolder / fs::u8path(kPhoneticFontFile);
    } else {
        for (const fs::path& folder : dataFolders) {
            if (holdsFont(folder)) {
                location.fontFile = folder / fs::u8path(kPhoneticFontFile);
                break;
            }
        }
    }
    return location;
}

} // namespace vocab
