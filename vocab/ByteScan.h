#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Finding and counting a byte in megabytes of list text, eight bytes at a
// time: Windows' C runtime memchr, like std::count everywhere, looks at one
// byte at a time, which costs a million-entry load tens of milliseconds.
namespace vocab {

namespace scan {

inline constexpr std::uint64_t kOnes = 0x0101010101010101u;
inline constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;

// The high bit of each of the eight bytes at p that equals pattern's byte,
// and no other bit (exact: no carry passes from one byte to the next).
inline std::uint64_t matches(const char* p, std::uint64_t pattern) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    word ^= pattern;
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// Which of the eight bytes is the first that matches (found is not 0).
inline std::size_t firstMatch(std::uint64_t found) {
    const int bits = std::endian::native == std::endian::little ? std::countr_zero(found)
                                                                : std::countl_zero(found);
    return static_cast<std::size_t>(bits) / 8;
}

inline std::uint64_t pattern(char c) {
    return kOnes * static_cast<unsigned char>(c);
}

} // namespace scan

// The first c in [p, end), or end.
inline const char* findByte(const char* p, const char* end, char c) {
    const std::uint64_t pattern = scan::pattern(c);
    for (; end - p >= 16; p += 16) {
        const std::uint64_t low = scan::matches(p, pattern);
        const std::uint64_t high = scan::matches(p + 8, pattern);
        if (low != 0) {
            return p + scan::firstMatch(low);
        }
        if (high != 0) {
            return p + 8 + scan::firstMatch(high);
        }
    }
    for (; p < end; ++p) {
        if (*p == c) {
            return p;
        }
    }
    return end;
}

// How many c there are in [p, end).
inline std::size_t countByte(const char* p, const char* end, char c) {
    const std::uint64_t pattern = scan::pattern(c);
    std::size_t n = 0;
    while (end - p >= 8) {
        // Up to 255 words are counted in the eight bytes of one sum.
        std::uint64_t sums = 0;
        for (int i = 0; i < 255 && end - p >= 8; ++i, p += 8) {
            sums += scan::matches(p, pattern) >> 7;
        }
        // The eight sums, up to 2,040 together, added in four 16-bit lanes.
        constexpr std::uint64_t kEven = 0x00FF00FF00FF00FFu;
        const std::uint64_t pairs = (sums & kEven) + (sums >> 8 & kEven);
        n += static_cast<std::size_t>((pairs * 0x0001000100010001u) >> 48);
    }
    for (; p < end; ++p) {
        n += *p == c ? 1 : 0;
    }
    return n;
}

} // namespace vocab
