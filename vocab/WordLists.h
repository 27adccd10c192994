#pragma once

#include <array>
#include <string_view>

namespace vocab {

struct WordListFile {
    std::string_view fileName; // in the current (or given) folder; UTF-8, as the file system has it
    std::string_view levelTag; // GB18030
};

// The two lists, in the order they are read.
inline constexpr std::array<WordListFile, 2> kWordLists{{
    {"大学四级.txt", "\xA2\xDC"}, // College English Band 4, tagged "④"
    {"大学六级.txt", "\xA2\xDE"}, // College English Band 6, tagged "⑥"
}};

// The phonetic font, found beside the lists or in a data folder.
inline constexpr std::string_view kPhoneticFontFile = "TOPhonetic.ttf";

} // namespace vocab
