#include "cli/LookupCommand.h"
#include "codec/Codec.h"
#include "mirawen/Version.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace {

struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;
};

// Runs the command over two small lists, the second one replaced when asked;
// err is how the error output begins, after "mirawen-lookup: ".
void expectRuns(const std::vector<Case>& cases, const std::optional<std::string>& band6 = {}) {
    TempDir dir;
    dir.write("大学四级.txt",
              "ship [5ip] n. \xB4\xAC\r\nthink [7i6k] v. \xCF\xEB\r\nnight [nait] n. \xD2\xB9\r\n");
    if (band6) {
        dir.write("大学六级.txt", *band6);
    }
    for (Case c : cases) {
        c.args.insert(c.args.begin(), {"--dir", dir.path().string()});
        std::ostringstream out, err;
        EXPECT_EQ(cli::LookupCommand::run(c.args, out, err), c.status)
            << testing::PrintToString(c.args);
        EXPECT_EQ(out.str(), c.out) << testing::PrintToString(c.args);
        const std::string begins = c.err.empty() ? "" : "mirawen-lookup: " + c.err;
        EXPECT_EQ(err.str().substr(0, begins.size()), begins) << testing::PrintToString(c.args);
    }
}

const char* const kBand6 =
    "shipment ['5ipm4nt] n. \xD7\xB0\xD4\xCB\nsink [si6k] v. \xCF\xC2\xB3\xC1\n";

TEST(LookupCommand, PrintsWhatTheWindowWouldSelect) {
    expectRuns({{{},
                 0,
                 "ship [5ip] n. 船 ④\nshipment ['5ipm4nt] n. 装运 ⑥\nnight [nait] n. 夜 ④\n"
                 "think [7i6k] v. 想 ④\nsink [si6k] v. 下沉 ⑥\n",
                 ""},
                {{"7i6"}, 0, "think [7i6k] v. 想 ④\nsink [si6k] v. 下沉 ⑥\n", ""},
                {{"s"}, 0, "think [7i6k] v. 想 ④\n", ""},
                {{"--ipa", "5ip"}, 0, "ship [ʃip] n. 船 ④\nshipment [ˈʃipmənt] n. 装运 ⑥\n", ""},
                {{"5'i"}, 1, "", ""},
                {{"--", "-x"}, 1, "", ""},
                {{"5ip\xC3"}, 1, "", "INPUT is not valid UTF-8"},
                {{"--version"}, 0, "mirawen-lookup " MIRAWEN_VERSION "\n", ""}},
               kBand6);
    // IPA's own stress and length marks, the chart's symbols between them.
    expectRuns({{{"--ipa", "7i"}, 0, "think [θiŋk] v. 想 ④\nthief [ˌθiːf,ˈθif] n. x ⑥\n", ""},
                {{"--tsv", "--ipa", "sif"}, 0, "3\tsifsif\tthief\t,7i:f,'7if\tn. x\t⑥\n", ""}},
               "thief [,7i:f,'7if] n. x\n");
    // Each system's help names its own folders.
    std::ostringstream help, none;
    EXPECT_EQ(cli::LookupCommand::run({"--help"}, help, none), 0);
#if defined(_WIN32)
    EXPECT_NE(help.str().find("the current folder; %APPDATA%\\Mirawen"), std::string::npos);
    EXPECT_EQ(help.str().find("XDG"), std::string::npos);
#else
    EXPECT_NE(help.str().find("the current folder; $XDG_DATA_HOME/mirawen"), std::string::npos);
    EXPECT_EQ(help.str().find("APPDATA"), std::string::npos);
#endif
}

TEST(LookupCommand, EscapesTsvAndPassesRawBytesWhenAsked) {
    expectRuns({{{"--tsv", "t"}, 0, "3\tt1b\ttab\tt1b\ta\\tb\\\\c\\rd \xEF\xBF\xBD\t⑥\n", ""},
                {{"--encoding", "gbk", "t1"}, 0, "tab [t1b] a\tb\\c\rd \xFF \xA2\xDE\n", ""},
                {{"--encoding=utf-8", "t1"}, 0, "tab [t1b] a\tb\\c\rd \xEF\xBF\xBD ⑥\n", ""}},
               "tab [t1b] a\tb\\c\rd \xFF\n");
}

