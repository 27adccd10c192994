#pragma once
// Character-wise helpers for the store's GB18030 byte strings, walked by code
// page 936's rule (GB18030's four-byte codes are two such pairs).
//
// A lead byte (0x81-0xFE) takes the byte after it as its second half, whatever
// that byte is, so "[", "]" or "n" can be the second half of a Chinese
// character. Every search here walks whole characters for that reason.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vocab::mbcs {

constexpr bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// Length in bytes of the character that starts at pos (pos < s.size()).
// A lead byte at the very end is a one-byte character of its own.
constexpr std::size_t charLength(std::string_view s, std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() ? 2 : 1;
}

// True when every byte of s lies in 0x01-0x7F: ASCII without NUL, where every
// byte is a character and sortPrefix holds the bytes as they are.
[[nodiscard]] bool isPlain(std::string_view s);

// The length in bytes of the first count characters of s (all of s when it
// has fewer), where GB18030's four-byte characters (lead, digit, lead, digit),
// which a Unicode list brings, count as one.
[[nodiscard]] std::size_t prefixOfChars(std::string_view s, std::size_t count);

// Byte position of the first single-byte character c at or after from
// (a character boundary), or npos.
[[nodiscard]] std::size_t find(std::string_view s, char c, std::size_t from = 0);

// Three-way comparison with the rules of the C runtime's _mbscmp: character by
// character, a two-byte character counting as its 16-bit value (lead byte
// high); a NUL, and a lead byte with nothing (or a NUL) after it, end the
// string.
[[nodiscard]] int compare(std::string_view a, std::string_view b);

// A big-endian 64-bit value whose unsigned order agrees with compare() for the
// first few characters: compare(a, b) < 0 implies sortPrefix(a) <= sortPrefix(b),
// and sortPrefix(a) < sortPrefix(b) implies compare(a, b) < 0. When complete
// is set, the value holds the whole string and equal values mean equal strings.
struct SortPrefix {
    std::uint64_t value = 0;
    bool complete = false;
};
[[nodiscard]] SortPrefix sortPrefix(std::string_view s);

// The same for the eight bytes of that encoding that follow the first 8 *
// index: comparing chunk 0, then chunk 1, ... orders strings as compare() does.
// complete is set when the string ends within the chunk (or before it, when
// the value is 0).
[[nodiscard]] SortPrefix sortChunk(std::string_view s, std::size_t index);

} // namespace vocab::mbcs
