#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The rules of well-formed UTF-8, for code that must not depend on the
// system's converters for them (Windows has none that reports where a bad
// sequence is; iconv's would cost a descriptor per thread).
namespace codec::utf8 {

// The length of the well-formed character that begins at i, 0 when none does:
// overlong forms, surrogates and values past U+10FFFF are not characters.
[[nodiscard]] constexpr std::size_t length(std::string_view s, std::size_t i) {
    const auto at = [&](std::size_t k) -> unsigned {
        return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0x100;
    };
    const unsigned lead = at(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t n = 0;
    unsigned low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at(1) < low || at(1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < n; ++k) {
        if (at(k) < 0x80 || at(k) > 0xBF) {
            return 0;
        }
    }
    return n;
}

// The code point of the well-formed character of n bytes (as length gave)
// at i.
[[nodiscard]] constexpr char32_t decode(std::string_view s, std::size_t i, std::size_t n) {
    const auto lead = static_cast<unsigned char>(s[i]);
    char32_t c = n == 1 ? lead : lead & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) {
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    }
    return c;
}

// One character and its length; a byte that begins none is U+FFFD of length 1.
struct Decoded {
    char32_t c;
    std::size_t length;
};
[[nodiscard]] constexpr Decoded decodeAt(std::string_view s, std::size_t i) {
    const std::size_t n = length(s, i);
    return n == 0 ? Decoded{0xFFFD, 1} : Decoded{decode(s, i, n), n};
}

// Appends the scalar value c (not a surrogate, at most U+10FFFF).
inline void append(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
        return;
    }
    const std::size_t n = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    char bytes[4];
    for (std::size_t k = n - 1; k > 0; --k, c >>= 6) {
        bytes[k] = static_cast<char>(0x80 | (c & 0x3F));
    }
    bytes[0] = static_cast<char>((0xF00u >> n) | c);
    out.append(bytes, n);
}

// How many bytes s begins with that are ASCII (below 0x80), which every
// encoding here keeps as they are: all of s when it is plain ASCII.
[[nodiscard]] std::size_t asciiPrefix(std::string_view s);
[[nodiscard]] inline bool isAscii(std::string_view s) {
    return asciiPrefix(s) == s.size();
}

// Where a text may be cut into pieces no later than at limit without
// splitting a well-formed character: limit itself, or the start of the
// character that straddles it. Bytes that begin no character stand alone, so
// a cut beside them splits nothing.
[[nodiscard]] constexpr std::size_t cutBefore(std::string_view s, std::size_t limit) {
    if (limit >= s.size()) {
        return s.size();
    }
    for (std::size_t back = 1; back <= 3 && back <= limit; ++back) {
        const std::size_t start = limit - back;
        const std::size_t n = length(s, start);
        if (n > back) {
            return start;
        }
        if ((static_cast<unsigned char>(s[start]) & 0xC0) != 0x80) {
            break; // a lead byte or ASCII whose character ends before limit
        }
    }
    return limit;
}

} // namespace codec::utf8
