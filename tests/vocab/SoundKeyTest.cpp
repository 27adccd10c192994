#include "vocab/SoundKey.h"

#include "vocab/WordLine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

TEST(SoundKey, DropsMarksAndFoldsConfusedSounds) {
    const struct {
        std::string_view phonetic, key;
        const char* why;
    } cases[] = {
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
    for (const auto& c : cases) {
        EXPECT_EQ(vocab::soundKey(c.phonetic), c.key) << c.why;
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
