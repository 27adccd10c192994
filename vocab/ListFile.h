#pragma once

#include "vocab/BulkAllocator.h"
#include "vocab/LoadResult.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace vocab {

// The most one system read asks for: Windows' C runtime refuses a read of
// more than INT_MAX bytes, and a list may be up to 4 GiB.
inline constexpr std::size_t kReadChunk = std::size_t{64} << 20;

// A word list opened for reading. Nothing but a regular file is opened, and
// opening never waits (a FIFO is refused at once).
class ListFile {
public:
    // chunk: the most one system read asks for; tests make it small.
    explicit ListFile(std::size_t chunk = kReadChunk);
    ~ListFile();
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;

    [[nodiscard]] std::optional<ListFailure> open(const std::filesystem::path& path,
                                                  std::size_t list);
    // The size the system gives, which a file that grows may pass.
    [[nodiscard]] std::uintmax_t size() const { return m_size; }
    // Reads up to n bytes, of any size, fewer only at the end: how many, or
    // -1 on an error with errno set. The rest of buffer is not kept.
    std::ptrdiff_t read(char* buffer, std::size_t n);
    // Reads the rest of the file onto the end of into, taking it no more than
    // room bytes further; a read stops one byte past room, so a file that
    // grows is refused too. On failure into is as it was.
    [[nodiscard]] std::optional<ListFailure> readRest(std::size_t room, Bytes& into);

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
    std::uintmax_t m_size = 0;
    std::size_t m_list = 0;
    std::size_t m_chunk;
};

[[nodiscard]] ListFailure listFailure(std::size_t list, FailureKind kind, int error = 0);
// The failure of a list that memory ran out for.
[[nodiscard]] ListFailure outOfMemory(std::size_t list);

} // namespace vocab
