#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversion between the text of the word lists and of the entry store, which
// is GB18030 (the superset of GBK that holds every Unicode character: a GBK
// list is GB18030 byte for byte), and the UTF-8 or UTF-16 of windows, terminals
// and Unicode lists. This is the only place where text changes encoding; every
// function here runs in time linear in its input, whatever the bytes.
namespace codec {

// Every byte that does not begin a valid character, a lone lead byte at the
// end included, becomes U+FFFD: nothing is dropped.
[[nodiscard]] std::string toUtf8(std::string_view gb18030);

// As toUtf8, for windows whose text is UTF-16 (Windows' own).
[[nodiscard]] std::u16string toUtf16(std::string_view gb18030);

// Empty when the text is not well-formed UTF-8.
[[nodiscard]] std::optional<std::string> fromUtf8(std::string_view utf8);

// Text as a window holds it (UTF-16, which may hold a lone surrogate) as the
// store's GB18030; a lone surrogate becomes U+FFFD, so that nothing typed is
// dropped and nothing typed is refused.
[[nodiscard]] std::string fromUtf16(std::u16string_view utf16);

// Between the two Unicode forms of windows and terminals. What is not part of
// a character (a lone surrogate; a byte that begins no UTF-8 character)
// becomes U+FFFD.
[[nodiscard]] std::string utf16ToUtf8(std::u16string_view utf16);
[[nodiscard]] std::u16string utf8ToUtf16(std::string_view utf8);

// The Unicode forms a word list may be saved in.
enum class Unicode { Utf8, Utf16LE, Utf16BE };

// A Unicode text without its byte-order mark, as GB18030. Each byte (UTF-8) or
// code unit (UTF-16) that is not part of a valid character, a lone trailing
// byte included, becomes the byte 0xFF: the store keeps it as a character of
// its own and toUtf8 shows it as U+FFFD.
[[nodiscard]] std::string fromUnicode(std::string_view text, Unicode form);

// True when text is well-formed UTF-8.
[[nodiscard]] bool isUtf8(std::string_view text);

} // namespace codec
