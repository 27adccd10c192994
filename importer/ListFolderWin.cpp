#include "importer/ListFolder.h"

#include "importer/SystemError.h"
#include "importer/TemporaryFiles.h"

#include <utility>
#include <windows.h>

namespace importer {

namespace fs = std::filesystem;

namespace {

std::string errorText(DWORD error) {
    return systemError(static_cast<int>(error));
}

bool exists(DWORD error) {
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

BOOL WINAPI onConsoleSignal(DWORD) {
    temporaries::removeAll();
    return FALSE; // and then the default: the process ends
}

// Where a list's old file goes while the new one takes its name.
fs::path backupOf(const fs::path& temporary) {
    return fs::path(temporary.native() + L".old.tmp");
}

} // namespace

ListFolder::Lock ListFolder::lock(const fs::path& folder) {
    // A lock file that no one else may open while it is held, gone when it
    // is let go (or the process ends).
    const fs::path lockFile = folder / L".mirawen-import.lock";
    HANDLE file = CreateFileW(lockFile.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return {kNoLock, error == ERROR_SHARING_VIOLATION
                             ? std::string()
                             : "cannot lock " + pathText(folder) + ": " + errorText(error)};
    }
    return {reinterpret_cast<std::intptr_t>(file), {}};
}

void ListFolder::unlock(std::intptr_t handle) {
    CloseHandle(reinterpret_cast<HANDLE>(handle)); // which deletes the lock file
}

std::optional<std::string> ListFolder::writeTemporary(std::size_t list, std::string_view bytes) {
    HANDLE file = INVALID_HANDLE_VALUE;
    fs::path path;
    for (int n = 0; file == INVALID_HANDLE_VALUE && n < 100; ++n) {
        path = temporaryName(list, GetCurrentProcessId(), n);
        file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && !exists(GetLastError())) {
            break;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return "cannot create a file in " + pathText(m_folder) + ": " + lastSystemError();
    }
    m_temporaries[list] = path;
    m_slots[list] = temporaries::add(path);
    DWORD error = 0;
    while (!bytes.empty() && error == 0) {
        DWORD put = 0;
        const auto ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(file, bytes.data(), ask, &put, nullptr)) {
            error = GetLastError();
        } else {
            bytes.remove_prefix(put);
        }
    }
    if (error == 0 && !FlushFileBuffers(file)) {
        error = GetLastError();
    }
    CloseHandle(file);
    if (error != 0) {
        return "cannot write " + pathText(path) + ": " + errorText(error);
    }
    return std::nullopt;
}

std::optional<std::string> ListFolder::place(std::size_t list, bool swap) {
    const fs::path& target = m_targets[list];
    const fs::path& temporary = m_temporaries[list];
    // ReplaceFileW keeps the old list under the backup name; MoveFileExW
    // without MOVEFILE_REPLACE_EXISTING never replaces a file.
    const bool done =
        swap ? ReplaceFileW(target.c_str(), temporary.c_str(), backupOf(temporary).c_str(),
                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
             : MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (!done) {
        const DWORD error = GetLastError();
        if (exists(error)) {
            return "cannot write " + pathText(target) + ": a list appeared there during the import";
        }
        return "cannot replace " + pathText(target) + ": " + errorText(error);
    }
    if (swap) {
        m_temporaries[list] = backupOf(temporary); // the old list, until it is let go
        temporaries::remove(std::exchange(m_slots[list], temporaries::add(m_temporaries[list])));
    } else {
        m_temporaries[list].clear();
    }
    return std::nullopt;
}

std::optional<std::string> ListFolder::unplace(std::size_t list, bool swap) {
    const fs::path& target = m_targets[list];
    const bool done = swap ? ReplaceFileW(target.c_str(), m_temporaries[list].c_str(), nullptr,
                                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                           : DeleteFileW(target.c_str()) != 0;
    if (!done) {
        return lastSystemError();
    }
    if (swap) {
        m_temporaries[list].clear(); // it is the list again
    }
    return std::nullopt;
}

void cleanUpOnSignals() {
    SetConsoleCtrlHandler(onConsoleSignal, TRUE);
}

} // namespace importer
