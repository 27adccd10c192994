#include "cli/LookupCommand.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <sys/wait.h>

namespace {

const std::string kList4 = "大学四级.txt";
const std::string kList6 = "大学六级.txt";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

class LookupCommandTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir.write(kList4, "ship [5ip] n. \xB4\xAC\r\nthink [7i6k] v. \xCF\xEB\r\n"
                            "night [nait] n. \xD2\xB9\r\n");
        m_dir.write(kList6,
                    "shipment ['5ipm4nt] n. \xD7\xB0\xD4\xCB\nsink [si6k] v. \xCF\xC2\xB3\xC1\n");
    }

    Outcome run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--dir", m_dir.path().string()});
        std::ostringstream out;
        std::ostringstream err;
        const int status = LookupCommand::run(args, out, err);
        return {status, out.str(), err.str()};
    }

    TempDir m_dir;
};

struct LookupCase {
    std::vector<std::string> args;
    int status;
    std::string out;
};

TEST_F(LookupCommandTest, PrintsWhatTheWindowWouldSelect) {
    const LookupCase cases[] = {
        {{},
         0,
         "ship [5ip] n. 船 ④\nshipment ['5ipm4nt] n. 装运 ⑥\nnight [nait] n. 夜 ④\n"
         "think [7i6k] v. 想 ④\nsink [si6k] v. 下沉 ⑥\n"},
        {{"5ip"}, 0, "ship [5ip] n. 船 ④\nshipment ['5ipm4nt] n. 装运 ⑥\n"},
        {{"7i6"}, 0, "think [7i6k] v. 想 ④\nsink [si6k] v. 下沉 ⑥\n"},
        {{"s"}, 0, "think [7i6k] v. 想 ④\n"},
        {{"--ipa", "5ip"}, 0, "ship [ʃip] n. 船 ④\nshipment ['ʃipmənt] n. 装运 ⑥\n"},
        {{"zz"}, 1, ""},
        {{"5'i"}, 1, ""},
        {{""}, 1, ""},
        {{"--", "-x"}, 1, ""},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run(c.args);
        EXPECT_EQ(outcome.status, c.status) << testing::PrintToString(c.args);
        EXPECT_EQ(outcome.out, c.out) << testing::PrintToString(c.args);
        EXPECT_EQ(outcome.err, "") << testing::PrintToString(c.args);
    }
}

TEST_F(LookupCommandTest, TsvGivesStoreIndicesAndEscapesOnlyControlCharacters) {
    m_dir.write(kList6, "tab [t1b] a\tb\\c\rd \xFF\n");
    const Outcome outcome = run({"--tsv", "t"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "3\tt1b\ttab\tt1b\ta\\tb\\\\c\\rd \xEF\xBF\xBD\t⑥\n");
    EXPECT_EQ(run({"--tsv", "--ipa", "t"}).out, outcome.out) << "--ipa leaves TSV alone";
}

TEST_F(LookupCommandTest, GbkEncodingPassesBytesBothWays) {
    m_dir.write(kList6, "zhong [\xD6\xD0n] \xD6\xD0\n");
    const Outcome outcome = run({"--encoding", "gbk", "\xD6\xD0l"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "zhong [\xD6\xD0n] \xD6\xD0 \xA2\xDE\n");
    EXPECT_EQ(run({"--encoding=utf-8", "中l"}).out, "zhong [中n] 中 ⑥\n");
}

TEST_F(LookupCommandTest, InputThatGbkCannotHoldMatchesNothing) {
    const Outcome outcome = run({"5ip😀"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err,
              "mirawen-lookup: INPUT holds a character that GBK cannot hold; nothing matches\n");
}

TEST_F(LookupCommandTest, AMissingListIsNamedAndTheOtherStillServes) {
    std::filesystem::remove(m_dir.path() / std::filesystem::u8path(kList6));
    const Outcome outcome = run({"5ip"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "ship [5ip] n. 船 ④\n");
    EXPECT_EQ(outcome.err, "mirawen-lookup: cannot open 大学六级.txt: No such file or directory\n");
}

struct UsageCase {
    std::vector<std::string> args;
    std::string message;
};

TEST_F(LookupCommandTest, RejectsBadUsageWithAMessage) {
    const UsageCase cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-x"}, "unknown option '-x'"},
        {{"--directory", "d"}, "unknown option '--directory'"},
        {{"a", "b"}, "more than one INPUT"},
        {{"a", "--", "b"}, "more than one INPUT"},
        {{"--encoding", "latin1"}, "unknown encoding 'latin1' (utf-8 or gbk)"},
        {{"--encoding"}, "option '--encoding' needs a value"},
        {{"--encoding", "gbk", "--ipa"}, "--ipa needs --encoding utf-8"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = run(c.args);
        EXPECT_EQ(outcome.status, 2) << c.message;
        EXPECT_EQ(outcome.out, "") << c.message;
        EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')), "mirawen-lookup: " + c.message);
        EXPECT_NE(outcome.err.find("Usage: mirawen-lookup"), std::string::npos) << c.message;
    }
}

TEST_F(LookupCommandTest, AnswersHelpAndVersion) {
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: mirawen-lookup", 0), 0u);
    EXPECT_EQ(run({"--version"}).out, "mirawen-lookup 1.0\n");
}

// The real program, in a folder of its own: the current folder is the default,
// and the status reaches the shell.
TEST(LookupProgram, ReadsTheCurrentFolderAndExitsLikeGrep) {
    TempDir dir;
    dir.write(kList4, "ship [5ip] n.\r\n");
    const std::string command =
        "cd '" + dir.path().string() + "' && " MIRAWEN_LOOKUP_BINARY " 5ip 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        output += buffer;
    }
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2) << "大学六级.txt is missing";
    EXPECT_NE(output.find("ship [5ip] n. ④\n"), std::string::npos) << output;
    EXPECT_NE(output.find("cannot open 大学六级.txt"), std::string::npos) << output;
}

} // namespace
