#include "vocab/ByteScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

// The word-at-a-time scans agree with the standard byte-at-a-time ones at
// every alignment and any length: bytes with the high bit set or not, a byte
// that is most of the text (past one sum's 255 words), a rare one, none.
TEST(ByteScan, FindAndCountAgreeWithTheStandardOnes) {
    std::mt19937 random(7);
    std::string bytes(5000, 'a');
    for (char& c : bytes) {
        c = random() % 4 != 0 ? 'a' : "\n\0\x1A\x80\xFF"[random() % 5];
    }
    for (std::size_t begin = 0; begin < 16; ++begin) {
        for (std::size_t end = begin; end <= bytes.size(); end += end < begin + 64 ? 1 : 37) {
            const char* const b = bytes.data() + begin;
            const char* const e = bytes.data() + end;
            for (const char c : {'a', '\n', '\0', '\x1A', '\xFF', 'z'}) {
                ASSERT_EQ(vocab::findByte(b, e, c), std::find(b, e, c)) << begin << '-' << end;
                ASSERT_EQ(vocab::countByte(b, e, c), static_cast<std::size_t>(std::count(b, e, c)))
                    << begin << '-' << end;
            }
        }
    }
}
