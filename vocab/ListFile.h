#pragma once

#include "vocab/BulkAllocator.h"
#include "vocab/LoadResult.h"

#include <cstddef>
#include <filesystem>
#include <optional>

namespace vocab {

// Reads the word list at path whole onto the end of into. Nothing but a
// regular file is read, and opening never waits (a FIFO is refused at once);
// a file that would take into past limit bytes is refused from its size, and
// no read goes more than one byte past the limit, so a file that grows while
// it is read is refused too. On failure into is as it was.
[[nodiscard]] std::optional<ListFailure>
readListFile(const std::filesystem::path& path, std::size_t list, std::size_t limit, Bytes& into);

} // namespace vocab
