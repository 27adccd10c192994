#include "codec/Codec.h"
#include "codec/SystemMessage.h"
#include "lookup/Cells.h"
#include "lookup/Notices.h"
#include "lookup/Search.h"
#include "lookup/WindowArgs.h"
#include "mirawen/Version.h"
#include "vocab/EntryStore.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using lookup::Platform;
using lookup::WindowArgs;
using Answer = WindowArgs::Answer;

TEST(Lookup, StartNoticesNameWhatIsMissingInOrder) {
    using vocab::FailureKind;
    const vocab::ListFailure band6Missing{1, FailureKind::Missing, {}};
    const vocab::ListFailure band6Folder{1, FailureKind::NotRegularFile,
                                         std::make_error_code(std::errc::is_a_directory)};
    const vocab::ListFailure band6Fifo{1, FailureKind::NotRegularFile, {}};
    const std::error_code denied = std::make_error_code(std::errc::permission_denied);
    const vocab::ListFailure band4Denied{0, FailureKind::Unreadable, denied};
    // The system's words, in the user's language where it has them.
    const std::string deniedText = codec::systemMessage(denied, codec::Language::User);
    const std::string ioText =
        codec::systemMessage(std::make_error_code(std::errc::io_error), codec::Language::User);
    EXPECT_EQ(lookup::fontNotice(false), "没有音标字体文件:TOPhonetic.ttf");
    EXPECT_EQ(lookup::fontNotice(true), std::nullopt);
    const std::pair<std::vector<vocab::ListFailure>, std::vector<std::string>> cases[] = {
        {{}, {}},
        {{band6Missing}, {"没有词库文件:大学六级.txt"}},
        {{band6Folder}, {"无法读取词库文件:大学六级.txt（这是文件夹，不是文件）"}},
        {{band6Fifo}, {"无法读取词库文件:大学六级.txt（不是普通文件）"}},
        {{{0, FailureKind::TooLarge, {}}}, {"无法读取词库文件:大学四级.txt（词库合计超过 4 GiB）"}},
        {{band4Denied}, {"无法读取词库文件:大学四级.txt（" + deniedText + "）"}},
        {{{0, FailureKind::Unreadable, {}}, band6Fifo},
         {"无法读取词库文件:大学四级.txt（" + ioText + "）",
          "无法读取词库文件:大学六级.txt（不是普通文件）"}},
        {{{0, FailureKind::Missing, {}}, band6Missing},
         {"没有词库文件:大学四级.txt", "没有词库文件:大学六级.txt"}},
    };
    for (const auto& [failures, notices] : cases) {
        EXPECT_EQ(lookup::listNotices({failures, {}, {}}), notices)
            << testing::PrintToString(notices);
    }
    EXPECT_FALSE(deniedText.empty());
    // The command line keeps the C library's English.
    EXPECT_EQ(band4Denied.message(), "cannot read 大学四级.txt: Permission denied");
}

TEST(Lookup, SearchSaysWhatOkDoes) {
    vocab::EntryStore store;
    // Sorted by folded key: sheep ship shipment night think sink emoji.
    ASSERT_TRUE(store.appendList("sheep [5i:p]\nship [5ip]\nshipment ['5ipm4nt]\nthink [7i6k]\n"
                                 "night [nait]\nsink [si6k]\nemoji [x\x94\x39\xFC\x36]\n",
                                 0));
    store.sort();
    auto word = [&](std::size_t row) { return std::string(store[row].word); };
    const struct {
        std::u16string typed;
        bool act, focusList;
        std::vector<std::vector<std::string>> runs;
        std::vector<std::string> scrollTo;
        const char* why;
    } cases[] = {
        {u"", false, false, {}, {}, "an empty box changes nothing"},
        {u"5ip", true, true, {{"sheep", "ship", "shipment"}}, {"sheep", "shipment"}, "one run"},
        {u"si6", true, true, {{"think", "sink"}}, {"think", "sink"}, "θ folds into s"},
        {u"5", true, true, {{"sheep"}}, {"sheep"}, "one byte: the first match only"},
        {u"7", true, true, {{"think"}}, {"think"}, "one byte, folded"},
        {u"5i'p", true, true, {}, {}, "marks are not dropped"},
        {u"5ipm4nt5ipm4nt", true, false, {}, {}, "longer than every key"},
        {u"x\U0001F600", true, true, {{"emoji"}}, {"emoji"}, "a four-byte GB18030 character"},
        {u"5ip\U0001F600", true, true, {}, {}, "searched as its bytes, in no key"},
        {std::u16string(1, u'\xD800'), true, true, {}, {}, "a lone surrogate is U+FFFD"},
    };
    for (const auto& c : cases) {
        const lookup::SearchOutcome outcome = lookup::search(store, c.typed);
        EXPECT_EQ(outcome.act, c.act) << c.why;
        EXPECT_EQ(outcome.focusList, c.focusList) << c.why;
        std::vector<std::vector<std::string>> runs;
        for (const lookup::RowRange& range : outcome.rows) {
            runs.emplace_back();
            for (std::size_t row = range.first; row <= range.last; ++row) {
                runs.back().push_back(word(row));
            }
        }
        EXPECT_EQ(runs, c.runs) << c.why;
        std::vector<std::string> scrolled;
        for (std::size_t row : outcome.scrollTo) {
            scrolled.push_back(word(row));
        }
        EXPECT_EQ(scrolled, c.scrollTo) << c.why;
    }
}

