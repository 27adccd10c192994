#include "codec/Utf8.h"
#include "codec/Codec.h"

#include <cstdint>
#include <cstring>

namespace codec {

std::size_t utf8::asciiPrefix(std::string_view s) {
    // Lists are mostly ASCII: eight bytes at a time while no high bit is set.
    std::size_t i = 0;
    for (std::uint64_t eight; i + sizeof eight <= s.size(); i += sizeof eight) {
        std::memcpy(&eight, s.data() + i, sizeof eight);
        if ((eight & 0x8080808080808080u) != 0) {
            break;
        }
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) {
        ++i;
    }
    return i;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        i += utf8::asciiPrefix(text.substr(i));
        if (i == text.size()) {
            break;
        }
        const std::size_t n = utf8::length(text, i);
        if (n == 0) {
            return false;
        }
        i += n;
    }
    return true;
}

} // namespace codec
