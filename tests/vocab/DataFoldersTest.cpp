#include "vocab/DataFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

namespace fs = std::filesystem;

TEST(DataFolders, FollowTheFolderRules) {
    // Files under a fresh root: FOLDER/4 and FOLDER/6 are the lists, FOLDER/F
    // the font. XDG_DATA_HOME is @/data ("@" is the root) unless given.
    struct Case {
        const char *what, *files, *xdgDataHome, *dir, *listFolder, *fontFolder;
    };
    // clang-format off
    const Case cases[] = {
        {"--dir wins", "cwd/4 data/mirawen/6 s1/mirawen/F", "@/data", "dir", "dir", "s1/mirawen"},
        {"current folder, Band 6 only", "cwd/6 cwd/F data/mirawen/4", "@/data", nullptr, "cwd", "cwd"},
        {"user's before system's", "data/mirawen/4 s1/mirawen/6 s1/mirawen/F cwd/F", "@/data", nullptr,
         "data/mirawen", "s1/mirawen"},
        {"relative XDG_DATA_HOME", "home/.local/share/mirawen/6 s2/mirawen/F", "data", nullptr,
         "home/.local/share/mirawen", "s2/mirawen"},
        {"second system folder", "s1/mirawen/F s2/mirawen/4", "@/data", nullptr, "s2/mirawen", "s1/mirawen"},
        {"nothing anywhere", "data/F", "@/data", nullptr, "cwd", nullptr},
    };
    // clang-format on
    for (const Case& c : cases) {
        const TempDir root;
        std::istringstream files(c.files);
        for (std::string file; files >> file;) {
            const fs::path folder = root.path() / file.substr(0, file.size() - 2);
            fs::create_directories(folder);
            const char* names[] = {"大学四级.txt", "大学六级.txt", "TOPhonetic.ttf"};
            std::ofstream(folder /
                          fs::u8path(names[(file.back() == '6') + 2 * (file.back() == 'F')]));
        }
        const std::string at = root.path().string();
        vocab::DataEnvironment env{.currentFolder = root.path() / "cwd",
                                   .xdgDataHome = c.xdgDataHome[0] == '@' ? at + (c.xdgDataHome + 1)
                                                                          : c.xdgDataHome,
                                   .home = at + "/home",
                                   .xdgDataDirs = at + "/s1:" + at + "/s2",
                                   .appData = {},
                                   .programFolder = {}};
        const vocab::DataLocation found =
            vocab::locateData(c.dir ? std::optional(root.path() / c.dir) : std::nullopt, env);
        EXPECT_EQ(found.listFolder, root.path() / c.listFolder) << c.what;
        EXPECT_EQ(found.fontFile.value_or(""),
                  c.fontFolder ? root.path() / c.fontFolder / "TOPhonetic.ttf" : "")
            << c.what;
    }
    vocab::DataEnvironment unset; // the default data folders; a relative entry is skipped
    EXPECT_EQ(vocab::systemListFolders(unset),
              (std::vector<fs::path>{"/usr/local/share/mirawen", "/usr/share/mirawen"}));
    unset.xdgDataDirs = "s0:/opt/x";
    EXPECT_EQ(vocab::systemListFolders(unset), std::vector<fs::path>{"/opt/x/mirawen"});
}

} // namespace
