#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/common/menu_table.h"
#include "app/common/menu_text.h"
#include "app/gtk/help_pages.h"
#include "tests/support/temp_dir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

class HelpPagesTest : public test::TempDirTest {
  protected:
    void page(const std::string& dir, HelpTopic which) {
        temp.write(dir + "/" + HelpPages::fileName(which), "<html></html>");
    }
};

TEST_F(HelpPagesTest, EachCommandHasItsOwnPage) {
    EXPECT_STRNE(HelpPages::fileName(HelpTopic::Contents), HelpPages::fileName(HelpTopic::Index));
    EXPECT_STRNE(HelpPages::fileName(HelpTopic::Contents), HelpPages::fileName(HelpTopic::Search));
    EXPECT_STRNE(HelpPages::fileName(HelpTopic::Index), HelpPages::fileName(HelpTopic::Search));
}

TEST_F(HelpPagesTest, TheFirstDirectoryWithContentsWins) {
    const fs::path root = temp.path();
    fs::create_directories(root / "empty");
    for (HelpTopic p : {HelpTopic::Contents, HelpTopic::Search, HelpTopic::Index}) {
        page("first", p);
        page("second dir", p);
    }
    HelpPages pages({(root / "empty").string(),
                     (root / "second dir" / "..").string() + "/second dir",
                     (root / "first").string()});
    std::optional<std::string> uri = pages.uri(HelpTopic::Index);
    ASSERT_TRUE(uri.has_value());
    // A canonical file address, with the space escaped.
    EXPECT_EQ(*uri, "file://" + fs::canonical(root).string() + "/second%20dir/" +
                        HelpPages::fileName(HelpTopic::Index));
}

TEST_F(HelpPagesTest, NoHelpGivesNoAddress) {
    HelpPages none({(temp / "missing").string()});
    EXPECT_FALSE(none.uri(HelpTopic::Contents).has_value());

    // A set without its search page does not borrow one from a later directory.
    page("a", HelpTopic::Contents);
    page("b", HelpTopic::Contents);
    page("b", HelpTopic::Search);
    HelpPages partial({(temp / "a").string(), (temp / "b").string()});
    EXPECT_TRUE(partial.uri(HelpTopic::Contents).has_value());
    EXPECT_FALSE(partial.uri(HelpTopic::Search).has_value());
}

// The help as this program ships it: the Windows pages and those of what only this program
// and the page have, reached from the contents page and listed in the index and the search.
TEST(StagedHelp, HoldsThePagesOfThisProgramToo) {
    const fs::path staged = KZ_STAGED_HELP_DIR;
    const auto text = [&](const char* name) {
        std::ifstream in(staged / name, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    };
    const std::string contents = text(HelpPages::fileName(HelpTopic::Contents));
    const std::string index = text(HelpPages::fileName(HelpTopic::Index));
    const std::string search = text(HelpPages::fileName(HelpTopic::Search));
    for (const char* page : {"keys.html", "puzzle-codes.html", "grades.html"}) {
        EXPECT_TRUE(fs::is_regular_file(staged / page)) << page;
        const std::string link = std::string("href=\"") + page + "\"";
        EXPECT_NE(contents.find(link), std::string::npos) << page;
        EXPECT_NE(index.find(link), std::string::npos) << page;
        EXPECT_NE(search.find(std::string("file: \"") + page + "\""), std::string::npos) << page;
    }
    EXPECT_EQ(contents.find("<!-- more topics -->"), std::string::npos);
    EXPECT_FALSE(fs::exists(staged / "contents-topics.inc"));
    // The key table holds the keys of the menu table, and the Menus page this program's Game
    // menu: every line of it, with the keys where the table gives them.
    const std::string keys = text("keys.html");
    EXPECT_NE(keys.find(helpKeyRows()), std::string::npos);
    EXPECT_NE(keys.find("<kbd>Ctrl</kbd> + <kbd>Z</kbd></td><td>Undo</td>"), std::string::npos);
    const std::string menus = text("menus.html");
    const char* menu = "";
    for (const MenuEntry& entry : kMenuTable) {
        if (entry.depth == 0) {
            menu = entry.label;
        }
        if (entry.kind == MenuEntry::Item && std::string(menu) == "&Game") {
            std::string label = menuLabel(entry.command);
            if (label.size() > 3 && label.compare(label.size() - 3, 3, "...") == 0) {
                label.replace(label.size() - 3, 3, "&hellip;");
            }
            EXPECT_NE(menus.find(label), std::string::npos) << label;
        }
    }
    for (const std::string& page : {keys, menus}) {
        EXPECT_EQ(page.find("<!-- "), std::string::npos) << "a fragment was left out";
    }
    // The Windows help project stays out of this help.
    EXPECT_FALSE(fs::exists(staged / "kestrane-zivadorured.hhp"));
}

TEST(HelpPagesDefaults, LookBesideTheProgramAsInstalledThenAsBuilt) {
    std::vector<std::string> dirs = HelpPages::defaultDirectories();
    ASSERT_GE(dirs.size(), 2u);
    fs::path programDir = fs::read_symlink("/proc/self/exe").parent_path();
    EXPECT_EQ(fs::path(dirs[0]).lexically_normal(),
              (programDir / "../share/kestrane-zivadorured/help").lexically_normal());
    EXPECT_EQ(fs::path(dirs[1]), programDir / "help");
}

}  // namespace
}  // namespace kz
