#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/gtk/help_pages.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

class HelpPagesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/kz-help-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
    }
    void TearDown() override { fs::remove_all(root_); }
    void page(const fs::path& dir, HelpTopic which) {
        fs::create_directories(dir);
        std::ofstream(dir / HelpPages::fileName(which)) << "<html></html>";
    }
    fs::path root_;
};

TEST_F(HelpPagesTest, EachCommandHasItsOwnPage) {
    EXPECT_STRNE(HelpPages::fileName(HelpTopic::Contents), HelpPages::fileName(HelpTopic::Index));
    EXPECT_STRNE(HelpPages::fileName(HelpTopic::Contents), HelpPages::fileName(HelpTopic::Search));
    EXPECT_STRNE(HelpPages::fileName(HelpTopic::Index), HelpPages::fileName(HelpTopic::Search));
}

TEST_F(HelpPagesTest, TheFirstDirectoryWithContentsWins) {
    fs::path empty = root_ / "empty";
    fs::path first = root_ / "first";
    fs::path second = root_ / "second dir";
    fs::create_directories(empty);
    for (HelpTopic p : {HelpTopic::Contents, HelpTopic::Search, HelpTopic::Index}) {
        page(first, p);
        page(second, p);
    }
    HelpPages pages({empty.string(), (second / "..").string() + "/second dir", first.string()});
    std::optional<std::string> uri = pages.uri(HelpTopic::Index);
    ASSERT_TRUE(uri.has_value());
    // A canonical file address, with the space escaped.
    EXPECT_EQ(*uri,
              "file://" + root_.string() + "/second%20dir/" + HelpPages::fileName(HelpTopic::Index));
}

TEST_F(HelpPagesTest, NoHelpGivesNoAddress) {
    HelpPages none({(root_ / "missing").string()});
    EXPECT_FALSE(none.uri(HelpTopic::Contents).has_value());

    // A set without its search page does not borrow one from a later directory.
    page(root_ / "a", HelpTopic::Contents);
    page(root_ / "b", HelpTopic::Contents);
    page(root_ / "b", HelpTopic::Search);
    HelpPages partial({(root_ / "a").string(), (root_ / "b").string()});
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
