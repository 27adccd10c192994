#pragma once

#include <string>
#include <string_view>

// GB18030's four-byte codes by arithmetic and a generated table of runs, for
// systems whose converters lack GB18030 (Wine has no code page 54936). The
// runs come from iconv at build time, so this part and the Linux codec agree.
namespace codec::gb18030 {

// Appends the four-byte code of c and returns true when GB18030 gives c one;
// false, and nothing appended, when c has a one- or two-byte code or is no
// scalar value.
bool appendFourBytes(char32_t c, std::string& out);

// Appends the four-byte code that follows from c's place above the Basic
// Multilingual Plane (U+10000 to U+10FFFF), even for the few characters
// there that have a two-byte code too: every decoder takes it, iconv's too.
void appendAbovePlane(char32_t c, std::string& out);

// The character of the four-byte code (b0 0x81-0xFE, b1 0x30-0x39, b2
// 0x81-0xFE, b3 0x30-0x39); 0 when the code stands for none.
[[nodiscard]] char32_t decodeFourBytes(std::string_view code);

} // namespace codec::gb18030
