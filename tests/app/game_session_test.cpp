// The game session as every program drives it: the start-up order, one draw after every
// message, the menu commands and a remembered paint failure.
#include <gtest/gtest.h>

#include "app/common/commands.h"
#include "app/common/game_session.h"
#include "display/messages.h"
#include "screen/image_table.h"
#include "tests/support/headless_game.h"
#include "tests/support/recording_display.h"
#include "tests/support/recording_host.h"

namespace kz {
namespace {

TEST(GameSession, BuildsTheImagesInTableOrderAndHandsTheScreenItsSettings) {
    test::RecordingDisplay display;
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{4, MoveFromSome});
    EXPECT_EQ(activeDisplay(), &display);
    EXPECT_EQ(session.screen().getFieldSize(), 4);
    EXPECT_EQ(session.screen().getActionType(), MoveFromSome);
    EXPECT_EQ(session.settings(), (GameSettings{4, MoveFromSome}));
    // The screen's size comes from the pictures, and nothing is drawn before a message.
    EXPECT_EQ(session.width(), 690);
    EXPECT_EQ(session.height(), 500);
    EXPECT_TRUE(display.calls.empty());
    // Every picture is read once, whatever the number of elements showing it.
    EXPECT_EQ(display.openCount, static_cast<int>(kImageTable.size()));
    ASSERT_TRUE(session.paintAll());
    EXPECT_FALSE(display.calls.empty());
    EXPECT_EQ(display.openCount, static_cast<int>(kImageTable.size()));
}

class SessionCommands : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(game.paintAll()); }
    HeadlessGame game{KZ_SOURCE_ROOT};
};

TEST_F(SessionCommands, SettingCommandsChangeTheScreenThenTheMarkAndReportTheChange) {
    ASSERT_TRUE(game.command(command::FieldSize4));
    EXPECT_EQ(game.screen().getFieldSize(), 4);
    EXPECT_EQ(game.shell().fieldSizeMark, command::FieldSize4);
    ASSERT_TRUE(game.command(command::MoveFromSome));
    EXPECT_EQ(game.screen().getActionType(), MoveFromSome);
    EXPECT_EQ(game.shell().actionTypeMark, command::MoveFromSome);
    ASSERT_TRUE(game.command(command::RemoveFromFull));
    EXPECT_EQ(game.screen().getActionType(), RemoveFromFull);
    ASSERT_EQ(game.shell().changes.size(), 3u);
    EXPECT_EQ(game.shell().changes[0], (GameSettings{4, Mixed}));
    EXPECT_EQ(game.shell().changes[2], (GameSettings{4, RemoveFromFull}));
    EXPECT_EQ(game.session().settings(), (GameSettings{4, RemoveFromFull}));
}

TEST_F(SessionCommands, OtherCommandsGoToTheProgramOrToTheHost) {
    ASSERT_TRUE(game.command(command::HelpContents));
    ASSERT_TRUE(game.command(command::HelpSearch));
    ASSERT_TRUE(game.command(command::HelpIndex));
    ASSERT_TRUE(game.command(command::About));
    EXPECT_EQ(game.shell().helpOpened,
              (std::vector<HelpTopic>{HelpTopic::Contents, HelpTopic::Search, HelpTopic::Index}));
    EXPECT_EQ(game.shell().aboutShown, 1);
    EXPECT_EQ(game.host().quitCode, -1);
    // An id no menu has does nothing, and is still followed by a draw.
    ASSERT_TRUE(game.command(40008));
    EXPECT_TRUE(game.shell().changes.empty());
    EXPECT_EQ(game.shell().fieldSizeMark, 0);
    ASSERT_TRUE(game.command(command::Exit));
    EXPECT_EQ(game.host().quitCode, 0);
}

TEST_F(SessionCommands, ANewFieldSizeWaitsForTheNextPuzzle) {
    game.screen().setFieldSize(2);
    auto [x, y] = HeadlessGame::centreOf(*game.screen().getNextButton());
    ASSERT_TRUE(game.click(x, y));
    ASSERT_EQ(game.board().getActiveColumns(), 2);
    ASSERT_TRUE(game.command(command::FieldSize5));
    EXPECT_EQ(game.board().getActiveColumns(), 2);
    ASSERT_TRUE(game.click(HeadlessGame::centreOf(*game.screen().getGiveUpButton()).first,
                           HeadlessGame::centreOf(*game.screen().getGiveUpButton()).second));
    ASSERT_TRUE(game.click(x, y));
    EXPECT_EQ(game.board().getActiveColumns(), 5);
}

TEST(GameSessionFailure, AFailedDrawIsRememberedAndNothingDrawsAgain) {
    test::RecordingDisplay display;
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{});
    display.failCallIndex = 3;
    EXPECT_FALSE(session.paintAll());
    EXPECT_TRUE(session.failed());
    const size_t calls = display.calls.size();
    EXPECT_FALSE(session.mouse(msg::MouseMove, 0, 100, 100));
    EXPECT_FALSE(session.timer());
    EXPECT_FALSE(session.paintAll());
    EXPECT_FALSE(session.command(command::FieldSize3));
    EXPECT_EQ(display.calls.size(), calls);
    // A program that is ending takes no more settings from the menu.
    EXPECT_EQ(session.settings().fieldSize, 0);
    EXPECT_TRUE(shell.changes.empty());
}

TEST(GameSessionFailure, AfterTheImagesAreDestroyedNothingIsRoutedOrDrawn) {
    test::RecordingDisplay display;
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{3, AddFromNone});
    ASSERT_TRUE(session.paintAll());
    session.destroyImages();
    const size_t calls = display.calls.size();
    EXPECT_TRUE(session.paintAll());
    EXPECT_TRUE(session.mouse(msg::LeftButtonDown, mouseflag::LeftButton, 117, 439));
    EXPECT_EQ(display.calls.size(), calls);
    EXPECT_EQ(session.settings(), (GameSettings{3, AddFromNone}));
}

}  // namespace
}  // namespace kz
