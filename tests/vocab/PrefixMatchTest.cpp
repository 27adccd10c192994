#include "vocab/PrefixMatch.h"
#include "vocab/EntryStore.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(PrefixMatch, SelectsEveryKeyThatBeginsWithTheFoldedInput) {
    vocab::EntryStore store;
    ASSERT_TRUE(
        store.appendList("sheep [5i:p]\nship [5ip]\nshipment ['5ipm4nt]\nsad [s1d]\nthank [716k]\n"
                         "night [nait]\nlight [lait]\nshop [53p]\nshipmentless [5ipm4ntl4s]\n",
                         0));
    ASSERT_TRUE(store.appendList("abc [a\xB0\xA1]\nabd [a\xB0\xA2]\nabe [a\xB1\xA1]\nabf [ab]\nzh "
                                 "[\xD6\xD0x]\nzh2 [\xD6\xD0y]\n",
                                 1));
    store.sort();
    const std::tuple<std::string_view, std::vector<std::string>, bool, const char*> cases[] = {
        {"5ip", {"sheep", "ship", "shipment", "shipmentless"}, true, "a run in key order"},
        {"5ipm4ntl4", {"shipmentless"}, true, "past the eight bytes kept with each entry"},
        {"5", {"shop"}, true, "one byte: the first match only"},
        {"7", {"thank"}, true, "θ folds to s; still only the first"},
        {"71", {"thank", "sad"}, true, "s and θ match together"},
        {"nai", {"night", "light"}, true, "n and l match together"},
        {"4'b", {}, true, "marks are not removed from input"},
        {"5ipm4nt5ipm4nt", {}, false, "longer than every key"},
        {"a\xB0", {"abc", "abd", "abe"}, true, "half a character at the end ends both sides"},
        {"ab", {"abf"}, true, "a key cut inside a character does not match a letter"},
        {"\xD6\xD0", {"zh", "zh2"}, true, "one two-byte character is two bytes: every match"},
    };
    for (const auto& [input, expected, longEnough, why] : cases) {
        const auto result = vocab::prefixMatch(store, input);
        std::vector<std::string> words;
        for (std::size_t i : result.indices) {
            words.emplace_back(store[i].word);
        }
        EXPECT_EQ(words, expected) << why;
        EXPECT_EQ(result.anyLongEnough, longEnough) << why;
    }
}
