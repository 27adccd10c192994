#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversion between the GBK bytes (code page 936) that the word lists and the
// vocabulary core hold and the UTF-8 of the window and the terminal. This is
// the only place where text changes encoding.
class GbkCodec {
public:
    // Every byte that does not decode, a lone lead byte at the end included,
    // becomes U+FFFD: nothing is dropped.
    static std::string toUtf8(std::string_view gbk);

    // Empty when the text is not valid UTF-8 or holds a character that GBK
    // cannot hold.
    static std::optional<std::string> fromUtf8(std::string_view utf8);
};
