#include "codec/Utf8.h"
#include "codec/Codec.h"

#include <cstdint>
#include <cstring>

namespace codec {

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        // Lists are mostly ASCII: eight bytes at a time while no high bit is set.
        std::uint64_t eight;
        if (i + sizeof eight <= text.size() && (std::memcpy(&eight, text.data() + i, sizeof eight),
                                                (eight & 0x8080808080808080u) == 0)) {
            i += sizeof eight;
            continue;
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
