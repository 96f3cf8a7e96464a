// The game session as every program drives it: the start-up order, messages that only change
// the game and one frame that draws them, the menu commands and a remembered paint failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/common/commands.h"
#include "app/common/game_session.h"
#include "app/common/menu_table.h"
#include "display/messages.h"
#include "screen/image_table.h"
#include "tests/support/headless_game.h"
#include "tests/support/recording_display.h"
#include "tests/support/recording_host.h"
#include "tests/support/solution_walk.h"

namespace kz {
namespace {

TEST(GameSession, BuildsTheImagesInTableOrderAndHandsTheScreenItsSettings) {
    test::RecordingDisplay display;
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{4, MoveFromSome});
    EXPECT_EQ(session.screen().getFieldSize(), 4);
    EXPECT_EQ(session.screen().getActionType(), MoveFromSome);
    EXPECT_EQ(session.settings(), (GameSettings{4, MoveFromSome}));
    // The screen's size comes from the pictures, and nothing is drawn before a message.
    EXPECT_EQ(session.width(), 690);
    EXPECT_EQ(session.height(), 500);
    // A program sizes its window by the table before the pictures exist.
    EXPECT_EQ(GameSession::screenWidth(), session.width());
    EXPECT_EQ(GameSession::screenHeight(), session.height());
    EXPECT_TRUE(display.calls.empty());
    // Every picture is read once, whatever the number of elements showing it.
    EXPECT_EQ(display.openCount, static_cast<int>(kImageTable.size()));
    ASSERT_TRUE(session.paintAll() && session.frame());
    EXPECT_FALSE(display.calls.empty());
    EXPECT_EQ(display.openCount, static_cast<int>(kImageTable.size()));
}

// A shell that notes how many pictures had been read when each mark was set.
class MarkOrderShell : public RecordingShell {
  public:
    explicit MarkOrderShell(const test::RecordingDisplay& d) : display(d) {}
    void windowChanged(const WindowState& window) override {
        picturesReadAtMark.push_back(display.openCount);
        RecordingShell::windowChanged(window);
    }
    const test::RecordingDisplay& display;
    std::vector<int> picturesReadAtMark;
};

TEST(GameSession, MarksBothSettingsBeforeItReadsAPicture) {
    test::RecordingDisplay display;
    RecordingHost host;
    MarkOrderShell shell(display);
    GameSession session(display, host, shell, GameSettings{2, RemoveFromFull});
    EXPECT_EQ(shell.marks,
              (std::vector<std::pair<int, uint16_t>>{{kFieldSizeGroup, command::FieldSize2},
                                                     {kActionTypeGroup, command::RemoveFromFull}}));
    EXPECT_EQ(shell.picturesReadAtMark, (std::vector<int>{0})) << "both in one push";
    EXPECT_TRUE(shell.changes.empty()) << "marking what was read is no change";
}

TEST(GameSession, ValuesTheMenusDoNotNameMarkRandomAndMixed) {
    test::RecordingDisplay display;
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{7, 9});
    EXPECT_EQ(shell.marked(kFieldSizeGroup), command::FieldSizeRandom);
    EXPECT_EQ(shell.marked(kActionTypeGroup), command::Mixed);
}

TEST(GameSession, AFramePresentsOnceWhatItsDrawWroteInsideTheScreen) {
    test::RecordingDisplay display(1200, 900);
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{});
    session.moveTo(300, 200);
    ASSERT_TRUE(session.paintAll());
    EXPECT_TRUE(display.calls.empty()) << "an entry draws nothing";
    EXPECT_EQ(shell.framesWanted, 1);
    ASSERT_TRUE(session.frame());
    EXPECT_EQ(shell.presents, 1);
    ASSERT_FALSE(shell.presented.empty());
    const Rect screen{300, 200, 990, 700};
    for (const Rect& area : shell.presented) {
        EXPECT_FALSE(area.empty());
        EXPECT_EQ(area.intersected(screen), area)
            << area.left << "," << area.top << " " << area.right << "," << area.bottom;
    }
    // A message that changes nothing asks for no frame, and a frame then writes nothing.
    const size_t calls = display.calls.size();
    ASSERT_TRUE(session.mouse(msg::MouseMove, 0, 170, 250));
    EXPECT_FALSE(session.key(msg::KeyDown, 'A'));
    EXPECT_EQ(shell.framesWanted, 1);
    ASSERT_TRUE(session.frame());
    EXPECT_EQ(shell.presents, 1);
    EXPECT_EQ(display.calls.size(), calls);
}

