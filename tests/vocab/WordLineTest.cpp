#include "vocab/WordLine.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    std::string_view line;
    std::string_view word;
    std::string_view phonetic;
    std::string_view meaning;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << testing::PrintToString(std::string(c.line));
}

class WordLineParse : public testing::TestWithParam<LineCase> {};

TEST_P(WordLineParse, SplitsWordTranscriptionAndMeaning) {
    const auto& c = GetParam();
    const vocab::WordLine parts = vocab::WordLine::parse(c.line);
    EXPECT_EQ(parts.word, c.word);
    EXPECT_EQ(parts.phonetic, c.phonetic);
    EXPECT_EQ(parts.meaning, c.meaning);
}

INSTANTIATE_TEST_SUITE_P(
    WellFormed, WordLineParse,
    testing::Values(LineCase{"apple [2p4l] n. fruit", "apple", "2p4l", "n. fruit"},
                    LineCase{"abandon [4'b1nd4n] v. give up", "abandon", "4'b1nd4n", "v. give up"},
                    LineCase{"ship [5ip] n. \xB4\xAC \t ", "ship", "5ip", "n. \xB4\xAC"},
                    LineCase{"", "", "", ""}));

// Missing or doubled separators lose no byte of the line.
INSTANTIATE_TEST_SUITE_P(
    Malformed, WordLineParse,
    testing::Values(LineCase{"apple[2p4l] n. fruit", "apple", "2p4l", "n. fruit"},
                    LineCase{"apple [2p4l]n. fruit", "apple", "2p4l", "n. fruit"},
                    LineCase{"apple \t [2p4l] \t  n. fruit", "apple", "2p4l", "n. fruit"},
                    LineCase{"hello", "hello", "", ""}, LineCase{"hello  \t", "hello", "", ""},
                    LineCase{"x]y [ab] c", "x]y", "ab", "c"},
                    LineCase{"word [ab", "word", "ab", ""},
                    LineCase{"word [ab  \t", "word", "ab", ""},
                    LineCase{"word [ab]", "word", "ab", ""}, LineCase{"[ab] c", "", "ab", "c"},
                    LineCase{"a [b] [c] d", "a", "b", "[c] d"}, LineCase{"a [] b", "a", "", "b"}));

// A lead byte takes the byte after it, whatever it is: "[", "]", "n" and
// white space can all be the second half of a Chinese character.
INSTANTIATE_TEST_SUITE_P(TrailBytes, WordLineParse,
                         testing::Values(LineCase{"x\xD6[y [ab] c", "x\xD6[y", "ab", "c"},
                                         LineCase{"w [a\x81]b] c", "w", "a\x81]b", "c"},
                                         LineCase{"w [a] c\x81 ", "w", "a", "c\x81 "},
                                         LineCase{"w [a] c\x81\t", "w", "a", "c\x81\t"},
                                         LineCase{"w [a] c\x81", "w", "a", "c\x81"},
                                         LineCase{"w\x81 [a] c", "w\x81 ", "a", "c"},
                                         LineCase{"\x81[\x81]", "\x81[\x81]", "", ""}));

} // namespace
