#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/messages.h"
#include "game_fixture.h"

namespace kz {
namespace {

using GameScreenTest = GameTest;

struct Placed {
    const char* name;
    Element* element;
    int32_t x, y, width, height;
    bool visible;
};

TEST_F(GameScreenTest, LayoutPlacesEveryChildByItsRuleInDrawingOrder) {
    GameScreen& s = screen();
    EXPECT_EQ(s.getWidth(), 690);
    EXPECT_EQ(s.getHeight(), 500);
    const std::vector<Placed> expected = {
        {"backdrop", s.getBackdrop(), 0, 0, 690, 500, true},
        {"instructionsPanel", s.getInstructionsPanel(), 10, 5, 152, 165, true},
        {"movesPanel", s.getMovesPanel(), 10, 175, 152, 94, true},
        {"timePanel", s.getTimePanel(), 10, 274, 152, 94, true},
        {"controlsPanel", s.getControlsPanel(), 10, 373, 152, 116, true},
        {"restartButton", s.getRestartButton(), 24, 413, 62, 52, false},
        {"giveUpButton", s.getGiveUpButton(), 86, 413, 62, 52, false},
        {"quitButton", s.getQuitButton(), 24, 413, 62, 52, true},
        {"nextButton", s.getNextButton(), 86, 413, 62, 52, true},
        {"wordAdd", s.getWordAdd(), 72, 60, 27, 12, false},
        {"wordMove", s.getWordMove(), 68, 60, 35, 12, false},
        {"wordRemove", s.getWordRemove(), 59, 60, 54, 12, false},
        {"wordMatches", s.getWordMatches(), 66, 77, 60, 12, false},
        {"wordToForm", s.getWordToForm(), 60, 94, 51, 12, false},
        {"wordSquares", s.getWordSquares(), 66, 111, 60, 12, false},
        {"startText", s.getStartText(), 32, 60, 108, 72, true},
        {"winBanner", s.getWinBanner(), 35, 80, 101, 15, false},
        {"matchesCounter", s.getMatchesCounter(), 45, 77, 16, 10, false},
        {"squaresCounter", s.getSquaresCounter(), 45, 111, 16, 10, false},
        {"movesCounter", s.getMovesCounter(), 72, 225, 28, 16, true},
        {"clockCounter", s.getClockCounter(), 30, 324, 112, 16, true},
        {"board", s.getBoard(), 195, 5, 490, 490, true},
    };
    ASSERT_EQ(s.getChildCount(), 22);
    for (size_t i = 0; i < expected.size(); ++i) {
        const Placed& p = expected[i];
        SCOPED_TRACE(p.name);
        EXPECT_EQ(s.getChild(static_cast<int32_t>(i)), p.element);
        EXPECT_EQ(p.element->getX(), p.x);
        EXPECT_EQ(p.element->getY(), p.y);
        EXPECT_EQ(p.element->getWidth(), p.width);
        EXPECT_EQ(p.element->getHeight(), p.height);
        EXPECT_EQ(p.element->isVisible(), p.visible);
    }
    EXPECT_TRUE(s.isMouseEnabled());
    EXPECT_FALSE(s.isKeyEnabled());
    EXPECT_EQ(s.getTimerId(), 0u);
}

TEST_F(GameScreenTest, IdleScreenShowsASingleZeroAndAStoppedClock) {
    Counter* moves = screen().getMovesCounter();
    EXPECT_FALSE(moves->getChild(0)->isVisible());
    EXPECT_TRUE(moves->getChild(1)->isVisible());
    EXPECT_EQ(moves->getChild(1)->getFrame(), 0);
    EXPECT_EQ(screen().getClockCounter()->getValue(), 0);
    EXPECT_FALSE(game->host().timerRunning());
    game->tick();
    EXPECT_EQ(screen().getClockCounter()->getValue(), 0);
}

TEST_F(GameScreenTest, NextStartsAGameWithItsInstructionAndTheClock) {
    startGame(4, MoveFromSome, 31);
    GameScreen& s = screen();
    EXPECT_FALSE(s.getStartText()->isVisible());
    EXPECT_TRUE(s.getWordMove()->isVisible());
    EXPECT_FALSE(s.getWordAdd()->isVisible());
    EXPECT_FALSE(s.getWordRemove()->isVisible());
    for (Element* e : {s.getWordMatches(), s.getWordToForm(), s.getWordSquares(),
                       static_cast<Element*>(s.getMatchesCounter()),
                       static_cast<Element*>(s.getSquaresCounter())}) {
        EXPECT_TRUE(e->isVisible());
    }
    EXPECT_EQ(s.getMatchesCounter()->getValue(), board().getRequiredMoves());
    EXPECT_EQ(s.getSquaresCounter()->getValue(), board().getTargetSquares());
    EXPECT_TRUE(s.getRestartButton()->isVisible());
    EXPECT_TRUE(s.getGiveUpButton()->isVisible());
    EXPECT_FALSE(s.getQuitButton()->isVisible());
    EXPECT_FALSE(s.getNextButton()->isVisible());
    ASSERT_EQ(game->host().timers.size(), 1u);
    EXPECT_EQ(game->host().timers.at(1), 1000u);
    EXPECT_EQ(s.getTimerId(), 1u);

    game->tick();
    game->tick();
    EXPECT_EQ(s.getClockCounter()->getValue(), 2);
}

TEST_F(GameScreenTest, RestartResetsMovesButNotTheClock) {
    startGame(3, RemoveFromFull, 2);
    clickStick(Horizontal, 0);
    game->tick();
    ASSERT_EQ(screen().getMovesCounter()->getValue(), 1);
    clickButton(screen().getRestartButton());
    EXPECT_EQ(screen().getMovesCounter()->getValue(), 0);
    EXPECT_EQ(board().getCurrentSticks(), board().getStartSticks());
    EXPECT_EQ(screen().getClockCounter()->getValue(), 1);
    EXPECT_TRUE(game->host().timerRunning());
    EXPECT_TRUE(board().isActive());
}

TEST_F(GameScreenTest, GiveUpFreezesCountersAndKeepsTheInstruction) {
    startGame(3, AddFromNone, 6);
    clickStick(Horizontal, 0);
    game->tick();
    clickButton(screen().getGiveUpButton());
    GameScreen& s = screen();
    EXPECT_FALSE(game->host().timerRunning());
    EXPECT_FALSE(board().isActive());
    EXPECT_TRUE(s.getWordAdd()->isVisible());
    EXPECT_TRUE(s.getWordMatches()->isVisible());
    EXPECT_FALSE(s.getWinBanner()->isVisible());
    EXPECT_TRUE(s.getQuitButton()->isVisible());
    EXPECT_TRUE(s.getNextButton()->isVisible());
    EXPECT_FALSE(s.getRestartButton()->isVisible());
    EXPECT_EQ(s.getMovesCounter()->getValue(), 1);
    game->tick();
    EXPECT_EQ(s.getClockCounter()->getValue(), 1);
    EXPECT_EQ(game->host().beeps, 0);

    // A mode the screen does not know keeps the verb of the abandoned puzzle.
    s.showInstruction(static_cast<BoardMode>(7), 150, 120);
    EXPECT_TRUE(s.getWordAdd()->isVisible());
    EXPECT_EQ(s.getMatchesCounter()->getValue(), 99);
    EXPECT_EQ(s.getSquaresCounter()->getValue(), 99);
}

TEST_F(GameScreenTest, NextAfterAWinShowsTheNewInstructionFromZero) {
    startGame(2, RemoveFromFull, 12);
    game->tick();
    ASSERT_TRUE(game->playSolution());
    GameScreen& s = screen();
    ASSERT_TRUE(s.getWinBanner()->isVisible());
    EXPECT_FALSE(s.getWordRemove()->isVisible());
    EXPECT_FALSE(s.getMatchesCounter()->isVisible());

    startGame(2, AddFromNone, 13);
    EXPECT_FALSE(s.getWinBanner()->isVisible());
    EXPECT_TRUE(s.getWordAdd()->isVisible());
    EXPECT_EQ(s.getMovesCounter()->getValue(), 0);
    EXPECT_EQ(s.getClockCounter()->getValue(), 0);
    EXPECT_EQ(game->host().startedTimers, 2);
}

TEST_F(GameScreenTest, QuitAsksTheHostToEndWithZero) {
    clickButton(screen().getQuitButton());
    EXPECT_EQ(game->host().quitCode, 0);
}

TEST_F(GameScreenTest, KeysReachNothing) {
    startGame(3, AddFromNone, 7);
    const StickLayers before = board().getCurrentSticks();
    EXPECT_EQ(screen().onKey(msg::KeyDown, 0x0D, 0), InputIgnored);
    EXPECT_TRUE(game->key(msg::KeyUp, 0x20));
    EXPECT_EQ(board().getCurrentSticks(), before);
    EXPECT_TRUE(screen().getGiveUpButton()->isVisible());
}

TEST_F(GameScreenTest, TheClockStopsAtItsLastSecond) {
    startGame(2, AddFromNone, 1);
    screen().getClockCounter()->setValue(215998);
    game->tick();
    game->tick();
    EXPECT_EQ(screen().getClockCounter()->getValue(), 215999);
}

TEST_F(GameScreenTest, SettingsReachTheBoardOnlyAtTheNextPuzzle) {
    startGame(5, RemoveFromFull, 3);
    screen().setFieldSize(2);
    screen().setActionType(MoveFromSome);
    EXPECT_EQ(screen().getFieldSize(), 2);
    EXPECT_EQ(screen().getActionType(), MoveFromSome);
    EXPECT_EQ(board().getActiveColumns(), 5);
    EXPECT_EQ(board().getMode(), Remove);
    clickButton(screen().getGiveUpButton());
    clickButton(screen().getNextButton());
    EXPECT_EQ(board().getActiveColumns(), 2);
    EXPECT_EQ(board().getMode(), Move);
}

TEST(GameScreenFailure, MissingPicturesMakeTheFirstDrawFail) {
    HeadlessGame game("/nonexistent");
    EXPECT_FALSE(game.paintAll());
}

}  // namespace
}  // namespace kz
