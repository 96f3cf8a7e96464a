#include <gtest/gtest.h>

#include "game_fixture.h"

namespace kz {
namespace {

class WholeGame : public GameTest,
                  public ::testing::WithParamInterface<std::tuple<FieldSize, ActionType>> {};

// Next, the generated solution played through mouse messages, YOU WIN!.
TEST_P(WholeGame, PlaysFromNextToYouWin) {
    const auto [size, type] = GetParam();
    for (uint32_t seed : {1u, 77u, 4096u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const int beepsBefore = game->host().beeps;
        startGame(size, type, seed);
        game->tick();
        ASSERT_TRUE(game->playSolution());
        GameScreen& s = screen();
        EXPECT_FALSE(board().isActive());
        EXPECT_EQ(board().getMovesMade(), board().getRequiredMoves());
        EXPECT_EQ(s.getMovesCounter()->getValue(), std::min(board().getRequiredMoves(), 99));
        EXPECT_TRUE(s.getWinBanner()->isVisible());
        EXPECT_EQ(game->host().beeps, beepsBefore + 1);
        EXPECT_FALSE(game->host().timerRunning());
        EXPECT_TRUE(s.getQuitButton()->isVisible());
        EXPECT_TRUE(s.getNextButton()->isVisible());
        EXPECT_FALSE(s.getRestartButton()->isVisible());
        EXPECT_FALSE(s.getGiveUpButton()->isVisible());
        const int32_t clock = s.getClockCounter()->getValue();
        game->tick();
        EXPECT_EQ(s.getClockCounter()->getValue(), clock);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryTypeOnSeveralSizes, WholeGame,
                         ::testing::Combine(::testing::Values(0, 2, 4, 5),
                                            ::testing::Values(Mixed, AddFromNone, AddFromSome,
                                                              MoveFromSome, RemoveFromFull,
                                                              RemoveFromSome)));

TEST_F(GameTest, GiveUpThenRestartTheNextGame) {
    startGame(3, RemoveFromSome, 5);
    clickStick(Horizontal, startSlots(Horizontal, true).front());
    clickButton(screen().getGiveUpButton());
    ASSERT_FALSE(board().isActive());
    startGame(3, RemoveFromSome, 6);
    clickStick(Vertical, startSlots(Vertical, true).front());
    clickButton(screen().getRestartButton());
    EXPECT_EQ(screen().getMovesCounter()->getValue(), 0);
    ASSERT_TRUE(game->playSolution());
    EXPECT_TRUE(screen().getWinBanner()->isVisible());
}

}  // namespace
}  // namespace kz
