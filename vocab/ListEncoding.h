#pragma once

#include <cstddef>

namespace vocab {

// How one word list is saved, decided per file: a byte-order mark names a
// Unicode form; otherwise a list whose first code units nearly all have a
// zero byte on one side is UTF-16 of that order; a list that is well-formed
// UTF-8 and has a byte of 0x80 or above is UTF-8; anything else is GBK, read
// as it is.
enum class ListEncoding { Gbk, Utf8, Utf16LE, Utf16BE };

struct DetectedEncoding {
    ListEncoding encoding;
    std::size_t markSize; // the byte-order mark, which is not text
};

} // namespace vocab
