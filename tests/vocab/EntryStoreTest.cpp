#include "vocab/EntryStore.h"
#include "support/TempDir.h"
#include "vocab/Mbcs.h"
#include "vocab/WordLists.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const std::string kList4(vocab::kWordLists[0].fileName);
const std::string kList6(vocab::kWordLists[1].fileName);

// "word/meaning/level" of every entry, level 4 or 6.
std::vector<std::string> entries(const vocab::EntryStore& store) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const auto e = store[i];
        out.push_back(std::string(e.word) + "/" + std::string(e.meaning) + "/" +
                      (e.level == "\xA2\xDC" ? "4" : "6"));
    }
    return out;
}

TEST(EntryStore, LoadsWhatItCanAndNamesWhatItCannot) {
    const std::string missing = ": No such file or directory";
    const struct {
        bool band4, band6;
        std::vector<std::string> failures, entries;
    } cases[] = {
        {true, true, {}, {"ship/n./4", "think/v./4", "shipment/n./6"}},
        {true, false, {"cannot open " + kList6 + missing}, {"ship/n./4", "think/v./4"}},
        {false, true, {"cannot open " + kList4 + missing}, {"shipment/n./6"}},
        {false, false, {"cannot open " + kList4 + missing, "cannot open " + kList6 + missing}, {}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (c.band4) {
            dir.write(kList4, "ship [5ip] n.\r\nthink [7i6k] v.\r\n");
        }
        if (c.band6) {
            dir.write(kList6, "shipment ['5ipm4nt] n.\n");
        }
        vocab::EntryStore store;
        std::vector<std::string> failures;
        for (const auto& failure : store.load(dir.path()).failures) {
            failures.push_back(failure.message());
        }
        EXPECT_EQ(failures, c.failures);
        EXPECT_EQ(entries(store), c.entries);
    }
    TempDir dir;
    std::filesystem::create_directory(dir.path() / std::filesystem::u8path(kList4));
    vocab::EntryStore store;
    EXPECT_EQ(store.load(dir.path()).failures.at(0).message(),
              "cannot open " + kList4 + ": Is a directory");
}

// Line ends, Ctrl-Z and blank lines as a file read in text mode gives them;
// a line of any length is one entry.
TEST(EntryStore, SplitsLinesAsATextFileReadsThem) {
    const std::string longMeaning(1000, 'm');
    const struct {
        std::string bytes;
        std::vector<std::string> meanings;
    } cases[] = {
        {"a [b] c\r\nd [e] f", {"c", "f"}},
        {"a [b] c\rd\r\r\n", {"c\rd"}},
        {"a [b] c\n\x1A"
         "d [e] f\n",
         {"c"}},
        {"a [b] c\x1A"
         "d\n",
         {"c"}},
        {"\n \na [b] c\n", {"", "", "c"}},
        {"", {}},
        {"w [x] " + longMeaning + "\nw [x] y\n", {longMeaning, "y"}},
        {"w [x] " + longMeaning.substr(0, 693) + "\nw [x] y\n", {longMeaning.substr(0, 693), "y"}},
    };
    for (const auto& c : cases) {
        vocab::EntryStore store;
        ASSERT_TRUE(store.appendList(c.bytes, 0));
        std::vector<std::string> meanings;
        for (std::size_t i = 0; i < store.size(); ++i) {
            meanings.emplace_back(store[i].meaning);
        }
        EXPECT_EQ(meanings, c.meanings) << testing::PrintToString(c.bytes.substr(0, 40));
    }
}

TEST(EntryStore, SortsByKeyKeepingTheLoadOrderOfEqualKeys) {
    vocab::EntryStore store;
    ASSERT_TRUE(store.appendList("sink [si6k] v.\nlight [lait] n.\n\nsome [s8m]\nAir [A4]\n", 0));
    ASSERT_TRUE(store.appendList("think [7i6k] v.\nnight [nait] n.\nhigh [\xB0\xA1]\n", 1));
    store.sort();
    EXPECT_EQ(entries(store),
              (std::vector<std::string>{"//4", "Air//4", "light/n./4", "night/n./6", "some//4",
                                        "sink/v./4", "think/v./6", "high//6"}));

    // Long shared beginnings and GBK characters need the tie-breaking beyond
    // the first eight bytes.
    const std::string alphabet = "sil4'::\x81\xB0\xFF";
    std::mt19937 random(11);
    std::string list;
    for (int i = 0; i < 5000; ++i) {
        list += 'w';
        list += std::to_string(i);
        list += i % 3 ? " [str4ks" : " [";
        for (std::size_t n = random() % 12; n > 0; --n) {
            list += alphabet[random() % alphabet.size()];
        }
        list += "]\n";
    }
    vocab::EntryStore big;
    ASSERT_TRUE(big.appendList(list, 0));
    big.sort();
    ASSERT_EQ(big.size(), 5000u);
    std::set<std::string_view> words;
    for (std::size_t i = 0; i < big.size(); ++i) {
        words.insert(big[i].word);
        if (i > 0) {
            const int order = vocab::mbcs::compare(big.key(i - 1), big.key(i));
            ASSERT_TRUE(order < 0 ||
                        (order == 0 && std::stoi(std::string(big[i - 1].word.substr(1))) <
                                           std::stoi(std::string(big[i].word.substr(1)))))
                << "rows " << i - 1 << " and " << i;
        }
    }
    EXPECT_EQ(words.size(), 5000u) << "no entry lost or doubled";
}

} // namespace
