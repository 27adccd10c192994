#include "vocab/EntryStore.h"
#include "support/TempDir.h"
#include "vocab/Mbcs.h"
#include "vocab/WordLists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using vocab::EntryStore;

constexpr std::string_view kBand4 = "\xA2\xDC"; // ④
constexpr std::string_view kBand6 = "\xA2\xDE"; // ⑥
const std::string kList4(vocab::kWordLists[0].fileName);
const std::string kList6(vocab::kWordLists[1].fileName);

std::vector<std::string> words(const EntryStore& store) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < store.size(); ++i) {
        out.emplace_back(store[i].word);
    }
    return out;
}

TEST(EntryStoreLoad, ReadsBothListsInOrderWithTheirTags) {
    TempDir dir;
    dir.write(kList4, "ship [5ip] n. \xB4\xAC\r\nthink [7i6k] v. \xCF\xEB\r\n");
    dir.write(kList6, "shipment ['5ipm4nt] n. \xD7\xB0\xD4\xCB\n");
    EntryStore store;
    const auto result = store.load(dir.path());
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(store.size(), 3u);
    EXPECT_EQ(words(store), (std::vector<std::string>{"ship", "think", "shipment"}));
    const auto think = store[1];
    EXPECT_EQ(think.key, "si6k");
    EXPECT_EQ(think.phonetic, "7i6k");
    EXPECT_EQ(think.meaning, "v. \xCF\xEB");
    EXPECT_EQ(think.level, kBand4);
    EXPECT_EQ(store[2].level, kBand6);
}

struct MissingCase {
    bool band4;
    bool band6;
    std::vector<std::string> messages;
    std::vector<std::string> words;
};

TEST(EntryStoreLoad, NamesEveryListThatCannotBeOpenedAndKeepsTheOther) {
    const std::string missing = ": No such file or directory";
    const MissingCase cases[] = {
        {true, true, {}, {"ship", "shipment"}},
        {true, false, {"cannot open " + kList6 + missing}, {"ship"}},
        {false, true, {"cannot open " + kList4 + missing}, {"shipment"}},
        {false, false, {"cannot open " + kList4 + missing, "cannot open " + kList6 + missing}, {}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (c.band4) {
            dir.write(kList4, "ship [5ip] n.\n");
        }
        if (c.band6) {
            dir.write(kList6, "shipment ['5ipm4nt] n.\n");
        }
        EntryStore store;
        const auto result = store.load(dir.path());
        std::vector<std::string> messages;
        for (const auto& failure : result.failures) {
            messages.push_back(failure.message());
        }
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(result.ok(), c.messages.empty());
        EXPECT_EQ(words(store), c.words);
    }
}

TEST(EntryStoreLoad, AFolderInPlaceOfAListIsAReadFailure) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / std::filesystem::u8path(kList4));
    dir.write(kList6, "a [b] c\n");
    EntryStore store;
    const auto result = store.load(dir.path());
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(result.failures[0].message(), "cannot read " + kList4 + ": Is a directory");
    EXPECT_EQ(words(store), std::vector<std::string>{"a"});
}

struct LinesCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> meanings;
};

// Line ends, Ctrl-Z and blank lines are read as a text-mode file read them.
TEST(EntryStoreAppend, SplitsLinesAsATextFileReadsThem) {
    const LinesCase cases[] = {
        {"CR LF reads as LF", "a [b] c\r\nd [e] f\r\n", {"c", "f"}},
        {"a lone CR stays inside the line", "a [b] c\rd\n", {"c\rd"}},
        {"CRs before the line end are trailing white space", "a [b] c\r\r\n", {"c"}},
        {"the last line needs no line end", "a [b] c\nd [e] f", {"c", "f"}},
        {"Ctrl-Z ends the list",
         "a [b] c\n\x1A"
         "d [e] f\n",
         {"c"}},
        {"Ctrl-Z mid-line ends the list there",
         "a [b] c\x1A"
         "d\n",
         {"c"}},
        {"blank lines are entries", "\n \na [b] c\n", {"", "", "c"}},
        {"an empty list has no entries", "", {}},
        {"a lone line end is one blank entry", "\n", {""}},
    };
    for (const auto& c : cases) {
        EntryStore store;
        ASSERT_TRUE(store.appendList(c.bytes, 0));
        std::vector<std::string> meanings;
        for (std::size_t i = 0; i < store.size(); ++i) {
            meanings.emplace_back(store[i].meaning);
        }
        EXPECT_EQ(meanings, c.meanings) << c.name;
    }
}

TEST(EntryStoreAppend, ALineOfAnyLengthIsOneEntry) {
    for (std::size_t length : {698u, 699u, 700u, 1000u, 100000u}) {
        const std::string meaning(length - 8, 'm');
        EntryStore store;
        std::string list = "w [ab] ";
        list += meaning;
        list += "\nnext [cd] x\n";
        store.appendList(list, 0);
        ASSERT_EQ(store.size(), 2u) << length;
        EXPECT_EQ(store[0].meaning, meaning) << length;
        EXPECT_EQ(store[1].word, "next") << length;
    }
}

TEST(EntryStoreSort, OrdersByKeyAndKeepsTheLoadOrderOfEqualKeys) {
    EntryStore store;
    store.appendList("sink [si6k] v.\nlight [lait] n.\n\nsome [s8m]\nbig [big]\nAir [A4]\n", 0);
    store.appendList("think [7i6k] v.\nnight [nait] n.\nthumb [78m]\nhigh [\xB0\xA1]\n", 1);
    store.sort();
    EXPECT_EQ(words(store), (std::vector<std::string>{"", "Air", "big", "light", "night", "some",
                                                      "thumb", "sink", "think", "high"}));
    EXPECT_EQ(store[0].level, kBand4) << "a blank line keeps its list's tag";
    EXPECT_EQ(store[6].level, kBand6);
}

TEST(EntryStoreSort, SortsLargeRandomListsCompletely) {
    // Long shared beginnings and GBK characters exercise the tie-breaking
    // beyond the first eight bytes.
    const std::string alphabet = "sil4'::\x81\xB0\xFF";
    std::mt19937 random(11);
    std::string list;
    for (int i = 0; i < 5000; ++i) {
        std::string phonetic = i % 3 ? "str4ks" : "";
        for (std::size_t n = random() % 12; n > 0; --n) {
            phonetic += alphabet[random() % alphabet.size()];
        }
        list += 'w';
        list += std::to_string(i);
        list += " [";
        list += phonetic;
        list += "] m\n";
    }
    EntryStore store;
    store.appendList(list, 0);
    store.sort();
    ASSERT_EQ(store.size(), 5000u);
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < store.size(); ++i) {
        seen.emplace_back(store[i].word);
        if (i > 0) {
            const int order = vocab::mbcs::compare(store.key(i - 1), store.key(i));
            ASSERT_LE(order, 0) << "rows " << i - 1 << " and " << i;
            if (order == 0) {
                ASSERT_LT(std::stoi(std::string(store[i - 1].word.substr(1))),
                          std::stoi(std::string(store[i].word.substr(1))));
            }
        }
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()), seen.end()) << "no entry lost or doubled";
}

} // namespace