// A tap as the page sends it: four messages that change the game, one frame asked for and one
// present, which shows what the four changed.
TEST(GameSession, SeveralMessagesAskForOneFrameAndItDrawsThemAll) {
    HeadlessGame game(KZ_SOURCE_ROOT, GameSettings{3, AddFromNone});
    ASSERT_TRUE(game.paintAll());
    auto [nextX, nextY] = HeadlessGame::centreOf(*game.screen().getNextButton());
    ASSERT_TRUE(game.click(nextX, nextY));
    ASSERT_TRUE(game.moveTo(nextX, nextY - 100));
    RecordingShell& shell = game.shell();
    const int wanted = shell.framesWanted;
    const int presents = shell.presents;
    const StickLayers before = game.board().getCurrentSticks();
    const StickPlace stick = solutionClicks(game.board()).front();
    const auto [x, y] = game.stickCentre(stick.first, stick.second);
    GameSession& session = game.session();
    ASSERT_TRUE(session.touch(msg::MouseMove, 0, x, y));
    ASSERT_TRUE(session.touch(msg::LeftButtonDown, mouseflag::LeftButton, x, y));
    ASSERT_TRUE(session.touch(msg::LeftButtonUp, 0, x, y));
    ASSERT_TRUE(session.pointerLeft());
    ASSERT_NE(game.board().getCurrentSticks(), before) << "the tap added a stick";
    EXPECT_EQ(shell.framesWanted, wanted + 1);
    EXPECT_EQ(shell.presents, presents) << "nothing drawn before the frame";
    ASSERT_TRUE(game.frame());
    EXPECT_EQ(shell.presents, presents + 1);
    EXPECT_FALSE(game.screen().isRedrawNeeded());
    // The frame left nothing out: the whole screen drawn again looks the same.
    const SoftwareSurface& pixels = game.display().targetPixels();
    const std::vector<uint32_t> framed(pixels.pixels(), pixels.pixels() + pixels.pixelCount());
    ASSERT_TRUE(game.paintAll());
    EXPECT_TRUE(std::equal(framed.begin(), framed.end(), pixels.pixels()));
}

class SessionCommands : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(game.paintAll()); }
    HeadlessGame game{KZ_SOURCE_ROOT};
};

TEST_F(SessionCommands, SettingCommandsChangeTheScreenThenTheMarkAndReportTheChange) {
    ASSERT_TRUE(game.command(command::FieldSize4));
    EXPECT_EQ(game.screen().getFieldSize(), 4);
    EXPECT_EQ(game.shell().marked(kFieldSizeGroup), command::FieldSize4);
    ASSERT_TRUE(game.command(command::MoveFromSome));
    EXPECT_EQ(game.screen().getActionType(), MoveFromSome);
    EXPECT_EQ(game.shell().marked(kActionTypeGroup), command::MoveFromSome);
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
    EXPECT_EQ(game.shell().marked(kFieldSizeGroup), command::FieldSizeRandom)
        << "the first mark stays";
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

TEST(GameSessionFailure, AFailedDrawShowsPaintErrorQuitsWithOneAndNothingDrawsAgain) {
    test::RecordingDisplay display;
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{});
    display.failCallIndex = 3;
    EXPECT_TRUE(session.paintAll());
    EXPECT_TRUE(shell.failures.empty()) << "an entry draws nothing";
    EXPECT_FALSE(session.frame());
    EXPECT_TRUE(session.failed());
    EXPECT_EQ(shell.failures, std::vector<FatalError>{FatalError::Paint});
    EXPECT_EQ(host.quitCode, 1);
    // What the draw wrote before it failed still reaches the screen.
    EXPECT_EQ(shell.presents, 1);
    EXPECT_FALSE(shell.presented.empty());
    const size_t calls = display.calls.size();
    EXPECT_FALSE(session.mouse(msg::MouseMove, 0, 100, 100));
    EXPECT_FALSE(session.timer());
    EXPECT_FALSE(session.paintAll());
    EXPECT_FALSE(session.command(command::FieldSize3));
    EXPECT_EQ(shell.framesWanted, 1) << "nothing is drawn again, so no frame is asked for";
    EXPECT_FALSE(session.frame());
    EXPECT_EQ(display.calls.size(), calls);
    EXPECT_EQ(shell.failures.size(), 1u) << "the box opens once";
    EXPECT_EQ(shell.presents, 1);
    // A program that is ending takes no more settings from the menu.
    EXPECT_EQ(session.settings().fieldSize, 0);
    EXPECT_TRUE(shell.changes.empty());
}

