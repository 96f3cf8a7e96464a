#include <gtest/gtest.h>

#include "game_fixture.h"
#include "puzzle/puzzle_code.h"

namespace kz {
namespace {

using GameScreenCode = GameTest;

TEST_F(GameScreenCode, APuzzleFromItsCodeStartsAGameAsNextWould) {
    startGame(0, Mixed, 2718);
    const std::string code = puzzleCode(board().getOrigin());
    const StickLayers start = board().getStartSticks();
    const StickLayers solution = board().getSolutionSticks();
    const int32_t required = board().getRequiredMoves();
    const int32_t target = board().getTargetSquares();
    const BoardMode mode = board().getMode();

    // In the middle of another game, with other settings and the clock running.
    clickButton(screen().getGiveUpButton());
    startGame(2, AddFromNone, 99);
    game->tick();
    const std::optional<PuzzleOrigin> origin = puzzleFromCode(code);
    ASSERT_TRUE(origin.has_value());
    ASSERT_TRUE(screen().startPuzzle(*origin));

    EXPECT_EQ(board().getStartSticks(), start);
    EXPECT_EQ(board().getSolutionSticks(), solution);
    EXPECT_EQ(board().getMode(), mode);
    EXPECT_EQ(screen().getMatchesCounter()->getValue(), required);
    EXPECT_EQ(screen().getSquaresCounter()->getValue(), target);
    EXPECT_EQ(screen().getClockCounter()->getValue(), 0);
    EXPECT_EQ(screen().getMovesCounter()->getValue(), 0);
    EXPECT_TRUE(screen().getGiveUpButton()->isVisible());
    EXPECT_EQ(screen().getTimerId(), 1u);
    EXPECT_EQ(screen().getFieldSize(), 2);
    EXPECT_EQ(screen().getActionType(), AddFromNone);
}

TEST_F(GameScreenCode, AnOriginTheBoardCannotBuildLeavesTheScreenAsItWas) {
    EXPECT_FALSE(screen().startPuzzle({1, 6, 2, AddFromNone}));
    EXPECT_FALSE(screen().startPuzzle({1, 3, 3, Mixed}));
    EXPECT_TRUE(screen().getStartText()->isVisible());
    EXPECT_TRUE(screen().getNextButton()->isVisible());
    EXPECT_FALSE(board().isActive());
    EXPECT_TRUE(game->host().timers.empty());
}

}  // namespace
}  // namespace kz
