#include "vocab/Mbcs.h"
#include "codec/Codec.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

using namespace std::string_view_literals;
using vocab::mbcs::compare;

// Up to twelve bytes of alphabet, at random.
static std::string randomString(std::mt19937& random, std::string_view alphabet) {
    std::string s(random() % 13, ' ');
    for (char& c : s) {
        c = alphabet[random() % alphabet.size()];
    }
    return s;
}

TEST(Mbcs, CompareFollowsTheRuntimesMultibyteRules) {
    const std::tuple<std::string_view, std::string_view, int, const char*> cases[] = {
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
    for (const auto& [a, b, sign, why] : cases) {
        EXPECT_EQ((compare(a, b) > 0) - (compare(a, b) < 0), sign) << why;
        EXPECT_EQ((compare(b, a) > 0) - (compare(b, a) < 0), -sign) << why;
    }
    EXPECT_EQ(vocab::mbcs::find("\x81[[", '['), 2u) << "the first [ is a trail byte";
}

// A prefix of whole characters, GB18030's four-byte ones one each: cut
// anywhere it says, the two sides convert to what the whole does.
TEST(Mbcs, PrefixOfCharsNeverSplitsACharacter) {
    const std::string alphabet = "a09\x81\x84\x94\xFC\xFE\xFF\x40";
    std::mt19937 random(5);
    for (int round = 0; round < 5000; ++round) {
        const std::string s = randomString(random, alphabet);
        const std::u16string whole = codec::toUtf16(s);
        for (std::size_t n = 0, last = 0; last < s.size(); ++n) {
            const std::size_t cut = vocab::mbcs::prefixOfChars(s, n + 1);
            ASSERT_TRUE(cut > last && cut - last <= 4) << testing::PrintToString(s) << n;
            ASSERT_EQ(codec::toUtf16(s.substr(0, cut)) + codec::toUtf16(s.substr(cut)), whole)
                << testing::PrintToString(s) << " cut at " << cut;
            last = cut;
        }
    }
    EXPECT_EQ(vocab::mbcs::prefixOfChars("\x94\x39\xFC\x36\xB4\xAC"
                                         "a",
                                         2),
              6u);
}

// The sort relies on the prefix never contradicting the full comparison.
TEST(Mbcs, SortPrefixAgreesWithCompareOnRandomStrings) {
    const std::string alphabet("abz:'\x40\x5B\x80\x81\xA1\xB0\xFE\xFF\0", 14);
    std::mt19937 random(7);
    for (int round = 0; round < 20000; ++round) {
        const std::string a = randomString(random, alphabet);
        const std::string b = randomString(random, alphabet);
        const auto pa = vocab::mbcs::sortPrefix(a);
        const auto pb = vocab::mbcs::sortPrefix(b);
        const int order = compare(a, b);
        const bool agrees = (pa.value >= pb.value || order < 0) &&
                            (order >= 0 || pa.value <= pb.value) &&
                            (!pa.complete || !pb.complete || pa.value != pb.value || order == 0);
        ASSERT_TRUE(agrees) << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
    }
}
