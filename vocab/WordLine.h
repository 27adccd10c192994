#pragma once

#include <string_view>

namespace vocab {

// The three parts of one word-list line, as views into that line:
// word, one space, "[", transcription, "]", one space, meaning.
struct WordLine {
    std::string_view word;
    std::string_view phonetic;
    std::string_view meaning;

    // line excludes its line end. Nothing is ever rejected and no byte is
    // lost: a missing "[" makes the whole line the word, a missing "]" runs
    // the transcription to the end, and doubled or missing separators only
    // move the spaces that are trimmed.
    [[nodiscard]] static WordLine parse(std::string_view line);
};

} // namespace vocab
