#include "vocab/ListFile.h"

#include <algorithm>
#include <cerrno>
#include <new>

#if defined(_WIN32)
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vocab {

namespace {

constexpr std::size_t kMinChunk = std::size_t{1} << 16;

ListFailure failure(std::size_t list, FailureKind kind, int error = 0) {
    return {list, kind,
            error != 0 ? std::error_code(error, std::generic_category()) : std::error_code()};
}

// Reads with read(buffer, size) -> bytes read, 0 at the end, -1 on an error
// (errno set), onto the end of into, never asking for more than limit + 1
// bytes in all. expected is the file's size as the system gave it.
template <class Read>
std::optional<ListFailure> readBounded(Read read, std::size_t list, std::size_t expected,
                                       std::size_t room, Bytes& into) {
    const std::size_t old = into.size();
    const std::size_t cap = room + 1; // one byte past the limit shows that it was passed
    std::size_t chunk = std::min(cap, std::max(expected + 1, kMinChunk));
    std::size_t got = 0;
    try {
        into.resize(old + chunk);
        for (;;) {
            const long n = read(into.data() + old + got, chunk - got);
            if (n < 0) {
                const int error = errno;
                into.resize(old);
                return failure(list, FailureKind::Unreadable, error != 0 ? error : EIO);
            }
            if (n == 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
            if (got == chunk) {
                if (chunk == cap) {
                    into.resize(old);
                    return failure(list, FailureKind::TooLarge);
                }
                chunk = std::min(cap, chunk * 2);
                into.resize(old + chunk);
            }
        }
    } catch (const std::bad_alloc&) {
        into.resize(old);
        return failure(list, FailureKind::Unreadable, ENOMEM);
    }
    into.resize(old + got);
    return std::nullopt;
}

} // namespace

#if defined(_WIN32)

std::optional<ListFailure> readListFile(const std::filesystem::path& path, std::size_t list,
                                        std::size_t limit, Bytes& into) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        return failure(list, FailureKind::Missing);
    }
    if (std::filesystem::is_directory(status)) {
        return failure(list, FailureKind::NotRegularFile, EISDIR);
    }
    if (!std::filesystem::is_regular_file(status)) {
        return failure(list, FailureKind::NotRegularFile);
    }
    const std::size_t room = limit > into.size() ? limit - into.size() : 0;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > room) {
        return failure(list, FailureKind::TooLarge);
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return failure(list, FailureKind::Unreadable, errno != 0 ? errno : EACCES);
    }
    auto read = [&file](char* buffer, std::size_t n) -> long {
        file.read(buffer, static_cast<std::streamsize>(n));
        if (file.bad()) {
            errno = EIO;
            return -1;
        }
        return static_cast<long>(file.gcount());
    };
    return readBounded(read, list, ec ? 0 : static_cast<std::size_t>(size), room, into);
}

#else

std::optional<ListFailure> readListFile(const std::filesystem::path& path, std::size_t list,
                                        std::size_t limit, Bytes& into) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer that never comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        const bool missing = error == ENOENT || error == ENOTDIR;
        return failure(list, missing ? FailureKind::Missing : FailureKind::Unreadable, error);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return failure(list, FailureKind::Unreadable, errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return failure(list, FailureKind::NotRegularFile, EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        return failure(list, FailureKind::NotRegularFile);
    }
    const std::size_t room = limit > into.size() ? limit - into.size() : 0;
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    if (size > room) {
        return failure(list, FailureKind::TooLarge);
    }
    auto read = [fd](char* buffer, std::size_t n) -> long {
        for (;;) {
            const ssize_t got = ::read(fd, buffer, n);
            if (got >= 0 || errno != EINTR) {
                return static_cast<long>(got);
            }
        }
    };
    return readBounded(read, list, static_cast<std::size_t>(size), room, into);
}

#endif

} // namespace vocab
