#include "vocab/SoundKey.h"

#include "vocab/WordLine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

TEST(SoundKey, DropsMarksAndFoldsConfusedSounds) {
    const std::tuple<std::string_view, std::string_view, const char*> cases[] = {
        {"4'b1nd4n", "4b1ld4l", "stress dropped, n folded to l"},
        {"7in", "sil", "θ folds to s"},
        {"on0", "olz", "ð folds to z, anywhere"},
        {"ri:d,red", "rid", "only the first pronunciation"},
        {",ab,cd", "abcd", "a leading comma is a secondary stress: no comma cuts"},
        {"k4m 'b2k", "k4mb2k", "spaces dropped"},
        {"\x81n\x81\x37\x81\x30", "\x81n\x81\x37\x81\x30",
         "n, 7 and 0 as trail bytes are not folded"},
        {"a\x81,b\x81:", "a\x81,b\x81:", "a comma or colon as a trail byte neither cuts nor goes"},
        {"n\x81", "l\x81", "a lone lead byte at the end is kept"},
    };
    for (const auto& [phonetic, key, why] : cases) {
        EXPECT_EQ(vocab::soundKey(phonetic), key) << why;
    }
}

TEST(SoundKey, InputIsFoldedButKeepsItsMarks) {
    EXPECT_EQ(vocab::foldInput("0n7"), "zls");
    EXPECT_EQ(vocab::foldInput("4'b k:,"), "4'b k:,");
    EXPECT_EQ(vocab::foldInput("\x81n n"), "\x81n l");
}

TEST(SoundKey, OfALineIsTheKeyOfItsTranscription) {
    // Brackets, commas, white space and lead bytes in every place, a
    // transcription with and without its "]".
    const std::string alphabet = "[] \t\r,':n70a\x81\xFE\xFF";
    std::mt19937 random(3);
    for (int i = 0; i < 200000; ++i) {
        std::string line(random() % 16, ' ');
        for (char& c : line) {
            c = alphabet[random() % alphabet.size()];
        }
        std::string out(line.size(), '\0');
        out.resize(vocab::writeLineSoundKey(line, out.data()));
        ASSERT_EQ(out, vocab::soundKey(vocab::WordLine::parse(line).phonetic)) << line;
    }
}

// word / transcription / meaning of a line; no byte is lost when separators
// are missing or doubled, and "[", "]" and white space can be the second
// half of a Chinese character.
TEST(WordLine, SplitsWordTranscriptionAndMeaning) {
    const std::tuple<std::string_view, std::string_view, std::string_view, std::string_view>
        cases[] = {
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
    for (const auto& [line, word, phonetic, meaning] : cases) {
        const auto parts = vocab::WordLine::parse(line);
        EXPECT_EQ(std::tuple(parts.word, parts.phonetic, parts.meaning),
                  std::tuple(word, phonetic, meaning))
            << testing::PrintToString(std::string(line));
    }
}
