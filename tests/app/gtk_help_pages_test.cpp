#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/gtk/help_pages.h"
#include "tests/support/temp_dir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

class HelpPagesTest : public test::TempDirTest {
  protected:
    void page(const std::string& dir, HelpPage which) {
        temp.write(dir + "/" + HelpPages::fileName(which), "<html></html>");
    }
};

TEST_F(HelpPagesTest, EachCommandHasItsOwnPage) {
    EXPECT_STRNE(HelpPages::fileName(HelpPage::Contents), HelpPages::fileName(HelpPage::Index));
    EXPECT_STRNE(HelpPages::fileName(HelpPage::Contents), HelpPages::fileName(HelpPage::Search));
    EXPECT_STRNE(HelpPages::fileName(HelpPage::Index), HelpPages::fileName(HelpPage::Search));
}

TEST_F(HelpPagesTest, TheFirstDirectoryWithContentsWins) {
    const fs::path root = temp.path();
    fs::create_directories(root / "empty");
    for (HelpPage p : {HelpPage::Contents, HelpPage::Search, HelpPage::Index}) {
        page("first", p);
        page("second dir", p);
    }
    HelpPages pages({(root / "empty").string(),
                     (root / "second dir" / "..").string() + "/second dir",
                     (root / "first").string()});
    std::optional<std::string> uri = pages.uri(HelpPage::Index);
    ASSERT_TRUE(uri.has_value());
    // A canonical file address, with the space escaped.
    EXPECT_EQ(*uri, "file://" + fs::canonical(root).string() + "/second%20dir/" +
                        HelpPages::fileName(HelpPage::Index));
}

TEST_F(HelpPagesTest, NoHelpGivesNoAddress) {
    HelpPages none({(temp / "missing").string()});
    EXPECT_FALSE(none.uri(HelpPage::Contents).has_value());

    // A set without its search page does not borrow one from a later directory.
    page("a", HelpPage::Contents);
    page("b", HelpPage::Contents);
    page("b", HelpPage::Search);
    HelpPages partial({(temp / "a").string(), (temp / "b").string()});
    EXPECT_TRUE(partial.uri(HelpPage::Contents).has_value());
    EXPECT_FALSE(partial.uri(HelpPage::Search).has_value());
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
