#include "vocab/Mbcs.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vocab::mbcs {

bool isPlain(std::string_view s) {
    // Eight bytes at a time: no high bit, and no zero byte.
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t v;
        std::memcpy(&v, s.data() + i, 8);
        if (((v | ((v - kOnes) & ~v)) & kHighs) != 0) {
            return false;
        }
    }
    for (; i < s.size(); ++i) {
        if (static_cast<unsigned char>(s[i] - 1) >= 0x7F) {
            return false;
        }
    }
    return true;
}

std::size_t prefixOfChars(std::string_view s, std::size_t count) {
    const auto lead = [&](std::size_t i) { return isLeadByte(static_cast<unsigned char>(s[i])); };
    const auto digit = [&](std::size_t i) { return s[i] >= '0' && s[i] <= '9'; };
    std::size_t i = 0;
    for (; i < s.size() && count > 0; --count) {
        const bool fourBytes =
            i + 3 < s.size() && lead(i) && digit(i + 1) && lead(i + 2) && digit(i + 3);
        i += fourBytes ? 4 : charLength(s, i);
    }
    return i;
}

std::size_t find(std::string_view s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size(); i += charLength(s, i)) {
        if (s[i] == c && charLength(s, i) == 1) {
            return i;
        }
    }
    return std::string_view::npos;
}

namespace {

// The value of the character at pos, advancing pos past it; 0 at the end.
unsigned nextChar(std::string_view s, std::size_t& pos) {
    if (pos >= s.size()) {
        return 0;
    }
    const auto c = static_cast<unsigned char>(s[pos]);
    if (charLength(s, pos) == 1) {
        ++pos;
        // A lead byte with nothing after it ends the string.
        return isLeadByte(c) ? 0 : c;
    }
    if (s[pos + 1] == '\0') {
        pos = s.size();
        return 0;
    }
    const auto trail = static_cast<unsigned char>(s[pos + 1]);
    pos += 2;
    return (unsigned{c} << 8) | trail;
}

// The eight bytes as read from memory, first byte highest.
std::uint64_t bigEndian(std::uint64_t bytes) {
    if constexpr (std::endian::native == std::endian::little) {
        return __builtin_bswap64(bytes);
    } else {
        return bytes;
    }
}

} // namespace

int compare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        const unsigned ca = nextChar(a, i);
        const unsigned cb = nextChar(b, j);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        if (ca == 0) {
            return 0;
        }
    }
}

SortPrefix sortChunk(std::string_view s, std::size_t index) {
    // Characters become bytes whose plain order is the order of their values:
    // one-byte characters 0x01-0x80 stay, 0xFF (a one-byte character whose
    // value still lies below every two-byte one) becomes 0x81, and a two-byte
    // character becomes lead + 1 followed by its trail byte. Zero is the end.
    const std::size_t first = 8 * index;
    std::uint64_t value = 0;
    // Keys are nearly always plain ASCII without NUL, which encodes as itself.
    const std::size_t upTo = std::min(s.size(), first + 8);
    if (isPlain(s.substr(0, upTo))) {
        if (upTo > first) {
            std::uint64_t bytes = 0;
            std::memcpy(&bytes, s.data() + first, upTo - first);
            value = bigEndian(bytes);
        }
        return {value, s.size() <= first + 8};
    }
    std::size_t at = 0; // bytes of the whole encoding so far
    std::size_t pos = 0;
    auto put = [&](unsigned byte) {
        if (at >= first && at - first < 8) {
            value |= std::uint64_t{byte} << (8 * (7 - (at - first)));
        }
        ++at;
    };
    while (at <= first + 8) {
        const unsigned c = nextChar(s, pos);
        if (c == 0) {
            return {value, true};
        }
        if (c > 0xFF) {
            put((c >> 8) + 1);
            put(c & 0xFF);
        } else {
            put(c == 0xFF ? 0x81 : c);
        }
    }
    return {value, false};
}

SortPrefix sortPrefix(std::string_view s) {
    return sortChunk(s, 0);
}

} // namespace vocab::mbcs
