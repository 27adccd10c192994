#include "vocab/DataFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

namespace fs = std::filesystem;

TEST(DataFolders, FollowTheFolderRules) {
    // Files under a fresh root: FOLDER/4 and FOLDER/6 are the lists, FOLDER/F
    // the font. On Linux, XDG_DATA_HOME is @/data ("@" is the root) unless given.
    struct Case {
        const char *what, *files, *xdgDataHome, *dir, *listFolder, *fontFolder;
    };
    // clang-format off
#if defined(_WIN32) // %APPDATA% is @/appdata, the program's folder @/prog
    const Case cases[] = {
        {"--dir wins", "cwd/4 appdata/Mirawen/6 prog/F", nullptr, "dir", "dir", "prog"},
        {"current folder, Band 6 only", "cwd/6 cwd/F appdata/Mirawen/4", nullptr, nullptr, "cwd", "cwd"},
        {"user's before the program's", "appdata/Mirawen/4 prog/6 prog/F cwd/F", nullptr, nullptr,
         "appdata/Mirawen", "prog"},
        {"the program's folder", "prog/4 appdata/Mirawen/F", nullptr, nullptr, "prog", "appdata/Mirawen"},
        {"nothing anywhere", "x/F", nullptr, nullptr, "cwd", nullptr},
    };
#else
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
#endif
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
        vocab::DataEnvironment env;
        env.currentFolder = root.path() / "cwd";
#if defined(_WIN32)
        env.appData = root.path() / "appdata";
        env.programFolder = root.path() / "prog";
#else
        const std::string at = root.path().string();
        env.xdgDataHome = c.xdgDataHome[0] == '@' ? at + (c.xdgDataHome + 1) : c.xdgDataHome;
        env.home = at + "/home";
        env.xdgDataDirs = at + "/s1:" + at + "/s2";
#endif
        const vocab::DataLocation found =
            vocab::locateData(c.dir ? std::optional(root.path() / c.dir) : std::nullopt, env);
        EXPECT_EQ(found.listFolder, root.path() / c.listFolder) << c.what;
        EXPECT_EQ(found.fontFile.value_or(""),
                  c.fontFolder ? root.path() / c.fontFolder / "TOPhonetic.ttf" : "")
            << c.what;
    }
#if !defined(_WIN32)
    vocab::DataEnvironment unset; // the default data folders; a relative entry is skipped
    EXPECT_EQ(vocab::systemListFolders(unset),
              (std::vector<fs::path>{"/usr/local/share/mirawen", "/usr/share/mirawen"}));
    unset.xdgDataDirs = "s0:/opt/x";
    EXPECT_EQ(vocab::systemListFolders(unset), std::vector<fs::path>{"/opt/x/mirawen"});
#endif
    // No usable home: no user's folder, rather than one under whatever folder
    // a program starts in.
    for (const char* home : {"", "relative"}) {
        vocab::DataEnvironment env;
        env.home = home;
        env.xdgDataHome = "data";
        env.appData = home;
        EXPECT_EQ(vocab::userListFolder(env), std::nullopt) << home;
    }
}

} // namespace
