#include "cli/ImportCommand.h"
#include "codec/Codec.h"
#include "support/TempDir.h"
#include "vocab/EntryStore.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;

const std::string kHeader = "word,phonetic,definition,translation,pos,collins,oxford,tag,bnc,frq,"
                            "exchange,detail,audio\n";

struct Result {
    int status;
    std::string band4, band6, err; // the lists as written, "-" when there is none
};

// Imports dir/in.csv into dir/lists unless args name a folder.
Result run(const TempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", (dir.path() / "lists").string()});
    args.push_back((dir.path() / "in.csv").string());
    std::ostringstream out, err;
    Result r{cli::ImportCommand::run(args, out, err), "-", "-", err.str()};
    for (auto [name, text] : {std::pair{"大学四级.txt", &r.band4}, {"大学六级.txt", &r.band6}}) {
        if (std::ifstream in{dir.path() / "lists" / fs::u8path(name), std::ios::binary}) {
            text->assign(fs::file_size(dir.path() / "lists" / fs::u8path(name)), '\0');
            in.read(text->data(), static_cast<std::streamsize>(text->size()));
        }
    }
    return r;
}

Result import(const TempDir& dir, std::string_view csv, std::vector<std::string> args = {}) {
    dir.write("in.csv", csv);
    return run(dir, std::move(args));
}

