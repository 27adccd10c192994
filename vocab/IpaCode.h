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

} // namespace vocab
