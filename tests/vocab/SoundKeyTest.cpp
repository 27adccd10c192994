#include "vocab/SoundKey.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    std::string_view phonetic;
    std::string_view key;
    const char* why;
};

TEST(SoundKey, DropsMarksAndFoldsConfusedSounds) {
    const KeyCase cases[] = {
        {"4'b1nd4n", "4b1ld4l", "stress dropped, n folded to l"},
        {"7in", "sil", "θ folds to s"},
        {"0is", "zis", "ð folds to z"},
        {"on0", "olz", "folds anywhere"},
        {"ri:d,red", "rid", "only the first pronunciation, cut before the colon goes"},
        {",ab", "ab", "a leading comma is a secondary stress"},
        {",ab,cd", "abcd", "after a leading comma no comma cuts"},
        {"n,l", "l", "a comma after the start cuts"},
        {"k4m 'b2k", "k4mb2k", "spaces dropped"},
        {",1k4'demik", "1k4demik", "secondary and primary stress dropped"},
        {"A1", "A1", "A and digits other than 0 and 7 stay"},
        {"", "", "empty"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vocab::soundKey(c.phonetic), c.key) << c.why;
    }
}

TEST(SoundKey, LeavesTheSecondHalfOfACharacterAlone) {
    const KeyCase cases[] = {
        {"\x81n", "\x81n", "n as a trail byte is not folded"},
        {"\x81"
         "7\x81"
         "0",
         "\x81"
         "7\x81"
         "0",
         "7 and 0 as trail bytes are not folded"},
        {"a\x81,b", "a\x81,b", "a comma as a trail byte neither cuts nor goes"},
        {"\x81:\x81'\x81 ", "\x81:\x81'\x81 ", "marks as trail bytes stay"},
        {"n\x81", "l\x81", "a lone lead byte at the end is kept"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vocab::soundKey(c.phonetic), c.key) << c.why;
    }
}

TEST(SoundKey, InputIsFoldedButKeepsItsMarks) {
    EXPECT_EQ(vocab::foldInput("7"), "s");
    EXPECT_EQ(vocab::foldInput("0n7"), "zls");
    EXPECT_EQ(vocab::foldInput("4'b"), "4'b");
    EXPECT_EQ(vocab::foldInput("k4m b:,"), "k4m b:,");
    EXPECT_EQ(vocab::foldInput("\x81n n"), "\x81n l");
}

} // namespace
