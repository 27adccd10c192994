#pragma once

#include "vocab/BulkAllocator.h"
#include "vocab/ListEncoding.h"
#include "vocab/LoadResult.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace vocab {

[[nodiscard]] DetectedEncoding detectEncoding(std::string_view bytes);

// Unicode lists are converted this many bytes at a time.
inline constexpr std::size_t kConversionPiece = std::size_t{1} << 20;

// Reads the word list at path onto the end of text as GB18030, whatever
// ListEncoding it is saved in, cut at its first Ctrl-Z (noted in ignored when
// more than white space followed); the NUL bytes of what is kept are counted
// in nuls, as no encoding of a list has them. A list that would take text past limit
// bytes, before or after its conversion, is refused as TooLarge; on any
// failure text is as it was. piece is for tests, which cut small.
[[nodiscard]] std::optional<ListFailure> loadList(const std::filesystem::path& path,
                                                  std::size_t list, std::size_t limit, Bytes& text,
                                                  std::vector<IgnoredTail>& ignored,
                                                  std::vector<NulBytes>& nuls,
                                                  std::size_t piece = kConversionPiece);

} // namespace vocab
