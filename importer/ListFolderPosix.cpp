#include "importer/ListFolder.h"

#include "importer/SystemError.h"
#include "importer/TemporaryFiles.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace importer {

namespace fs = std::filesystem;

namespace {

bool unsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP;
}

// rename that never replaces a file: atomic where the file system can, else
// a hard link, which fails on an existing name just the same.
int renameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (!unsupported(errno)) {
        return errno;
    }
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
}

// Swaps two names: atomic where the file system can, else three renames.
int swapNames(const fs::path& a, const fs::path& b) {
    if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0) {
        return 0;
    }
    if (!unsupported(errno)) {
        return errno;
    }
    const fs::path aside = a.string() + ".old.tmp";
    if (::rename(b.c_str(), aside.c_str()) != 0) {
        return errno;
    }
    if (::rename(a.c_str(), b.c_str()) != 0) {
        const int error = errno;
        ::rename(aside.c_str(), b.c_str());
        return error;
    }
    ::rename(aside.c_str(), a.c_str());
    return 0;
}

void onSignal(int signal) {
    temporaries::removeAll();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

ListFolder::Lock ListFolder::lock(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return {kNoLock, "cannot open " + pathText(folder) + ": " + systemError(errno)};
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return {kNoLock, error == EWOULDBLOCK
                             ? std::string()
                             : "cannot lock " + pathText(folder) + ": " + systemError(error)};
    }
    return {fd, {}};
}

void ListFolder::unlock(std::intptr_t handle) {
    ::close(static_cast<int>(handle)); // and with it the lock
}

std::optional<std::string> ListFolder::writeTemporary(std::size_t list, std::string_view bytes) {
    int fd = -1;
    fs::path path;
    for (int n = 0; fd < 0 && n < 100; ++n) {
        path = temporaryName(list, static_cast<unsigned long>(::getpid()), n);
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        return "cannot create a file in " + pathText(m_folder) + ": " + systemError(errno);
    }
    m_temporaries[list] = path;
    m_slots[list] = temporaries::add(path);
    int error = 0;
    while (!bytes.empty() && error == 0) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put == 0 || (put < 0 && errno != EINTR)) {
            error = put == 0 ? EIO : errno;
        } else if (put > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(put));
        }
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        return "cannot write " + pathText(path) + ": " + systemError(error);
    }
    return std::nullopt;
}

std::optional<std::string> ListFolder::place(std::size_t list, bool swap) {
    const fs::path& target = m_targets[list];
    const int error = swap ? swapNames(m_temporaries[list], target)
                           : renameNoReplace(m_temporaries[list], target);
    if (error == EEXIST) {
        return "cannot write " + pathText(target) + ": a list appeared there during the import";
    }
    if (error != 0) {
        return "cannot replace " + pathText(target) + ": " + systemError(error);
    }
    if (!swap) {
        m_temporaries[list].clear(); // moved: nothing of ours is left under that name
    }
    if (list + 1 == m_targets.size()) {
        // The renames themselves reach the disk with the folder.
        ::fsync(static_cast<int>(m_lock));
    }
    return std::nullopt;
}

std::optional<std::string> ListFolder::unplace(std::size_t list, bool swap) {
    const fs::path& target = m_targets[list];
    const int error =
        swap ? swapNames(m_temporaries[list], target) : (::unlink(target.c_str()) == 0 ? 0 : errno);
    if (error != 0) {
        return systemError(error);
    }
    ::fsync(static_cast<int>(m_lock));
    return std::nullopt;
}

void cleanUpOnSignals() {
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGHUP, onSignal);
    // A file size limit then fails the write with EFBIG, reported like any.
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace importer
