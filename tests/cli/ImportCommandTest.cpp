#include "cli/ImportCommand.h"
#include "cli/CommandMain.h"
#include "codec/Codec.h"
#include "importer/ImportJob.h"
#include "importer/SystemError.h"
#include "support/TempDir.h"
#include "vocab/EntryStore.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sstream>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

const std::string kMark = "\xEF\xBB\xBF"; // the lists are UTF-8, marked as such

TEST(ImportCommand, ReadsEveryCsvShape) {
    const std::string ship = kMark + "ship [5ip] n. 船\r\n";
    const struct {
        std::string csv;
        int status;
        std::string band4, err;
        std::vector<std::string> args = {};
    } cases[] = {
        {kHeader + "ship,ʃip,\"a, b\",\"n. 船,\nv. \"\"运\"\"\",,,,cet4\n", 0,
         kMark + "ship [5ip] n. 船, v. \"运\"\r\n", ""},
        {"\xEF\xBB\xBF" + kHeader.substr(0, kHeader.size() - 1) + "\r\nship,ʃip,,n. 船,,,,cet4\r\n",
         0, ship, ""},
        {"tag,x,translation,phonetic,word\ncet4,\"\",n. 船,ʃip,ship", 0, ship, ""},
        // A written "\n" at the start is a space, and then trimmed away.
        {kHeader + "ship,ʃip,,\\nn. 船\\n,,,,cet4\n", 0, ship, ""},
        {"word,phonetic,translation\nship,ʃip,n.\n", 2, "-",
         "in.csv: the header row has no column \"tag\"; nothing written\n"},
        {"", 2, "-", "in.csv: the file is empty: no header row; nothing written\n"},
        {kHeader + "ship,\"ʃip,,n,,,,cet4\n", 2, "-", "in.csv: a quoted field is not closed"},
        {kHeader + "a,ʃ,,,,,,cet4\nship,ʃ\"ip,,n,,,,cet4\n", 2, "-",
         "in.csv: a quote out of place in row 2 after the header; nothing written\n"},
        {kHeader + "a,ʃ,,,,,,cet4\nb,\"" + std::string(1300000, 'x') + "\",,,,,,cet4\n", 2, "-",
         "in.csv: row 2 after the header is larger than 1 MiB; nothing written\n"},
        {kHeader + "ship,ʃip,,n. \xFF,,,,cet4\n", 1, "-",
         "1 row skipped: the text is not valid UTF-8\n"},
        {kHeader, 2, "-", "import: unknown option '--bogus'\nUsage: mirawen-import", {"--bogus"}},
        {kHeader, 2, "-", "import: more than one CSV file\nUsage: mirawen-import", {"b.csv"}},
        {kHeader, 2, "-", "import: no CSV file named\nUsage: mirawen-import", {"--dir"}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const Result r = import(dir, c.csv, c.args);
        EXPECT_EQ(r.status, c.status) << c.csv.substr(0, 200);
        EXPECT_EQ(r.band4, c.band4) << c.csv.substr(0, 200);
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
    EXPECT_EQ(r.band4, kMark + "a [5] 一\r\nd [5]\r\n");
    EXPECT_EQ(r.band6, kMark + "b [5] v. 二 a. 三\r\n");
    auto list = [&](const char* name) {
        return importer::pathText(dir.path() / "lists" / fs::u8path(name));
    };
    EXPECT_EQ(r.err, "mirawen-import: 8 rows read, 1 of them tagged neither cet4 nor cet6\n"
                     "mirawen-import: 2 rows skipped: the word is empty or holds \"[\", \"]\" "
                     "or a line break\n"
                     "mirawen-import: 2 rows skipped: the phonetic is empty\n"
                     "mirawen-import: dropped from transcriptions: U+0294 \"ʔ\", 2 times\n"
                     "mirawen-import: 2 entries written to " +
                         list("大学四级.txt") + "\nmirawen-import: 1 entry written to " +
                         list("大学六级.txt") + "\n");

    // Whatever a list holds, the store reads back what was imported.
    const std::string csv = kHeader + "cat,kæt,,n. 猫,,,,cet4\ncafé,kæ'fei,,n. é😀 ü,,,,cet6\n"
                                      "naïve,nai'i:v,,a. 天真的; ß,,,,cet4\n";
    ASSERT_EQ(import(dir, csv, {"--force"}).status, 0);
    vocab::EntryStore store;
    EXPECT_TRUE(store.load(dir.path() / "lists").ok());
    std::vector<std::string> read;
    for (std::size_t i = 0; i < store.size(); ++i) {
        const vocab::WordEntry e = store[i];
        read.push_back(codec::toUtf8(std::string(e.word) + "|" + std::string(e.phonetic) + "|" +
                                     std::string(e.meaning) + "|" + std::string(e.level)));
    }
    EXPECT_EQ(read, (std::vector<std::string>{"cat|k1t|n. 猫|④", "naïve|nai'i:v|a. 天真的; ß|④",
                                              "café|k1'fei|n. é😀 ü|⑥"}));
    EXPECT_EQ(import(dir, kHeader + "f,,,,,,,cet4\n", {"--force"}).status, 1);
}

// The programs' main: an exception is an error with the program's name, not
// an abort.
TEST(ImportCommand, MainTellsAnExceptionAndFails) {
    char program[] = "mirawen-import", csv[] = "in.csv";
    char* argv[] = {program, csv};
    const cli::Command throws = [](const std::vector<std::string>& args, std::ostream&,
                                   std::ostream&) -> int { throw std::runtime_error(args.at(0)); };
    std::ostringstream out, err;
    EXPECT_EQ(cli::runCommand(throws, 2, argv, "mirawen-import", 2, out, err), 2);
    EXPECT_EQ(err.str(), "mirawen-import: in.csv\n");
}

#if !defined(_WIN32) // limits, environment, FIFOs and signals as POSIX has them

TEST(ImportCommand, ReplacesListsWholeOrNotAtAll) {
    TempDir dir;
    ASSERT_EQ(import(dir, kHeader + "think,θɪŋk,,v. 想,,,,cet4\nthin,θɪn,,,,,,cet6\n").status, 0);
    const Result kept = import(dir, kHeader + "ship,ʃip,,,,,,cet4\n");
    EXPECT_EQ(kept.status, 2);
    EXPECT_NE(kept.err.find("大学四级.txt exists (--force replaces it); nothing written"),
              std::string::npos);
    EXPECT_EQ(kept.band4, kMark + "think [7i6k] v. 想\r\n");

    // A write that fails half-way (as root too, where permissions do not):
    // an error, not a kill, and nothing left behind.
    importer::cleanUpOnSignals();
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{8, limit.rlim_max};
    dir.write("in.csv", kHeader + "ship,ʃip,,,,,,cet4\n");
    setrlimit(RLIMIT_FSIZE, &small);
    const Result failed = run(dir, {"--force"});
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(failed.status, 2);
    EXPECT_NE(failed.err.find("File too large; the lists are as they were"), std::string::npos);
    EXPECT_EQ(failed.band4 + failed.band6, kept.band4 + kMark + "thin [7in]\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "lists"), {}), 2);

    const Result forced = import(dir, kHeader + "ship,ʃip,,,,,,cet4\n", {"--force"});
    EXPECT_EQ(forced.band4 + "|" + forced.band6, kMark + "ship [5ip]\r\n|" + kMark);
    dir.write("file", "");
    const Result blocked =
        import(dir, kHeader + "a,ʃ,,,,,,cet4", {"--dir", (dir.path() / "file" / "x").string()});
    EXPECT_NE(blocked.err.find("cannot create"), std::string::npos) << blocked.err;
    setenv("XDG_DATA_HOME", (dir.path() / "xdg").c_str(), 1); // the default folder, made
    std::ostringstream out, err;
    EXPECT_EQ(cli::ImportCommand::run({(dir.path() / "in.csv").string()}, out, err), 0);
    EXPECT_TRUE(fs::exists(dir.path() / "xdg" / "mirawen" / fs::u8path("大学六级.txt")));

    // With no usable home, no folder under whatever folder this runs in.
    unsetenv("XDG_DATA_HOME");
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", "relative/home", 1);
    EXPECT_EQ(cli::ImportCommand::run({(dir.path() / "in.csv").string()}, out, err), 2);
    EXPECT_NE(err.str().find("HOME is not an absolute folder"), std::string::npos) << err.str();
    setenv("HOME", home.c_str(), 1);

    // An answer that cannot be written is an error, and says so.
    std::ostringstream full;
    full.setstate(std::ios::badbit);
    EXPECT_EQ(cli::ImportCommand::run({"--help"}, full, err), 2);
    EXPECT_NE(err.str().find("mirawen-import: write error"), std::string::npos);
}

// Inputs that are not a file to read are refused at once, and "-" is
// standard input.
TEST(ImportCommand, ReadsOnlyFilesAndStandardInput) {
    TempDir dir;
    ASSERT_EQ(mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    for (const std::string& csv :
         {(dir.path() / "fifo").string(), std::string("/dev/zero"), dir.path().string()}) {
        std::ostringstream out, err;
        EXPECT_EQ(cli::ImportCommand::run({"--dir", dir.path().string(), csv}, out, err), 2);
        EXPECT_EQ(err.str(), "mirawen-import: " + csv + " is not a regular file\n");
    }
    dir.write("in.csv", kHeader + "ship,ʃip,,,,,,cet4\n");
    const int saved = dup(STDIN_FILENO);
    const int csv = open((dir.path() / "in.csv").c_str(), O_RDONLY);
    dup2(csv, STDIN_FILENO);
    std::ostringstream out, err;
    const int status = cli::ImportCommand::run({"--dir", dir.path().string(), "-"}, out, err);
    dup2(saved, STDIN_FILENO);
    close(csv);
    close(saved);
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_TRUE(fs::exists(dir.path() / fs::u8path("大学四级.txt")));
}

#endif

// What was found by probing the importer with faults: the lists are a pair,
// replaced together or not at all, and what the message says is true.
TEST(ImportCommand, NeverLosesOrMixesAList) {
    const std::string csv = kHeader + "ship,ʃip,,,,,,cet4\nsink,sɪŋk,,,,,,cet6\n";
    const std::string old4 = "think [7i6k]\r\n", old6 = "thin [7in]\r\n";
    const struct {
        const char* what;
        bool force;
        std::function<void(importer::ListFolder&, const fs::path&)> meanwhile;
        std::string band4, band6, error;
    } cases[] = {
        {"the second list cannot be replaced", true,
         [](importer::ListFolder& f, const fs::path&) {
             f.beforePlacing = [](std::size_t list) { return list == 1 ? EPERM : 0; };
         },
         old4, old6, "大学六级.txt: Operation not permitted; the lists are as they were"},
        {"a Band 6 list appears during an import without --force", false,
         [&](importer::ListFolder&, const fs::path& folder) {
             std::ofstream(folder / fs::u8path("大学六级.txt"), std::ios::binary) << "theirs";
         },
         "-", "theirs",
         "大学六级.txt: a list appeared there during the import; the lists are as they were"},
        {"a second import while one writes", true,
         [&](importer::ListFolder&, const fs::path& folder) {
             const importer::ImportReport second = importer::runImport({"in.csv", folder, true});
             EXPECT_EQ(second.error,
                       "another import is writing the lists in " + importer::pathText(folder));
         },
         kMark + "ship [5ip]\r\n", kMark + "sink [si6k]\r\n", ""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const fs::path folder = dir.path() / "lists";
        fs::create_directory(folder);
        if (c.force) {
            dir.write("lists/大学四级.txt", old4);
            dir.write("lists/大学六级.txt", old6);
        }
        dir.write("lists/.大学四级.txt.99999-0.tmp", "left by a killed import");
        dir.write("in.csv", csv);
        const importer::ImportReport report =
            importer::runImport({dir.path() / "in.csv", folder, c.force}, {},
                                [&](importer::ListFolder& f) { c.meanwhile(f, folder); });
        EXPECT_NE(report.error.find(c.error), std::string::npos) << c.what << ": " << report.error;
        EXPECT_EQ(report.status == importer::ImportReport::Status::Written, c.error.empty());
        const Result lists = run(dir, {"--help"}); // reads the lists back, writes nothing
        EXPECT_EQ(lists.band4, c.band4) << c.what;
        EXPECT_EQ(lists.band6, c.band6) << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}),
                  (c.band4 != "-") + (c.band6 != "-"))
            << c.what << ": no temporary file is left";
    }

#if !defined(_WIN32)
    // Killed while writing: the temporary files go with the process.
    TempDir dir;
    dir.write("in.csv", csv);
    const pid_t child = fork();
    if (child == 0) {
        importer::cleanUpOnSignals();
        (void)importer::runImport({dir.path() / "in.csv", dir.path(), false}, {},
                                  [](importer::ListFolder&) { std::raise(SIGTERM); });
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "only in.csv";
#endif
}

} // namespace
