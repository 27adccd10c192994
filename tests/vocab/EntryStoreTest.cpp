#include "vocab/EntryStore.h"
#include "support/TempDir.h"
#include "vocab/ListFile.h"
#include "vocab/Mbcs.h"
#include "vocab/WordLists.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sys/stat.h>

namespace {

const std::string kList4(vocab::kWordLists[0].fileName);
const std::string kList6(vocab::kWordLists[1].fileName);

// "word/meaning/level" of every entry, level 4 or 6, each followed by a space.
std::string entries(const vocab::EntryStore& store) {
    std::string out;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const auto e = store[i];
        out += std::string(e.word) + "/" + std::string(e.meaning) + "/" +
               (e.level == "\xA2\xDC" ? "4 " : "6 ");
    }
    return out;
}

// One list is a hostile thing, the other a good list: the good one is read,
// the bad one is named with the true reason, at once and without a hang.
TEST(EntryStore, LoadsWhatItCanAndNamesWhatItCannot) {
    namespace fs = std::filesystem;
    const std::string good = "ship [5ip] n.\r\nthink [7i6k] v.\r\n";
    const auto writes = [](std::string bytes) {
        return [bytes](const fs::path& p) { std::ofstream(p, std::ios::binary) << bytes; };
    };
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make; // makes list 1 at the path
        std::string failure;
        std::string entries = "ship/n./4 think/v./4 ";
        std::size_t ignored = 0; // bytes after a Ctrl-Z that were more than white space
    } cases[] = {
        {"missing", [](const fs::path&) {},
         "cannot open " + kList6 + ": No such file or directory"},
#if !defined(_WIN32) // no FIFOs, devices or /proc there
        {"a FIFO", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
         "cannot open " + kList6 + ": not a regular file"},
        {"a link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
         "cannot open " + kList6 + ": not a regular file"},
#endif
        {"a folder", [](const fs::path& p) { fs::create_directory(p); },
         "cannot open " + kList6 + ": Is a directory"},
        {"past the 4 GiB limit (sparse)",
         [](const fs::path& p) {
             std::ofstream{p};
             fs::resize_file(p, std::uintmax_t{9} << 29);
         },
         "cannot read " + kList6 + ": the word lists together exceed 4 GiB"},
#if !defined(_WIN32)
        {"failing while read", [](const fs::path& p) { fs::create_symlink("/proc/self/mem", p); },
         "cannot read " + kList6 + ": Input/output error"},
#endif
        {"text after a Ctrl-Z", writes("sink [si6k] v.\n\x1A\r\nlost [l3st]\n"), "",
         "ship/n./4 think/v./4 sink/v./6 ", 14},
        {"white space after a Ctrl-Z", writes("sink [si6k] v.\n\x1A\r\n\x1A"), "",
         "ship/n./4 think/v./4 sink/v./6 "},
        {"UTF-16BE", writes(std::string("\xFE\xFF\0s\0 \0[\0s\0]\0\n\0\x1A\0x", 18)), "",
         "ship/n./4 think/v./4 s//6 ", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.write(kList4, good);
        c.make(dir.path() / fs::u8path(kList6));
        vocab::EntryStore store;
        const vocab::LoadResult result = store.load(dir.path());
        ASSERT_LE(result.failures.size(), 1u);
        EXPECT_EQ(result.ok() ? "" : result.failures[0].message(), c.failure);
        EXPECT_EQ(entries(store), c.entries);
        EXPECT_EQ(result.ignored.empty() ? 0 : result.ignored.at(0).bytes, c.ignored);
    }
#if !defined(_WIN32)
    // A file whose size says nothing (it grows, or the system does not know)
    // is cut off one byte past the limit.
    vocab::ListFile maps;
    ASSERT_FALSE(maps.open("/proc/self/maps", 0));
    vocab::Bytes bytes;
    const auto failure = maps.readRest(16, bytes);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, vocab::FailureKind::TooLarge);
    EXPECT_TRUE(bytes.empty());
#endif
}

// A read of any size is asked for in chunks the system takes: Windows' C
// runtime refuses one of more than INT_MAX bytes, and a list may be 4 GiB.
TEST(EntryStore, ReadsAListInChunksOfAnySize) {
    TempDir dir;
    std::string large; // no two lines alike, so a half read to the wrong place shows
    for (int i = 0; large.size() < (std::size_t{9} << 20); ++i) {
        large.append("w").append(std::to_string(i)).append(" [x] n.\n");
    }
    const std::string small = "ship [5ip] n.\r\nthink [7i6k] v.\r\n";
    const std::pair<const std::string*, std::size_t> cases[] = {
        {&small, 1}, {&small, 3}, {&small, 7}, {&small, 64}, {&large, 5 << 20}, {&large, 64 << 20}};
    for (const auto& [text, chunk] : cases) {
        dir.write("list.txt", *text);
        vocab::ListFile file(chunk);
        ASSERT_FALSE(file.open(dir.path() / "list.txt", 0));
        vocab::Bytes read(12, '>');
        EXPECT_EQ(file.read(read.data() + 2, 10), 10) << chunk;
        ASSERT_FALSE(file.readRest(vocab::EntryStore::kMaxTextBytes, read)) << chunk;
        EXPECT_TRUE(std::string(read.begin(), read.end()) == ">>" + *text) << chunk;
    }
}

