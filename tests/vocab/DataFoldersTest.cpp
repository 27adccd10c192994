#include "vocab/DataFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

namespace fs = std::filesystem;

struct Case {
    const char* what;
    const char* files;       // under the root: FOLDER/4, /6 the lists, FOLDER/F the font
    const char* xdgDataHome; // "@" is the root
    bool dirGiven;           // --dir @/dir
    const char* listFolder;
    const char* fontFolder; // nullptr: the font is nowhere
};

TEST(DataFolders, FollowTheFolderRules) {
    // clang-format off
    const Case cases[] = {
        {"--dir wins", "cwd/4 data/mirawen/6 s1/mirawen/F", "@/data", true, "dir", "s1/mirawen"},
        {"current folder, Band 6 only", "cwd/6 cwd/F data/mirawen/4", "@/data", false, "cwd", "cwd"},
        {"user's before system's", "data/mirawen/4 s1/mirawen/6 s1/mirawen/F cwd/F", "@/data", false,
         "data/mirawen", "s1/mirawen"},
        {"relative XDG_DATA_HOME", "home/.local/share/mirawen/6 s2/mirawen/F", "data", false,
         "home/.local/share/mirawen", "s2/mirawen"},
        {"empty XDG_DATA_HOME", "home/.local/share/mirawen/4 home/.local/share/mirawen/F", "", false,
         "home/.local/share/mirawen", "home/.local/share/mirawen"},
        {"second system folder", "s1/mirawen/F s2/mirawen/4", "@/data", false,
         "s2/mirawen", "s1/mirawen"},
        {"nothing anywhere", "data/F", "@/data", false, "cwd", nullptr},
    };
    // clang-format on
    for (const Case& c : cases) {
        const TempDir root;
        std::istringstream files(c.files);
        for (std::string file; files >> file;) {
            const fs::path folder = root.path() / file.substr(0, file.size() - 2);
            fs::create_directories(folder);
            const char kind = file.back();
            std::ofstream(folder / fs::u8path(kind == '4'   ? "大学四级.txt"
                                              : kind == '6' ? "大学六级.txt"
                                                            : "TOPhonetic.ttf"))
                << "x";
        }
        const std::string at = root.path().string();
        vocab::DataEnvironment env;
        env.currentFolder = root.path() / "cwd";
        env.home = at + "/home";
        env.xdgDataHome = c.xdgDataHome[0] == '@' ? at + (c.xdgDataHome + 1) : c.xdgDataHome;
        env.xdgDataDirs = "s0:" + at + "/s1:" + at + "/s2"; // s0 is relative: skipped
        const vocab::DataLocation found =
            vocab::locateData(c.dirGiven ? std::optional(root.path() / "dir") : std::nullopt, env);
        EXPECT_EQ(found.listFolder, root.path() / c.listFolder) << c.what;
        EXPECT_EQ(found.fontFile, c.fontFolder
                                      ? std::optional(root.path() / c.fontFolder / "TOPhonetic.ttf")
                                      : std::nullopt)
            << c.what;
    }
    vocab::DataEnvironment env;
    EXPECT_EQ(vocab::systemListFolders(env),
              (std::vector<fs::path>{"/usr/local/share/mirawen", "/usr/share/mirawen"}));
    env.xdgDataDirs = "rel:/opt/x";
    EXPECT_EQ(vocab::systemListFolders(env), std::vector<fs::path>{"/opt/x/mirawen"});
}

} // namespace
