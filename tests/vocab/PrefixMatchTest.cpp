#include "vocab/PrefixMatch.h"
#include "vocab/EntryStore.h"

#include <gtest/gtest.h>

namespace {

class PrefixMatchTest : public testing::Test {
protected:
    void SetUp() override {
        m_store.appendList("sheep [5i:p] n.\nship [5ip] n.\nshipment ['5ipm4nt] n.\n"
                           "sad [s1d] adj.\nthank [716k] v.\nsit [sit] v.\nsummer ['s8m4] n.\n"
                           "night [nait] n.\nlight [lait] n.\nshop [53p] n.\n",
                           0);
        m_store.appendList("abc [a\xB0\xA1] x\nabd [a\xB0\xA2] x\nabe [a\xB1\xA1] x\nabf [ab] x\n"
                           "zhong [\xD6\xD0x] x\nzhong2 [\xD6\xD0y] x\n",
                           1);
        m_store.sort();
    }

    std::vector<std::string> match(std::string_view input, bool* longEnough = nullptr) const {
        const auto result = vocab::prefixMatch(m_store, input);
        std::vector<std::string> words;
        std::size_t previous = 0;
        for (std::size_t i : result.indices) {
            EXPECT_TRUE(words.empty() || i > previous) << "indices in store order";
            previous = i;
            words.emplace_back(m_store[i].word);
        }
        if (longEnough) {
            *longEnough = result.anyLongEnough;
        }
        return words;
    }

    vocab::EntryStore m_store;
};

using Words = std::vector<std::string>;

TEST_F(PrefixMatchTest, SelectsEveryKeyThatBeginsWithTheInput) {
    EXPECT_EQ(match("5ip"), (Words{"sheep", "ship", "shipment"}));
    EXPECT_EQ(match("5"), Words{"shop"}) << "one byte: the first match only";
    EXPECT_EQ(match("7"), Words{"thank"}) << "θ folds to s; still only the first";
    EXPECT_EQ(match("s1"), (Words{"thank", "sad"})) << "s and θ sort and match together";
    EXPECT_EQ(match("71"), (Words{"thank", "sad"}));
    EXPECT_EQ(match("nait"), (Words{"night", "light"}));
    EXPECT_EQ(match("lai"), (Words{"night", "light"}));
}

TEST_F(PrefixMatchTest, ReportsWhetherAnyKeyWasLongEnough) {
    bool longEnough = false;
    EXPECT_EQ(match("4'b", &longEnough), Words{}) << "marks are not removed from input";
    EXPECT_TRUE(longEnough);
    EXPECT_EQ(match("zzzzzzzzzzzzzz", &longEnough), Words{});
    EXPECT_FALSE(longEnough) << "longer than every key";
    EXPECT_EQ(match("5ipm4lt", &longEnough), Words{"shipment"});
    EXPECT_TRUE(longEnough);
}

TEST_F(PrefixMatchTest, ComparesWholeCharactersOfTheKey) {
    EXPECT_EQ(match("a\xB0\xA1"), Words{"abc"});
    EXPECT_EQ(match("a\xB0"), (Words{"abc", "abd", "abe"}))
        << "half a character at the end counts as the end, on both sides";
    EXPECT_EQ(match("ab"), Words{"abf"}) << "a key cut inside a character does not match a letter";
    EXPECT_EQ(match("\xD6\xD0"), (Words{"zhong", "zhong2"}))
        << "a single two-byte character is two bytes long: every match";
}

} // namespace