TEST(LookupCommand, ReportsErrorsWithStatusTwo) {
    const std::string usage = "\nUsage: mirawen-lookup";
    expectRuns(
        {{{"5ip"},
          2,
          "ship [5ip] n. 船 ④\n",
          "cannot open 大学六级.txt: No such file or directory\n"},
         {{"--bogus"}, 2, "", "unknown option '--bogus'" + usage},
         {{"a", "--", "b"}, 2, "", "more than one INPUT" + usage},
         {{"--encoding", "latin1"}, 2, "", "unknown encoding 'latin1' (utf-8 or gbk)" + usage},
         {{"--encoding"}, 2, "", "option '--encoding' needs a value" + usage},
         {{"--encoding", "gbk", "--ipa"}, 2, "", "--ipa needs --encoding utf-8" + usage}});
    // Text after a Ctrl-Z is dropped, and NUL bytes are no GBK text (the list
    // was saved in some other encoding): warnings, and the status stays.
    using namespace std::literals;
    expectRuns({{{"si6"},
                 0,
                 "think [7i6k] v. 想 ④\nsink [si6k] v. \0x ⑥\n"s,
                 "大学六级.txt: 6 bytes after Ctrl-Z ignored\nmirawen-lookup: 大学六级.txt: 1 NUL "
                 "bytes read as text; is it in an encoding other than GBK, UTF-8 or UTF-16?\n"}},
               "sink [si6k] v. \0x\n\x1Ajunk\r\n"s);
}

// A list saved in GBK, UTF-8 (with or without a mark) or UTF-16 reads alike;
// nothing of a Unicode list is lost, and a list that is not UTF-8 is GBK.
TEST(LookupCommand, ReadsEveryEncodingAlike) {
    const std::string utf8 = "ship [5ip] n. 船\r\nsmile [sm2il] 😀\r\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t unit : codec::utf8ToUtf16(utf8)) {
        le += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        be += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    const auto tsv = [](const std::string& list) {
        TempDir dir;
        dir.write("大学四级.txt", list);
        std::ostringstream out, err;
        (void)cli::LookupCommand::run({"--dir", dir.path().string(), "--tsv"}, out, err);
        return out.str();
    };
    // UTF-16 without its mark too, told by its zero bytes.
    for (const std::string& list : {*codec::fromUtf8(utf8), utf8, "\xEF\xBB\xBF" + utf8, le, be,
                                    le.substr(2), be.substr(2)}) {
        EXPECT_EQ(tsv(list), "0\t5ip\tship\t5ip\tn. 船\t④\n1\tsm2il\tsmile\tsm2il\t😀\t④\n")
            << testing::PrintToString(list);
    }
    EXPECT_EQ(tsv("caf\xE9 [k1fei] x\n"), "0\tk1fei\tcaf\xEF\xBF\xBD \tk1fei\tx\t④\n")
        << "0xE9 takes the space as its trail";
}

// The real program: the current folder is the default, the status reaches
// the shell, and the output is the same bytes on every system.
TEST(LookupCommand, ProgramReadsTheCurrentFolder) {
    TempDir dir;
    dir.write("大学四级.txt", "ship [5ip] n. \xB4\xAC\r\n");
#if defined(_WIN32)
    // Started by name from the test's own folder: the test is a Windows
    // program, and the build's path is not a Windows one.
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    const std::filesystem::path binary =
        std::filesystem::path(self).parent_path() / "mirawen-lookup.exe";
    const std::wstring command =
        L"cd /d \"" + dir.path().wstring() + L"\" && \"" + binary.wstring() + L"\" 5ip 2>NUL";
    FILE* pipe = _wpopen(command.c_str(), L"rb");
#else
    const std::string command =
        "cd '" + dir.path().string() + "' && " MIRAWEN_LOOKUP_BINARY " 5ip 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
#endif
    ASSERT_NE(pipe, nullptr);
    char line[64] = {};
    EXPECT_NE(std::fgets(line, sizeof line, pipe), nullptr);
#if defined(_WIN32)
    const int status = _pclose(pipe);
#else
    const int status = WEXITSTATUS(pclose(pipe));
    EXPECT_EQ(WEXITSTATUS(std::system(MIRAWEN_LOOKUP_BINARY " --help >/dev/full 2>/dev/null")), 2)
        << "a write error";
#endif
    EXPECT_STREQ(line, "ship [5ip] n. 船 ④\n");
    EXPECT_EQ(status, 2) << "大学六级.txt is missing";
}

} // namespace
