#include "vocab/Mbcs.h"

#include <gtest/gtest.h>

#include <random>

using namespace std::string_view_literals;
using vocab::mbcs::compare;

TEST(Mbcs, CompareFollowsTheRuntimesMultibyteRules) {
    const struct {
        std::string_view a, b;
        int sign;
        const char* why;
    } cases[] = {
        {"ab", "abc", -1, "a prefix sorts first"},
        {"A", "a", -1, "case-sensitive"},
        {"z", "\xB0\xA1", -1, "a two-byte character is worth its 16-bit value"},
        {"\xFF", "\x81\x40", -1, "0xFF is one byte, below every two-byte character"},
        {"\x81\x40", "\x81\x41", -1, "trail bytes decide between equal leads"},
        {"a\x81\x62", "a\x81\x63", -1, "b and c are trail bytes here"},
        {"abc\x81", "abc", 0, "a lead byte at the end ends the string"},
        {"a\x81\0b"sv, "a", 0, "so does a lead byte before a NUL"},
        {"a\0b"sv, "a\0c"sv, 0, "a NUL ends the string"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ((compare(c.a, c.b) > 0) - (compare(c.a, c.b) < 0), c.sign) << c.why;
        EXPECT_EQ((compare(c.b, c.a) > 0) - (compare(c.b, c.a) < 0), -c.sign) << c.why;
    }
    EXPECT_EQ(vocab::mbcs::find("\x81[[", '['), 2u) << "the first [ is a trail byte";
}

// The sort relies on the prefix never contradicting the full comparison.
TEST(Mbcs, SortPrefixAgreesWithCompareOnRandomStrings) {
    const std::string alphabet("abz:'\x40\x5B\x80\x81\xA1\xB0\xFE\xFF\0", 14);
    std::mt19937 random(7);
    auto make = [&] {
        std::string s(random() % 13, ' ');
        for (char& c : s) {
            c = alphabet[random() % alphabet.size()];
        }
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string a = make();
        const std::string b = make();
        const auto pa = vocab::mbcs::sortPrefix(a);
        const auto pb = vocab::mbcs::sortPrefix(b);
        const int order = compare(a, b);
        const bool agrees = (pa.value >= pb.value || order < 0) &&
                            (order >= 0 || pa.value <= pb.value) &&
                            (!pa.complete || !pb.complete || pa.value != pb.value || order == 0);
        ASSERT_TRUE(agrees) << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
    }
}