TEST(ImportCommand, ReadsEveryCsvShape) {
    const std::string ship = "ship [5ip] n. \xB4\xAC\r\n";
    const struct {
        std::string csv;
        int status;
        std::string band4, err;
        std::vector<std::string> args = {};
    } cases[] = {
        {kHeader + "ship,ʃip,\"a, b\",\"n. 船,\nv. \"\"运\"\"\",,,,cet4\n", 0,
         "ship [5ip] n. \xB4\xAC, v. \"\xD4\xCB\"\r\n", ""},
        {"\xEF\xBB\xBF" + kHeader.substr(0, kHeader.size() - 1) + "\r\nship,ʃip,,n. 船,,,,cet4\r\n",
         0, ship, ""},
        {"tag,x,translation,phonetic,word\ncet4,\"\",n. 船,ʃip,ship", 0, ship, ""},
        {"word,phonetic,translation\nship,ʃip,n.\n", 2, "-",
         "in.csv: the header row has no column \"tag\"; nothing written\n"},
        {"", 2, "-", "in.csv: the file is empty: no header row; nothing written\n"},
        {kHeader + "ship,\"ʃip,,n,,,,cet4\n", 2, "-", "in.csv: a quoted field is not closed"},
        {kHeader + "a,ʃ,,,,,,cet4\nship,ʃ\"ip,,n,,,,cet4\n", 2, "-",
         "in.csv: a quote out of place in row 2 after the header; nothing written\n"},
        {kHeader + "ship,ʃip,,n. \xFF,,,,cet4\n", 1, "-",
         "1 row skipped: the text is not valid UTF-8\n"},
        {kHeader, 2, "-", "import: unknown option '--bogus'\nUsage: mirawen-import", {"--bogus"}},
        {kHeader, 2, "-", "import: more than one CSV file\nUsage: mirawen-import", {"b.csv"}},
        {kHeader, 2, "-", "import: no CSV file named\nUsage: mirawen-import", {"--dir"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const Result r = import(dir, c.csv, c.args);
        EXPECT_EQ(r.status, c.status) << c.csv;
        EXPECT_EQ(r.band4, c.band4) << c.csv;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

TEST(ImportCommand, SelectsTaggedRowsInOrderAndReportsWhatItSkipped) {
    TempDir dir;
    const Result r = import(dir, kHeader + "b,ʃʔ,,\"  v. 二\\na.\n三 \",,,,gre cet6\n"
                                           "a,ʃ,,一,,,,cet6 cet4\n"
                                           "c,ʃ,,,,,,xcet4 cet4x\n"
                                           " d ,ʃ,,,,,,cet4\n"
                                           ",ʃ,,,,,,cet4\n"
                                           "e[1],ʃ,,,,,,cet4\n"
                                           "f,,,,,,,cet6\n"
                                           "g,ʔ,,,,,,cet6\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(codec::toUtf8(r.band4), "a [5] 一\r\nd [5]\r\n");
    EXPECT_EQ(codec::toUtf8(r.band6), "b [5] v. 二 a. 三\r\n");
    const std::string lists = (dir.path() / "lists").string();
    EXPECT_EQ(r.err, "mirawen-import: 8 rows read, 1 of them tagged neither cet4 nor cet6\n"
                     "mirawen-import: 2 rows skipped: the word is empty or holds \"[\", \"]\" "
                     "or a line break\n"
                     "mirawen-import: 2 rows skipped: the phonetic is empty\n"
                     "mirawen-import: dropped from transcriptions: U+0294 \"ʔ\", 2 times\n"
                     "mirawen-import: 2 entries written to " +
                         lists +
                         "/大学四级.txt\n"
                         "mirawen-import: 1 entry written to " +
                         lists + "/大学六级.txt\n");
    EXPECT_EQ(import(dir, kHeader + "f,,,,,,,cet4\n", {"--force"}).status, 1);
}

TEST(ImportCommand, ReplacesListsWholeOrNotAtAll) {
    TempDir dir;
    ASSERT_EQ(import(dir, kHeader + "think,θɪŋk,,v. 想,,,,cet4\nthin,θɪn,,,,,,cet6\n").status, 0);
    const Result kept = import(dir, kHeader + "ship,ʃip,,,,,,cet4\n");
    EXPECT_EQ(kept.status, 2);
    EXPECT_NE(kept.err.find("大学四级.txt exists (--force replaces it); nothing written"),
              std::string::npos);
    EXPECT_EQ(kept.band4, "think [7i6k] v. \xCF\xEB\r\n");

    // A write that fails half-way (as root too, where permissions do not).
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{8, limit.rlim_max};
    dir.write("in.csv", kHeader + "ship,ʃip,,,,,,cet4\n");
    setrlimit(RLIMIT_FSIZE, &small);
    const Result failed = run(dir, {"--force"});
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(failed.status, 2);
    EXPECT_NE(failed.err.find("File too large; the lists are as they were"), std::string::npos);
    EXPECT_EQ(failed.band4 + failed.band6, kept.band4 + "thin [7in]\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "lists"), {}), 2);

    // What the store reads back.
    vocab::EntryStore store;
    EXPECT_TRUE(store.load(dir.path() / "lists").ok());
    store.sort();
    ASSERT_EQ(store.size(), 2u);
    EXPECT_EQ(store[0].word, "think");
    EXPECT_EQ(store[0].key, "si6k");
    EXPECT_EQ(store[1].key, "sil");

    const Result forced = import(dir, kHeader + "ship,ʃip,,,,,,cet4\n", {"--force"});
    EXPECT_EQ(forced.band4 + "|" + forced.band6, "ship [5ip]\r\n|");
    dir.write("file", "");
    EXPECT_NE(
        import(dir, kHeader + "a,ʃ,,,,,,cet4", {"--dir", (dir.path() / "file" / "x").string()})
            .err.find("cannot create"),
        std::string::npos);
    setenv("XDG_DATA_HOME", (dir.path() / "xdg").c_str(), 1); // the default folder, made
    std::ostringstream out, err;
    EXPECT_EQ(cli::ImportCommand::run({(dir.path() / "in.csv").string()}, out, err), 0);
    EXPECT_TRUE(fs::exists(dir.path() / "xdg" / "mirawen" / fs::u8path("大学六级.txt")));

    // An answer that cannot be written is an error, and says so.
    std::ostringstream full;
    full.setstate(std::ios::badbit);
    EXPECT_EQ(cli::ImportCommand::run({"--help"}, full, err), 2);
    EXPECT_NE(err.str().find("mirawen-import: write error"), std::string::npos);
}

} // namespace
