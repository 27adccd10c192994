#include "importer/CsvInput.h"

#include "importer/SystemError.h"

#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace importer {

CsvInput::CsvInput(std::intptr_t handle, bool owned, std::string name)
    : m_handle(handle), m_owned(owned), m_name(std::move(name)) {}

CsvInput::CsvInput(CsvInput&& other) noexcept
    : m_handle(other.m_handle), m_owned(std::exchange(other.m_owned, false)),
      m_name(std::move(other.m_name)) {}

#if defined(_WIN32)

CsvInput::~CsvInput() {
    if (m_owned) {
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    }
}

CsvInput::Opened CsvInput::open(const std::filesystem::path& path) {
    const std::string name = pathText(path);
    if (path == "-") {
        return {CsvInput(reinterpret_cast<std::intptr_t>(GetStdHandle(STD_INPUT_HANDLE)), false,
                         "standard input"),
                {}};
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return {std::nullopt, name + " is not a regular file"};
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {std::nullopt, "cannot open " + name + ": " + lastSystemError()};
    }
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return {std::nullopt, name + " is not a regular file"};
    }
    return {CsvInput(reinterpret_cast<std::intptr_t>(file), true, name), {}};
}

ReadResult CsvInput::read(char* buffer, std::size_t size) {
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer, ask, &got, nullptr)) {
        const DWORD error = GetLastError();
        if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
            return {0, {}}; // a pipe's writer is done
        }
        return {0, "cannot read " + m_name + ": " + systemError(static_cast<int>(error))};
    }
    return {got, {}};
}

#else

CsvInput::~CsvInput() {
    if (m_owned) {
        ::close(static_cast<int>(m_handle));
    }
}

CsvInput::Opened CsvInput::open(const std::filesystem::path& path) {
    const std::string name = pathText(path);
    const bool standardInput = path == "-";
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
    const int fd = standardInput
                       ? STDIN_FILENO
                       : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return {std::nullopt, "cannot open " + name + ": " + systemError(errno)};
    }
    CsvInput input(fd, !standardInput, standardInput ? "standard input" : name);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return {std::nullopt, "cannot read " + input.m_name + ": " + systemError(errno)};
    }
    // O_NONBLOCK stays set: a regular file, the one kind read, ignores it.
    if (!standardInput && !S_ISREG(st.st_mode)) {
        return {std::nullopt, name + " is not a regular file"};
    }
    return {std::move(input), {}};
}

ReadResult CsvInput::read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(m_handle), buffer, size);
        if (got >= 0) {
            return {static_cast<std::size_t>(got), {}};
        }
        if (errno != EINTR) {
            return {0, "cannot read " + m_name + ": " + systemError(errno)};
        }
    }
}

#endif

} // namespace importer