TEST(GameSessionFailure, APictureThatCannotBeReadFailsTheFirstDraw) {
    test::RecordingDisplay display;
    display.failOpen = true;
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{});
    EXPECT_TRUE(shell.failures.empty()) << "nothing is drawn before the first frame";
    EXPECT_TRUE(session.paintAll());
    EXPECT_FALSE(session.frame());
    EXPECT_EQ(shell.failures, std::vector<FatalError>{FatalError::Paint});
    EXPECT_EQ(host.quitCode, 1);
}

TEST(GameSessionFailure, AfterTheImagesAreDestroyedNothingIsRoutedOrDrawn) {
    test::RecordingDisplay display;
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{3, AddFromNone});
    ASSERT_TRUE(session.paintAll() && session.frame());
    session.destroyImages();
    const size_t calls = display.calls.size();
    EXPECT_TRUE(session.paintAll());
    EXPECT_TRUE(session.mouse(msg::LeftButtonDown, mouseflag::LeftButton, 117, 439));
    EXPECT_TRUE(session.frame());
    EXPECT_EQ(display.calls.size(), calls);
    EXPECT_EQ(shell.framesWanted, 1);
    EXPECT_EQ(session.settings(), (GameSettings{3, AddFromNone}));
}

TEST(WrittenAreas, NotesSuccessfulWritesToTheTargetCutToTheBounds) {
    test::RecordingDisplay display;
    WrittenAreas written(display);
    test::RecordingSurface offscreen("offscreen", 50, 50);
    Surface& target = *written.target();
    ASSERT_TRUE(written.fill(target, {-5, 10, 20, 30}, 0));
    ASSERT_TRUE(written.blit(target, {100, 100, 140, 130}, offscreen, {0, 0, 40, 30}, 0));
    ASSERT_TRUE(written.fill(offscreen, {0, 0, 10, 10}, 0)) << "not the target";
    ASSERT_TRUE(written.fill(target, {105, 105, 110, 110}, 0)) << "inside an earlier one";
    ASSERT_TRUE(written.fill(target, {200, 200, 200, 210}, 0)) << "empty";
    ASSERT_TRUE(written.fill(target, {680, 490, 700, 520}, 0));
    display.failCallIndex = static_cast<int>(display.calls.size());
    EXPECT_FALSE(written.fill(target, {300, 300, 310, 310}, 0)) << "refused";
    EXPECT_EQ(display.calls.size(), 7u) << "every call reaches the display";
    EXPECT_EQ(written.take(Rect{0, 0, 690, 500}),
              (std::vector<Rect>{{0, 10, 20, 30}, {100, 100, 140, 130}, {680, 490, 690, 500}}));
    EXPECT_TRUE(written.take(Rect{0, 0, 690, 500}).empty()) << "taking empties the record";
}

}  // namespace
}  // namespace kz
