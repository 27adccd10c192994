#pragma once

#include <filesystem>
#include <string>

namespace importer {

// The system's words for an error number (errno; on Windows, a system error
// code), as the command line reports them.
[[nodiscard]] std::string systemError(int error);

// A path as messages show it: UTF-8 on every system.
[[nodiscard]] inline std::string pathText(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

#if defined(_WIN32)
// The same for GetLastError().
[[nodiscard]] std::string lastSystemError();
#endif

} // namespace importer
