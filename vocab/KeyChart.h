#pragma once

#include <array>
#include <string_view>

namespace vocab {

// One key of the phonetic font and the IPA symbol its glyph shows.
struct KeyChartEntry {
    char key;
    std::string_view symbol; // UTF-8
};

// The keys that stand for symbols outside ASCII; every other key shows itself.
inline constexpr std::array<KeyChartEntry, 11> kKeyChart{{
    {'1', "æ"},
    {'2', "ɑ"},
    {'3', "ɔ"},
    {'4', "ə"},
    {'5', "ʃ"},
    {'6', "ŋ"},
    {'7', "θ"},
    {'8', "ʌ"},
    {'9', "ʒ"},
    {'0', "ð"},
    {'A', "ɛ"},
}};

} // namespace vocab