TEST(Lookup, CellsAreCutBeforeTheyAreConvertedKeysAreWhole) {
    const std::string ship = "\xB4\xAC";          // 船
    const std::string smile = "\x94\x39\xFC\x36"; // 😀
    const std::string ships = codec::fromUtf16(std::u16string(1000, u'船'));
    const std::u16string cut = u"…";
    const std::tuple<std::string, std::u16string, const char*> cases[] = {
        {std::string("n. ") + ship, u"n. 船", "short: as it is"},
        {std::string(1000, 'm'), std::u16string(1000, u'm'), "1,000 characters: whole"},
        {std::string(1 << 20, 'm'), std::u16string(1000, u'm') + cut, "a megabyte: cut"},
        {"a" + ships, std::u16string(u"a").append(999, u'船').append(cut), "whole characters"},
        {std::string(999, 'a') + smile + "b",
         std::u16string(999, u'a').append(u"\U0001F600").append(cut), "four bytes, one character"},
    };
    for (const auto& [text, cell, why] : cases) {
        EXPECT_EQ(lookup::cellText(text), cell) << why;
    }

    vocab::EntryStore store;
    const std::string key(40000, 'b');
    ASSERT_TRUE(store.appendList(std::string("long [") + key + "] n. " + ship + "\n", 0));
    EXPECT_EQ(lookup::cellText(store, 0, lookup::Word), u"long");
    EXPECT_EQ(lookup::cellText(store, 0, lookup::Phonetic), std::u16string(1000, u'b') + cut);
    EXPECT_EQ(lookup::cellText(store, 0, lookup::Meaning), u"n. 船");
    EXPECT_EQ(lookup::cellText(store, 0, lookup::Level), u"④");
    EXPECT_EQ(lookup::cellText(store, 0, lookup::ColumnCount), u"");
    EXPECT_EQ(lookup::cellText(store, 1, lookup::Word), u"");
    EXPECT_EQ(lookup::keyText(store, 0), std::u16string(key.size(), u'b'));
}

TEST(Lookup, WindowArgumentsAreReadInOrder) {
    const std::string help = lookup::windowHelp(Platform::Linux);
    const std::tuple<std::vector<std::string>, Answer, std::string> cases[] = {
        {{}, Answer::Run, ""},
        {{"--dir", "x"}, Answer::Run, "x"},
        {{"--dir=a=b"}, Answer::Run, "a=b"},
        {{"--dir", "--help"}, Answer::Run, "--help"},
        {{"--dir", "x", "--help"}, Answer::Help, help + "\n"},
        {{"-h", "--bogus"}, Answer::Help, help + "\n"},
        {{"-v"}, Answer::Version, "Mirawen " MIRAWEN_VERSION "\n"},
        {{"--dir"}, Answer::UsageError, "mirawen: 选项“--dir”缺少值 DIR。\n"},
        {{"--bogus", "--help"}, Answer::UsageError, "mirawen: 未知的选项“--bogus”。\n"},
        {{"--help=x"}, Answer::UsageError, "mirawen: 未知的选项“--help=x”。\n"},
        {{"--dir=x", "y"}, Answer::Run, "x"},
        {{"C:\\a\\大学四级.txt", "-"}, Answer::Run, ""},
        {{"y", "--dir", "x", "z"}, Answer::Run, "x"},
        {{"--", "--dir", "--bogus"}, Answer::Run, ""},
        {{"y", "-q"}, Answer::UsageError, "mirawen: 未知的选项“-q”。\n"},
    };
    for (const auto& [args, answer, dirOrText] : cases) {
        const WindowArgs read = lookup::readWindowArgs(args, Platform::Linux);
        const std::string what = testing::PrintToString(args);
        EXPECT_EQ(read.answer, answer) << what;
        EXPECT_EQ(read.answer == Answer::Run ? read.dir.value_or("").string() : read.text,
                  dirOrText)
            << what;
        EXPECT_EQ(read.exitStatus(), answer == Answer::UsageError ? 1 : 0) << what;
    }

    // Windows shows the same in a box, an error with the help below it.
    EXPECT_EQ(lookup::readWindowArgs(std::vector<std::string>{"--version"}, Platform::Windows).text,
              "mirawen " MIRAWEN_VERSION);
    EXPECT_EQ(lookup::readWindowArgs(std::vector<std::string>{"-x"}, Platform::Windows).text,
              "mirawen: 未知的选项“-x”。\n\n" + lookup::windowHelp(Platform::Windows));
    EXPECT_NE(help.find("~/.local/share/mirawen"), std::string::npos);
    EXPECT_NE(lookup::windowHelp(Platform::Windows).find("%APPDATA%\\Mirawen；程序所在的文件夹"),
              std::string::npos);
#if !defined(_WIN32)
    // A folder name is bytes on Linux, whatever their encoding.
    const std::vector<std::string> latin1{"--dir", "caf\xE9"};
    EXPECT_EQ(lookup::readWindowArgs(latin1).dir->native(), "caf\xE9");
#endif
}

} // namespace
