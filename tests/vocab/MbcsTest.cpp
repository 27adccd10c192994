#include "vocab/Mbcs.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace std::string_view_literals;
using vocab::mbcs::compare;
using vocab::mbcs::sortPrefix;

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

struct CompareCase {
    std::string_view a;
    std::string_view b;
    int expected;
    const char* why;
};

TEST(Mbcs, CompareFollowsTheRuntimesMultibyteRules) {
    const CompareCase cases[] = {
        {"abc", "abc", 0, "equal"},
        {"ab", "abc", -1, "a prefix sorts first"},
        {"", "a", -1, "the empty string sorts first"},
        {"A", "a", -1, "case-sensitive: A (0x41) before a"},
        {"z", "\xB0\xA1", -1, "a two-byte character is worth its 16-bit value"},
        {"\xFF", "\x81\x40", -1, "0xFF is a one-byte character below every two-byte one"},
        {"\x80", "\xFF", -1, "one-byte characters in byte order"},
        {"\x81\x40", "\x81\x41", -1, "trail bytes decide between equal leads"},
        {"abc\x81", "abc", 0, "a lead byte at the end ends the string"},
        {"a\x81\0b"sv, "a", 0, "a lead byte before a NUL ends the string"},
        {"a\0b"sv, "a\0c"sv, 0, "a NUL ends the string"},
        {"a\x81"
         "b",
         "a\x81"
         "c",
         -1, "b and c are trail bytes here"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sign(compare(c.a, c.b)), c.expected) << c.why;
        EXPECT_EQ(sign(compare(c.b, c.a)), -c.expected) << c.why << " (swapped)";
    }
}

TEST(Mbcs, FindNeverMatchesTheSecondHalfOfACharacter) {
    EXPECT_EQ(vocab::mbcs::find("\x81[[", '['), 2u);
    EXPECT_EQ(vocab::mbcs::find("\x81]", ']'), std::string_view::npos);
    EXPECT_EQ(vocab::mbcs::find("ab,", ','), 2u);
    EXPECT_EQ(vocab::mbcs::find("ab\x81", '\x81'), 2u)
        << "a lone lead byte at the end is a character";
}

// The sort relies on the prefix never contradicting the full comparison.
TEST(Mbcs, SortPrefixAgreesWithCompareOnRandomStrings) {
    const std::string alphabet = std::string("abz:'\x40\x5B\x80\x81\xA1\xB0\xFE\xFF", 13) + '\0';
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
        const auto pa = sortPrefix(a);
        const auto pb = sortPrefix(b);
        const int order = compare(a, b);
        if (pa.value < pb.value) {
            ASSERT_LT(order, 0) << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
        }
        if (order < 0) {
            ASSERT_LE(pa.value, pb.value)
                << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
        }
        if (pa.complete && pb.complete && pa.value == pb.value) {
            ASSERT_EQ(order, 0) << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
        }
    }
}

} // namespace
