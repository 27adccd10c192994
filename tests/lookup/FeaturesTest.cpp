#include "codec/Codec.h"
#include "importer/SystemError.h"
#include "lookup/ListsLoad.h"
#include "lookup/Speech.h"
#include "lookup/TypedText.h"
#include "lookup/WindowImport.h"
#include "support/TempDir.h"
#include "vocab/EntryStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

namespace fs = std::filesystem;

const std::string kCsv = "word,phonetic,translation,tag\nship,ʃɪp,n. 船,cet4\n"
                         "sink,sɪŋk,,cet6\n,ʃ,,cet4\n";

const importer::ImportReport& finished(const lookup::ImportTask& task) {
    while (!task.done()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return task.report();
}

// The window's import runs beside it and ends in one notice; cancelled, it
// leaves the lists as they were.
TEST(WindowImport, RunsBesideTheWindowAndSaysHowItEnded) {
    TempDir dir;
    dir.write("ecdict.csv", kCsv);
    const fs::path lists = dir.path() / "lists";
    EXPECT_FALSE(lookup::holdsLists(lists));
    {
        lookup::ImportTask task({dir.path() / "ecdict.csv", lists, false});
        const importer::ImportReport& report = finished(task);
        EXPECT_EQ(task.progress(), 1.0);
        const std::string done =
            "词库已导入：大学四级.txt 1 个词，大学六级.txt 1 个词，跳过 1 行（共读了 3 行）。";
        // Read again from where the window reads: there, or a folder it names.
        const lookup::ImportEnd there = lookup::importEnded(report, lists, {});
        EXPECT_EQ(there.notice, done);
        EXPECT_EQ(there.reload->listFolder, lists);
        const lookup::ImportEnd elsewhere = lookup::importEnded(report, dir.path(), {});
        EXPECT_EQ(elsewhere.notice, done + "\n词库写在 " + importer::pathText(lists) +
                                        "，窗口读的却是 " + importer::pathText(dir.path()) +
                                        " 中的词库（当前文件夹里的词库，或 --dir 指定的文件夹）。");
    }
    EXPECT_TRUE(lookup::holdsLists(lists));
    dir.write("ecdict.csv", "word,phonetic\n");
    lookup::ImportTask failing({dir.path() / "ecdict.csv", lists, true});
    EXPECT_EQ(lookup::importNotice(finished(failing)),
              "导入失败，词库没有改变：the header row has no column \"translation\", \"tag\"");
    {
        // Cancelled after its first block, before its end: nothing changes.
        dir.write("ecdict.csv", kCsv + std::string(std::size_t{1} << 20, '\n'));
        std::promise<void> cancelled;
        std::shared_future<void> told = cancelled.get_future().share();
        lookup::ImportTask task({dir.path() / "ecdict.csv", dir.path() / "other", false},
                                [told] { told.wait(); });
        task.cancel();
        cancelled.set_value();
        EXPECT_EQ(finished(task).status, importer::ImportReport::Status::Stopped);
        EXPECT_FALSE(lookup::importEnded(task.report(), {}, {}).notice) << "no notice";
        EXPECT_FALSE(lookup::holdsLists(dir.path() / "other"));
    }

    vocab::DataEnvironment env; // the samples: beside the program, or in a system data folder
    env.xdgDataDirs = (dir.path() / "share").string();
    env.programFolder = dir.path() / "share" / "mirawen"; // the system's folder on Windows
    fs::create_directories(dir.path() / "share" / "mirawen");
    EXPECT_TRUE(lookup::showsSampleLists(dir.path() / "share" / "mirawen", env));
    EXPECT_FALSE(lookup::showsSampleLists(lists, env));
}

// The lists a window opens with are read beside it; what is taken is the
// folder asked for, sorted, as it is when asked for.
TEST(ListsLoad, GivesTheFolderAskedForAsItIsThen) {
    TempDir a, b;
    a.write("大学四级.txt", "sink [si6k] v. 沉\nship [5ip] n. 船\n");
    b.write("大学六级.txt", "thin [7in] a. 薄\n");
    lookup::ListsLoad lists;
    lists.begin(a.path());
    const lookup::LoadedLists begun = lists.take(a.path());
    ASSERT_EQ(begun.entries.size(), 2u);
    EXPECT_EQ(begun.entries[0].word, "ship");
    ASSERT_EQ(begun.result.failures.size(), 1u);
    EXPECT_EQ(begun.result.failures[0].fileName(), "大学六级.txt");

    a.write("大学四级.txt", "ship [5ip] n. 船\n");
    EXPECT_EQ(lists.take(a.path()).entries.size(), 1u) << "taken once, then read again";
    lists.begin(a.path());
    const lookup::LoadedLists other = lists.take(b.path());
    ASSERT_EQ(other.entries.size(), 1u);
    EXPECT_EQ(other.entries[0].word, "thin");
    lists.begin(b.path()); // never taken: waited for when it goes
}

TEST(Speech, SaysARowsWordOrTheSoundsTyped) {
    using lookup::Accent;
    using lookup::Utterance;
    vocab::EntryStore store;
    ASSERT_TRUE(store.appendList("ship [5ip] n.\n [x]\n", 0));
    EXPECT_EQ(lookup::rowUtterance(store, 0, Accent::American),
              (Utterance{Utterance::Kind::Word, "ship", Accent::American}));
    EXPECT_EQ(lookup::rowUtterance(store, 1, Accent::British), std::nullopt) << "no word";
    EXPECT_EQ(lookup::rowUtterance(store, 2, Accent::British), std::nullopt) << "no row";
    for (const std::u16string& typed : {std::u16string(u"'5ip"), std::u16string(u"/ˈʃɪp/")}) {
        EXPECT_EQ(lookup::typedUtterance(typed, Accent::British)->text, "'5ip");
    }
    EXPECT_EQ(lookup::typedUtterance(u" ' : ", Accent::British), std::nullopt);
    EXPECT_EQ(lookup::accentNamed(lookup::accentName(Accent::American)), Accent::American);
    EXPECT_EQ(lookup::accentNamed("anything else"), Accent::British);
}

// What a learner types or pastes, and what the box then searches for.
TEST(TypedText, IpaFindsWhatItsKeysFind) {
    const std::pair<std::u16string, std::optional<std::u16string>> cases[] = {
        {u"/ˈʃɪp/", u"5ip"},      // Oxford and Cambridge
        {u"[ʃɪp]", u"5ip"},       // Youdao and Eudic
        {u"ˈlaɪ.kɪŋ", u"laiki6"}, // Cambridge's syllable dots
        {u"ʃip ә", u"5ip 4"},     // ECDICT's ә
        {u"ˌθɪŋkː", u"7i6k"},     // marks no key holds
        {u"ʃ☃p", u"5☃p"},         // an unknown symbol stays, and finds nothing
        {u"5i'p", std::nullopt},  // keyboard code keeps its marks
        {u"5ip", std::nullopt},
    };
    for (const auto& [typed, keys] : cases) {
        EXPECT_EQ(lookup::keysOfTypedIpa(typed), keys);
    }
    // The box: pasted IPA becomes its keys; the undo that brings the IPA back,
    // told once or twice, and the keys themselves change nothing.
    lookup::TypedIpaBox box;
    const std::pair<std::u16string, std::optional<std::u16string>> edits[] = {
        {u"5", std::nullopt},     {u"/ʃɪp/", u"5ip"},       {u"5ip", std::nullopt},
        {u"/ʃɪp/", std::nullopt}, {u"/ʃɪp/", std::nullopt}, {u"/ʃɪp/x", u"/5ip/x"},
    };
    for (const auto& [text, shown] : edits) {
        EXPECT_EQ(box.edited(text), shown) << testing::PrintToString(codec::utf16ToUtf8(text));
    }
    EXPECT_EQ(lookup::chartKeyAt(0, 209), u'1');
    EXPECT_EQ(lookup::chartKeyAt(4 * 19 + 3, 209), u'5');
    EXPECT_EQ(lookup::chartKeyAt(2 * 208.9, 2 * 209), u'A') << "at any scale";
    EXPECT_EQ(lookup::chartKeyAt(209, 209), std::nullopt);

    vocab::EntryStore store;
    ASSERT_TRUE(store.appendList("ship ['5ip] n. \xB4\xAC\nsheep [5i:p]\n", 0));
    EXPECT_EQ(lookup::copiedText(store, {1, 0, 1}), u"ship [ˈʃip] n. 船\nsheep [ʃiːp]\n");
}

} // namespace
