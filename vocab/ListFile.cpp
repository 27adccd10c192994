#include "vocab/ListFile.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <new>

#if defined(_WIN32)
#include "vocab/TwoThreads.h"

#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vocab {

ListFailure listFailure(std::size_t list, FailureKind kind, int error) {
    return {list, kind,
            error != 0 ? std::error_code(error, std::generic_category()) : std::error_code()};
}

ListFailure outOfMemory(std::size_t list) {
    return listFailure(list, FailureKind::Unreadable, ENOMEM);
}

#if defined(_WIN32)

struct ListFile::Handle {
    std::filesystem::path path;
    std::ifstream file;
    // The second half of a large read is read through its own stream, on
    // the second thread.
    std::ifstream second;
};

std::optional<ListFailure> ListFile::open(const std::filesystem::path& path, std::size_t list) {
    m_list = list;
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        return listFailure(list, FailureKind::Missing);
    }
    if (std::filesystem::is_directory(status)) {
        return listFailure(list, FailureKind::NotRegularFile, EISDIR);
    }
    if (!std::filesystem::is_regular_file(status)) {
        return listFailure(list, FailureKind::NotRegularFile);
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    m_size = ec ? 0 : size;
    m_handle = std::make_unique<Handle>();
    m_handle->path = path;
    m_handle->file.open(path, std::ios::binary);
    if (!m_handle->file) {
        m_handle.reset();
        return listFailure(list, FailureKind::Unreadable, errno != 0 ? errno : EACCES);
    }
    return std::nullopt;
}

namespace {

constexpr std::size_t kPage = 4096;

// Under Wine a read into pages that were never touched costs about twice what
// our own first write to them does, and a program cannot ask for large pages:
// so a large read's pages are faulted in first, by a write to each.
void faultIn(char* buffer, std::size_t n) {
    for (std::size_t i = 0; i < n; i += kPage) {
        buffer[i] = 0;
    }
}

struct Part {
    std::size_t got = 0;
    bool bad = false;
};

Part readFrom(std::ifstream& file, char* buffer, std::size_t n) {
    faultIn(buffer, n);
    file.read(buffer, static_cast<std::streamsize>(n));
    return {static_cast<std::size_t>(file.gcount()), file.bad()};
}

} // namespace

// A read of 4 MiB or more is read in two halves side by side, each thread
// faulting in and filling its own half: the copy from the system's cache is
// then shared by two cores as well.
std::ptrdiff_t ListFile::read(char* buffer, std::size_t n) {
    constexpr std::size_t kWorth = std::size_t{4} << 20;
    std::ifstream& file = m_handle->file;
    std::ifstream& second = m_handle->second;
    std::size_t got = 0;
    while (got < n) {
        const std::size_t ask = std::min(n - got, m_chunk);
        char* const into = buffer + got;
        const std::streamoff at = ask >= kWorth && worthTwoThreads(ask)
                                      ? static_cast<std::streamoff>(file.tellg())
                                      : std::streamoff{-1};
        if (at >= 0 && !second.is_open()) {
            second.open(m_handle->path, std::ios::binary);
        }
        const bool split = at >= 0 && second.is_open();
        const std::size_t half = split ? ask / 2 / kPage * kPage : ask;
        Part low;
        Part high;
        inParallel(
            split,
            [&] {
                if (!split) {
                    return;
                }
                second.clear();
                second.seekg(at + static_cast<std::streamoff>(half));
                high = second ? readFrom(second, into + half, ask - half) : Part{0, true};
            },
            [&] { low = readFrom(file, into, half); });
        if (low.bad || high.bad) {
            errno = EIO;
            return -1;
        }
        std::size_t read = low.got;
        if (split && low.got == half) {
            // The first stream goes on from where the second stopped.
            read += high.got;
            file.clear();
            file.seekg(at + static_cast<std::streamoff>(read));
        }
        got += read;
        if (read < ask) {
            break; // the end
        }
    }
    return static_cast<std::ptrdiff_t>(got);
}

#else

struct ListFile::Handle {
    int fd;
    ~Handle() { ::close(fd); }
};

std::optional<ListFailure> ListFile::open(const std::filesystem::path& path, std::size_t list) {
    m_list = list;
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        const bool missing = error == ENOENT || error == ENOTDIR;
        return listFailure(list, missing ? FailureKind::Missing : FailureKind::Unreadable, error);
    }
    std::unique_ptr<Handle> handle(new Handle{fd}); // closes fd on every return
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return listFailure(list, FailureKind::Unreadable, errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return listFailure(list, FailureKind::NotRegularFile, EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        return listFailure(list, FailureKind::NotRegularFile);
    }
    m_size = static_cast<std::uintmax_t>(st.st_size);
    m_handle = std::move(handle);
    return std::nullopt;
}

std::ptrdiff_t ListFile::read(char* buffer, std::size_t n) {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(m_handle->fd, buffer + got, std::min(n - got, m_chunk));
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r < 0) {
            return -1;
        }
        if (r == 0) {
            break;
        }
        got += static_cast<std::size_t>(r);
    }
    return static_cast<std::ptrdiff_t>(got);
}

#endif

ListFile::ListFile(std::size_t chunk) : m_chunk(std::max<std::size_t>(chunk, 1)) {}
ListFile::~ListFile() = default;

std::optional<ListFailure> ListFile::readRest(std::size_t room, Bytes& into) {
    constexpr std::size_t kMinChunk = std::size_t{1} << 16;
    const std::size_t old = into.size();
    const std::size_t cap = room + 1; // one byte past the limit shows that it was passed
    const std::size_t expected = static_cast<std::size_t>(std::min<std::uintmax_t>(m_size, cap));
    std::size_t chunk = std::min(cap, std::max(expected + 1, kMinChunk));
    std::size_t got = 0;
    try {
        into.resize(old + chunk);
        for (;;) {
            const std::ptrdiff_t n = read(into.data() + old + got, chunk - got);
            if (n < 0) {
                const int error = errno;
                into.resize(old);
                return listFailure(m_list, FailureKind::Unreadable, error != 0 ? error : EIO);
            }
            got += static_cast<std::size_t>(n);
            if (got < chunk) {
                break; // a short read is the end
            }
            if (chunk == cap) {
                into.resize(old);
                return listFailure(m_list, FailureKind::TooLarge);
            }
            chunk = std::min(cap, chunk * 2);
            into.resize(old + chunk);
        }
    } catch (const std::bad_alloc&) {
        into.resize(old);
        return outOfMemory(m_list);
    }
    into.resize(old + got);
    return std::nullopt;
}

} // namespace vocab