// A real list past 2 GiB, sparse, its only line at its end: some 20 seconds
// under Wine, so only when asked for.
TEST(EntryStore, ReadsASparseListPast2GiB) {
    namespace fs = std::filesystem;
    if (!std::getenv("MIRAWEN_LARGE_TESTS")) {
        GTEST_SKIP() << "reads 2 GiB; set MIRAWEN_LARGE_TESTS=1 to run it";
    }
    TempDir dir;
    const fs::path big = dir.path() / "big.txt";
    const std::string line = "end [end] n.\n";
    constexpr std::size_t kSize = (std::size_t{1} << 31) + (std::size_t{1} << 20);
    std::ofstream{big};
    fs::resize_file(big, kSize - line.size());
    std::ofstream(big, std::ios::binary | std::ios::app) << line;
    vocab::ListFile file;
    ASSERT_FALSE(file.open(big, 1));
    vocab::Bytes bytes;
    const auto failure = file.readRest(vocab::EntryStore::kMaxTextBytes, bytes);
    EXPECT_FALSE(failure) << (failure ? failure->message() : "");
    ASSERT_EQ(bytes.size(), kSize);
    EXPECT_EQ(std::string(bytes.end() - static_cast<std::ptrdiff_t>(line.size()), bytes.end()),
              line);
}

// Line ends, Ctrl-Z and blank lines as a file read in text mode gives them;
// a line of any length is one entry.
TEST(EntryStore, SplitsLinesAsATextFileReadsThem) {
    const std::string longMeaning(1000, 'm');
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"a [b] c\r\nd [e] f", {"c", "f"}},
        {"a [b] c\rd\r\r\n", {"c\rd"}},
        {std::string("a [b] c\n\x1A") + "d [e] f\n", {"c"}},
        {std::string("a [b] c\x1A") + "d\n", {"c"}},
        {"\n \na [b] c\n", {"", "", "c"}},
        {"", {}},
        {"w [x] " + longMeaning + "\nw [x] y\n", {longMeaning, "y"}},
        {"w [x] " + longMeaning.substr(0, 693) + "\nw [x] y\n", {longMeaning.substr(0, 693), "y"}},
    };
    for (const auto& [bytes, expected] : cases) {
        vocab::EntryStore store;
        ASSERT_TRUE(store.appendList(bytes, 0));
        std::vector<std::string> meanings;
        for (std::size_t i = 0; i < store.size(); ++i) {
            meanings.emplace_back(store[i].meaning);
        }
        EXPECT_EQ(meanings, expected) << testing::PrintToString(bytes.substr(0, 40));
    }
}

TEST(EntryStore, SortsByKeyKeepingTheLoadOrderOfEqualKeys) {
    vocab::EntryStore store;
    ASSERT_TRUE(store.appendList("sink [si6k] v.\nlight [lait] n.\n\nsome [s8m]\nAir [A4]\n", 0));
    ASSERT_TRUE(store.appendList("think [7i6k] v.\nnight [nait] n.\nhigh [\xB0\xA1]\n", 1));
    store.sort();
    EXPECT_EQ(entries(store),
              "//4 Air//4 light/n./4 night/n./6 some//4 sink/v./4 think/v./6 high//6 ");

    // Long shared beginnings and GBK characters need the tie-breaking beyond
    // the first eight bytes.
    const std::string alphabet = "sil4'::\x81\xB0\xFF";
    std::mt19937 random(11);
    std::string list;
    for (int i = 0; i < 5000; ++i) {
        list += 'w';
        list += std::to_string(i);
        list += i % 3 ? " [str4ks" : " [";
        for (std::size_t n = random() % (i % 7 ? 12 : 70); n > 0; --n) {
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
        ASSERT_EQ(big.keyPrefix(i), vocab::mbcs::sortPrefix(big.key(i)).value) << "row " << i;
        if (i > 0) {
            const int order = vocab::mbcs::compare(big.key(i - 1), big.key(i));
            ASSERT_TRUE(order < 0 ||
                        (order == 0 && std::stoi(std::string(big[i - 1].word.substr(1))) <
                                           std::stoi(std::string(big[i].word.substr(1)))))
                << "rows " << i - 1 << " and " << i;
        }
    }
    EXPECT_EQ(words.size(), 5000u) << "no entry lost or doubled";

    // Loaded on two threads, the halves cut inside either list, every entry
    // keeps its list's tag.
    for (const std::size_t band4Lines : {1000, 4000}) {
        TempDir dir;
        const std::size_t cut = list.find('\n', band4Lines * 20);
        dir.write(kList4, list.substr(0, cut + 1));
        dir.write(kList6, list.substr(cut + 1));
        vocab::EntryStore loaded;
        EXPECT_TRUE(loaded.load(dir.path()).ok());
        std::ptrdiff_t inBand4 = 0;
        for (std::size_t i = 0; i < loaded.size(); ++i) {
            inBand4 += loaded[i].level == vocab::kWordLists[0].levelTag;
        }
        EXPECT_EQ(inBand4, std::count(list.begin(), list.begin() + cut + 1, '\n'));
        EXPECT_EQ(loaded.size(), 5000u);
    }
}

} // namespace
