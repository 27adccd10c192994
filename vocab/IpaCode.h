#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace vocab {

// A transcription in IPA, as dictionaries write it, turned into the keyboard
// code of the phonetic font that the word lists carry between "[" and "]".
struct IpaCode {
    std::string code; // ASCII
    // The characters that have no key, each with how often it came; a byte
    // that is not UTF-8 counts as U+FFFD.
    std::map<char32_t, std::size_t> dropped;
};

// Strips surrounding white space and one pair of enclosing "/" or "[ ]", then
// maps the rest character by character. A secondary stress mark is kept (as
// ",") only at the very start: anywhere else a comma would cut the sound key.
[[nodiscard]] IpaCode ipaCode(std::string_view utf8);

// Whether text a learner typed or pasted is IPA rather than the keyboard
// code: it is enclosed in "/ /" or "[ ]", or holds a symbol of the IPA table.
[[nodiscard]] bool looksLikeIpa(std::string_view utf8);

// IPA a learner typed or pasted as the keys of the code, for searching: "/ /"
// or "[ ]" taken off, every symbol the table knows as its keys, the stress,
// length and syllable marks dropped (no key holds them), and anything else
// kept as it is, so that what no key stands for still finds nothing.
[[nodiscard]] std::string ipaKeys(std::string_view utf8);

// text without the white space (space, tab, CR, LF, VT, FF) at either end.
[[nodiscard]] std::string_view trimmed(std::string_view text);

} // namespace vocab
