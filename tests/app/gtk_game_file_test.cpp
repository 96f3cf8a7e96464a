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

using State = TextMedium::State;

State stateOf(GameFile& file) {
    return file.read().state;
}

TEST_F(GameFileTest, WhatIsWrittenIsReadAndAnEmptyFileOrNoneIsNoGame) {
    GameFile file(path());
    EXPECT_EQ(stateOf(file), State::Missing);
    ASSERT_TRUE(file.write("a game\n"));
    EXPECT_EQ(file.read().text, "a game\n");
    file.lastWrites();
    ASSERT_TRUE(file.write("another\n"));
    EXPECT_EQ(file.read().text, "another\n");
    ASSERT_TRUE(file.write(""));
    EXPECT_EQ(stateOf(file), State::Missing);

    fs::remove(path());
    fs::create_directory(path());
    EXPECT_EQ(stateOf(file), State::Missing);
    EXPECT_FALSE(file.write("a game\n")) << "a folder in its place is left alone";
    fs::remove(path());
    ASSERT_EQ(mkfifo(path().c_str(), 0600), 0);
    EXPECT_EQ(stateOf(file), State::Missing) << "a pipe is never waited on";
}

TEST_F(GameFileTest, OneProgramAtATimeTakesTheGame) {
    auto first = std::make_unique<GameFile>(path());
    GameFile second(path());
    ASSERT_TRUE(first->write("a game\n"));
    EXPECT_EQ(first->read().text, "a game\n");
    EXPECT_EQ(first->read().state, State::Read) << "the game stays the first one's";
    EXPECT_EQ(stateOf(second), State::Unusable) << "a second window takes the game too";
    first.reset();
    EXPECT_EQ(second.read().text, "a game\n") << "the game is free once its program ended";
}

}  // namespace
}  // namespace kz
