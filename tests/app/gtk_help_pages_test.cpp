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
