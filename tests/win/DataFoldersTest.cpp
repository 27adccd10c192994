#include "vocab/DataFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// On Windows: --dir, else the current folder when it holds a list, else
// %APPDATA%\Mirawen, else the program's folder; the font beside the lists,
// else in the first of the last two that has it.
TEST(DataFolders, WindowsOrder) {
    const struct {
        const char* lists; // the folders that hold a list: c(urrent), a(ppdata), p(rogram)
        const char* fonts;
        bool dir;
        char listFolder, fontFolder; // '-': none
    } cases[] = {
        {"cap", "cap", false, 'c', 'c'}, {"ap", "p", false, 'a', 'p'},  {"p", "", false, 'p', '-'},
        {"", "a", false, 'c', 'a'},      {"cap", "ca", true, 'd', 'a'},
    };
    for (const auto& c : cases) {
        TempDir root;
        const fs::path current = root.path() / "current", appData = root.path() / "appdata",
                       program = root.path() / "program", dir = root.path() / "dir";
        auto folder = [&](char which) {
            return which == 'c'   ? current
                   : which == 'a' ? appData / "Mirawen"
                   : which == 'p' ? program
                                  : dir;
        };
        for (char which : std::string_view("capd")) {
            fs::create_directories(folder(which));
        }
        for (const char* l = c.lists; *l; ++l) {
            std::ofstream(folder(*l) / fs::u8path("大学六级.txt"));
        }
        for (const char* f = c.fonts; *f; ++f) {
            std::ofstream(folder(*f) / "TOPhonetic.ttf");
        }
        vocab::DataEnvironment env;
        env.currentFolder = current;
        env.appData = appData;
        env.programFolder = program;
        const vocab::DataLocation found =
            vocab::locateData(c.dir ? std::optional(dir) : std::nullopt, env);
        SCOPED_TRACE(std::string(c.lists) + "/" + c.fonts);
        EXPECT_EQ(found.listFolder, folder(c.listFolder));
        EXPECT_EQ(found.fontFile, c.fontFolder == '-'
                                      ? std::nullopt
                                      : std::optional(folder(c.fontFolder) / "TOPhonetic.ttf"));
    }
}

} // namespace
