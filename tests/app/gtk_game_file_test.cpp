// The Linux program's file of the game in progress: read and replaced whole, nothing read
// from what is not a regular file, and taken by one program at a time.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/gtk/game_file.h"
#include "tests/support/temp_dir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

class GameFileTest : public test::TempDirTest {
  protected:
    std::string path() const { return (temp.path() / "kestrane-zivadorured" / "game").string(); }
};

TEST_F(GameFileTest, WhatIsWrittenIsReadAndAnEmptyFileOrNoneIsNoGame) {
    GameFile file(path());
    EXPECT_FALSE(file.read());
    ASSERT_TRUE(file.write("a game\n", false));
    EXPECT_EQ(file.read(), "a game\n");
    ASSERT_TRUE(file.write("another\n", true));
    EXPECT_EQ(file.read(), "another\n");
    ASSERT_TRUE(file.write("", false));
    EXPECT_FALSE(file.read());

    fs::remove(path());
    fs::create_directory(path());
    EXPECT_FALSE(file.read());
    EXPECT_FALSE(file.write("a game\n", false)) << "a folder in its place is left alone";
    fs::remove(path());
    ASSERT_EQ(mkfifo(path().c_str(), 0600), 0);
    EXPECT_FALSE(file.read()) << "a pipe is never waited on";
}

TEST_F(GameFileTest, OneProgramAtATimeTakesTheGame) {
    auto first = std::make_unique<GameFile>(path());
    GameFile second(path());
    ASSERT_TRUE(first->claim());
    EXPECT_TRUE(first->claim());
    EXPECT_FALSE(second.claim()) << "a second window takes the game too";
    first.reset();
    EXPECT_TRUE(second.claim()) << "the game stays taken after its program ended";
}

}  // namespace
}  // namespace kz
