#include "vocab/WordLine.h"

#include <gtest/gtest.h>

#include <tuple>

// word / transcription / meaning of a line; no byte is lost when separators
// are missing or doubled, and "[", "]" and white space can be the second
// half of a Chinese character.
TEST(WordLine, SplitsWordTranscriptionAndMeaning) {
    const struct {
        std::string_view line, word, phonetic, meaning;
    } cases[] = {
        {"apple [2p4l] n. fruit", "apple", "2p4l", "n. fruit"},
        {"ship [5ip] n. \xB4\xAC \t ", "ship", "5ip", "n. \xB4\xAC"},
        {"", "", "", ""},
        {"apple[2p4l]n. fruit", "apple", "2p4l", "n. fruit"},
        {"apple \t [2p4l] \t  n. fruit", "apple", "2p4l", "n. fruit"},
        {"hello  \t", "hello", "", ""},
        {"x]y [ab] c", "x]y", "ab", "c"},
        {"word [ab  \t", "word", "ab", ""},
        {"[ab] c", "", "ab", "c"},
        {"a [b] [c] d", "a", "b", "[c] d"},
        {"x\xD6[y [ab] c", "x\xD6[y", "ab", "c"},
        {"w [a\x81]b] c", "w", "a\x81]b", "c"},
        {"w [a] c\x81 ", "w", "a", "c\x81 "},
        {"w\x81 [a] c\x81", "w\x81 ", "a", "c\x81"},
    };
    for (const auto& c : cases) {
        const auto parts = vocab::WordLine::parse(c.line);
        EXPECT_EQ(std::tuple(parts.word, parts.phonetic, parts.meaning),
                  std::tuple(c.word, c.phonetic, c.meaning))
            << testing::PrintToString(std::string(c.line));
    }
}
