#include "screen/board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "display/image.h"
#include "display/messages.h"
#include "puzzle/random_source.h"
#include "tests/support/holder.h"
#include "tests/support/recording_display.h"

namespace kz {
namespace {

using test::EventRecorder;
using test::RecordingDisplay;

// A Board whose puzzle can also be set by hand, for layouts the generator would have to be
// searched for.
class HandSetBoard : public Board {
  public:
    using Board::Board;

    void setPuzzle(BoardMode puzzleMode, int32_t columns, int32_t rows, const StickLayers& start,
                   const StickLayers& solution, int32_t moves) {
        resetPlayState();
        activeColumns = columns;
        activeRows = rows;
        smallSide = std::min(columns, rows);
        largeSide = std::max(columns, rows);
        squareCount = squareCountFor(smallSide, largeSide);
        mode = puzzleMode;
        startSticks = start;
        solutionSticks = solution;
        requiredMoves = moves;
        targetSquares = findSquares(solution.horizontal.data(), solution.vertical.data(), nullptr);
        showPuzzle();
    }
};

// The Board as the game screen holds it: at (195, 5) in a parent that passes the mouse on and
// writes down what the Board reports. The pictures are the game's matchsticks, eight frames
// of 80 x 15 and of 15 x 80.
class BoardTest : public ::testing::Test {
  protected:
    BoardTest() { parent.enableMouse(); }

    RecordingDisplay display;
    Image horizontalStick{&display, BitmapName::resource(105), 80, 120, 1, 8, 8};
    Image verticalStick{&display, BitmapName::resource(104), 120, 80, 8, 1, 8};
    EventRecorder parent;
    HandSetBoard& board = *parent.add<HandSetBoard>(195, 5, &horizontalStick, &verticalStick, 5, 5);

    void startPuzzle(FieldSize size, ActionType type, uint32_t seed) {
        board.setFieldSize(size);
        board.setActionType(type);
        board.randomSource().seed(seed);
        board.newPuzzle();
        ASSERT_TRUE(board.isActive());
    }

    Element* sprite(StickOrientation o, int32_t index) {
        return o == Horizontal ? board.getHorizontalSprite(index) : board.getVerticalSprite(index);
    }
    int32_t frameOf(StickOrientation o, int32_t index) { return sprite(o, index)->getFrame(); }

    // The centre of a stick in the parent's coordinates, where the pointer reaches the Board.
    Point stickCentre(StickOrientation o, int32_t index) {
        Element* s = sprite(o, index);
        return {board.getX() + s->getX() + s->getWidth() / 2,
                board.getY() + s->getY() + s->getHeight() / 2};
    }
    InputResult moveTo(Point p) { return parent.onMouse(msg::MouseMove, 0, p.x, p.y); }
    InputResult hoverStick(StickOrientation o, int32_t index) {
        return moveTo(stickCentre(o, index));
    }
    // Moves onto the stick and clicks it; the result is the press's.
    InputResult clickStick(StickOrientation o, int32_t index) {
        const Point p = stickCentre(o, index);
        moveTo(p);
        const InputResult pressed =
            parent.onMouse(msg::LeftButtonDown, mouseflag::LeftButton, p.x, p.y);
        parent.onMouse(msg::LeftButtonUp, 0, p.x, p.y);
        return pressed;
    }

    // Active slots of one orientation that hold (or lack) a stick in the start layout.
    std::vector<int32_t> startSlots(StickOrientation o, bool withStick) {
        const StickLayers& start = board.getStartSticks();
        const auto& layer = o == Horizontal ? start.horizontal : start.vertical;
        std::vector<int32_t> out;
        for (int32_t i = 0; i < static_cast<int32_t>(layer.size()); ++i) {
            const bool active =
                o == Horizontal ? board.isActiveHorizontal(i) : board.isActiveVertical(i);
            if (active && (layer[static_cast<size_t>(i)] != 0) == withStick) {
                out.push_back(i);
            }
        }
        return out;
    }

    bool solvedReported() const {
        const auto codes = parent.codes();
        return std::find(codes.begin(), codes.end(), Board::Solved) != codes.end();
    }

    // Plays the generated solution by clicks: every stick to take away, then every slot to
    // fill; in a move puzzle each taken stick is put straight down in a slot.
    void playSolution() {
        const StickLayers& start = board.getStartSticks();
        const StickLayers& solution = board.getSolutionSticks();
        std::vector<std::pair<StickOrientation, int32_t>> taken;
        std::vector<std::pair<StickOrientation, int32_t>> filled;
        const auto collect = [&](StickOrientation o, const std::vector<uint8_t>& from,
                                 const std::vector<uint8_t>& to) {
            for (size_t i = 0; i < from.size(); ++i) {
                if (from[i] != to[i]) {
                    (from[i] != 0 ? taken : filled).emplace_back(o, static_cast<int32_t>(i));
                }
            }
        };
        collect(Horizontal, start.horizontal, solution.horizontal);
        collect(Vertical, start.vertical, solution.vertical);
        std::vector<std::pair<StickOrientation, int32_t>> clicks;
        if (board.getMode() == Move) {
            ASSERT_EQ(taken.size(), filled.size());
            for (size_t i = 0; i < taken.size(); ++i) {
                clicks.push_back(taken[i]);
                clicks.push_back(filled[i]);
            }
        } else {
            clicks = taken;
            clicks.insert(clicks.end(), filled.begin(), filled.end());
        }
        for (const auto& [o, index] : clicks) {
            ASSERT_EQ(clickStick(o, index), InputConsumed) << "stick " << index;
        }
    }
};

TEST_F(BoardTest, BeforeTheFirstPuzzleTheFullFieldIgnoresTheMouse) {
    EXPECT_EQ(board.getWidth(), 490);
    EXPECT_EQ(board.getHeight(), 490);
    EXPECT_EQ(board.getChildCount(), 60);
    for (int32_t i = 0; i < 30; ++i) {
        EXPECT_TRUE(board.getHorizontalSprite(i)->isVisible());
        EXPECT_EQ(frameOf(Horizontal, i), Present);
        EXPECT_EQ(board.getChild(i), board.getHorizontalSprite(i));  // horizontal sprites first
        EXPECT_EQ(board.getChild(30 + i), board.getVerticalSprite(i));
    }
    EXPECT_EQ(hoverStick(Horizontal, 7), InputIgnored);
    EXPECT_EQ(clickStick(Horizontal, 7), InputIgnored);
    EXPECT_EQ(board.getHoveredStick(), nullptr);
    EXPECT_EQ(frameOf(Horizontal, 7), Present);
    EXPECT_TRUE(parent.events.empty());
}

TEST_F(BoardTest, SpritesSitOnTheLatticeOfTheLargestField) {
    // Horizontal (x, y) at (95x + 15, 95y); vertical (x, y) at (95x, 95y + 15).
    Element* h = board.getHorizontalSprite(2 * 5 + 3);
    EXPECT_EQ(h->getX(), 3 * 95 + 15);
    EXPECT_EQ(h->getY(), 2 * 95);
    EXPECT_EQ(h->getWidth(), 80);
    Element* v = board.getVerticalSprite(4 * 5 + 1);
    EXPECT_EQ(v->getX(), 4 * 95);
    EXPECT_EQ(v->getY(), 95 + 15);
    EXPECT_EQ(v->getHeight(), 80);
}

TEST_F(BoardTest, AThreeByTwoFieldIsCentredWithOnlyItsSticksShown) {
    uint32_t seed = 1;
    for (;; ++seed) {
        RandomSource predictor;
        predictor.seed(seed);
        if (predictor.next() * 4 / 32768 + 2 == 3 && predictor.next() * 4 / 32768 + 2 == 2)
            break;
    }
    startPuzzle(0, RemoveFromFull, seed);
    ASSERT_EQ(board.getActiveColumns(), 3);
    ASSERT_EQ(board.getActiveRows(), 2);
    EXPECT_EQ(board.getX(), board.getHomeX() + 95);
    EXPECT_EQ(board.getY(), board.getHomeY() + 142);
    int horizontal = 0;
    int vertical = 0;
    for (int32_t i = 0; i < 30; ++i) {
        horizontal += board.getHorizontalSprite(i)->isVisible() ? 1 : 0;
        vertical += board.getVerticalSprite(i)->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(horizontal, 9);
    EXPECT_EQ(vertical, 8);
    // The sprites follow the Board: a visible stick is drawn where the pointer finds it.
    EXPECT_EQ(hoverStick(Vertical, 3 * 5 + 1), InputHandled);
    EXPECT_EQ(board.getHoveredStick(), board.getVerticalSprite(3 * 5 + 1));
}

TEST_F(BoardTest, HitTestFindsExactlyTheActiveStickRectangles) {
    startPuzzle(5, RemoveFromFull, 3);
    Board& b = board;
    EXPECT_EQ(b.hitTest(5, 5), nullptr);    // lattice corner
    EXPECT_EQ(b.hitTest(50, 50), nullptr);  // inside a cell
    EXPECT_EQ(b.hitTest(50, 5), b.getHorizontalSprite(0));
    EXPECT_EQ(b.getHoveredOrientation(), Horizontal);
    EXPECT_EQ(b.getHoveredIndex(), 0);
    EXPECT_EQ(b.hitTest(5, 50), b.getVerticalSprite(0));
    EXPECT_EQ(b.hitTest(485, 50), b.getVerticalSprite(25));
    EXPECT_EQ(b.getHoveredIndex(), 25);
    EXPECT_EQ(b.hitTest(50, 485), b.getHorizontalSprite(25));
    EXPECT_EQ(b.getHoveredOrientation(), Horizontal);
    EXPECT_EQ(b.hitTest(-1, 50), nullptr);
    EXPECT_EQ(b.hitTest(50, 490), nullptr);
    EXPECT_EQ(b.getHoveredIndex(), 25);  // a miss keeps the last hit

    // Sprite edges: the last pixel of a stick hits, the next one does not.
    EXPECT_EQ(b.hitTest(15, 14), b.getHorizontalSprite(0));
    EXPECT_EQ(b.hitTest(94, 0), b.getHorizontalSprite(0));
    EXPECT_EQ(b.hitTest(15, 15), nullptr);
    EXPECT_EQ(b.hitTest(14, 94), b.getVerticalSprite(0));
    EXPECT_EQ(b.hitTest(15, 94), nullptr);

    startPuzzle(2, RemoveFromFull, 3);  // centred: slots beyond the field never hit
    EXPECT_EQ(b.hitTest(2 * 95 + 50, 5), nullptr);
    EXPECT_EQ(b.hitTest(5, 2 * 95 + 50), nullptr);
    EXPECT_EQ(b.hitTest(2 * 95 + 5, 50), b.getVerticalSprite(10));
}

TEST_F(BoardTest, AddModeOnlyTouchesEmptySlotsAndTakesChangesBack) {
    startPuzzle(3, AddFromSome, 11);
    ASSERT_EQ(board.getMode(), Add);
    const int32_t present = startSlots(Horizontal, true).front();
    EXPECT_EQ(hoverStick(Horizontal, present), InputIgnored);
    EXPECT_EQ(board.getHoveredStick(), nullptr);
    EXPECT_EQ(frameOf(Horizontal, present), Present);
    EXPECT_EQ(clickStick(Horizontal, present), InputIgnored);
    EXPECT_EQ(frameOf(Horizontal, present), Present);
    EXPECT_EQ(board.getMovesMade(), 0);

    const int32_t empty = startSlots(Horizontal, false).front();
    hoverStick(Horizontal, empty);
    EXPECT_EQ(frameOf(Horizontal, empty), EmptyHover);
    clickStick(Horizontal, empty);
    EXPECT_EQ(frameOf(Horizontal, empty), AddedHover);
    EXPECT_EQ(board.getMovesMade(), 1);
    clickStick(Horizontal, empty);  // taken back
    EXPECT_EQ(frameOf(Horizontal, empty), EmptyHover);
    EXPECT_EQ(board.getMovesMade(), 0);
    EXPECT_EQ(board.getCurrentSticks(), board.getStartSticks());

    // Moving off the field drops the highlight.
    EXPECT_EQ(moveTo({5, 5}), InputHandled);
    EXPECT_EQ(frameOf(Horizontal, empty), Empty);
    EXPECT_EQ(board.getHoveredStick(), nullptr);
}

TEST_F(BoardTest, RemoveModeNeverHighlightsAnEmptySlot) {
    startPuzzle(4, RemoveFromSome, 5);
    ASSERT_EQ(board.getMode(), Remove);
    const int32_t empty = startSlots(Vertical, false).front();
    hoverStick(Vertical, empty);
    EXPECT_EQ(frameOf(Vertical, empty), Empty);
    const int32_t present = startSlots(Vertical, true).front();
    clickStick(Vertical, present);
    EXPECT_EQ(frameOf(Vertical, present), RemovedHover);
    EXPECT_EQ(board.getMovesMade(), 1);
    clickStick(Vertical, present);
    EXPECT_EQ(frameOf(Vertical, present), PresentHover);
    EXPECT_EQ(board.getMovesMade(), 0);
}

TEST_F(BoardTest, MoveModePicksUpAndPutsDownReportingEveryAcceptedClick) {
    startPuzzle(4, MoveFromSome, 9);
    ASSERT_EQ(board.getMode(), Move);
    const std::vector<int32_t> present = startSlots(Horizontal, true);
    const std::vector<int32_t> empty = startSlots(Horizontal, false);
    ASSERT_GE(present.size(), 2u);
    ASSERT_GE(empty.size(), 1u);

    EXPECT_EQ(hoverStick(Horizontal, present[0]), InputHandled);
    EXPECT_EQ(clickStick(Horizontal, present[0]), InputConsumed);
    EXPECT_EQ(frameOf(Horizontal, present[0]), RemovedHover);
    EXPECT_TRUE(board.isStickInHand());
    EXPECT_EQ(board.getMovesMade(), 0);
    EXPECT_EQ(parent.codes(), std::vector<ElementEvent>{Board::MovesChanged});  // count still 0
    EXPECT_EQ(parent.events.front().sender, &board);

    // With a stick in hand, sticks cannot be picked: the picked-up one loses its light, the
    // next one takes none, and its click is refused without a report.
    EXPECT_EQ(hoverStick(Horizontal, present[1]), InputIgnored);
    EXPECT_EQ(frameOf(Horizontal, present[1]), Present);
    EXPECT_EQ(frameOf(Horizontal, present[0]), Removed);
    EXPECT_EQ(board.getHoveredStick(), nullptr);
    EXPECT_EQ(clickStick(Horizontal, present[1]), InputIgnored);
    EXPECT_EQ(parent.events.size(), 1u);
    const Point q = stickCentre(Horizontal, present[1]);
    EXPECT_EQ(parent.onMouse(msg::RightButtonDown, 0, q.x, q.y), InputIgnored);

    const Point e = stickCentre(Horizontal, empty[0]);
    EXPECT_EQ(moveTo(e), InputHandled);
    EXPECT_EQ(moveTo({e.x + 1, e.y}), InputIgnored);  // same stick
    EXPECT_EQ(clickStick(Horizontal, empty[0]), InputConsumed);
    EXPECT_EQ(frameOf(Horizontal, empty[0]), AddedHover);
    EXPECT_FALSE(board.isStickInHand());
    EXPECT_EQ(board.getMovesMade(), 1);
    EXPECT_EQ(parent.events.size(), 2u);

    // The added stick can be picked up again and put back where the first one came from.
    clickStick(Horizontal, empty[0]);
    EXPECT_EQ(frameOf(Horizontal, empty[0]), EmptyHover);
    EXPECT_TRUE(board.isStickInHand());
    EXPECT_EQ(board.getMovesMade(), 0);  // one stick in hand is half a move
    clickStick(Horizontal, present[0]);
    EXPECT_EQ(frameOf(Horizontal, present[0]), PresentHover);
    EXPECT_EQ(board.getMovesMade(), 0);
    EXPECT_EQ(board.getCurrentSticks(), board.getStartSticks());
    EXPECT_EQ(parent.events.size(), 4u);
}

TEST_F(BoardTest, RestartWithAStickInHandLetsThePlayerPickOneUpAgain) {
    startPuzzle(4, MoveFromSome, 9);
    const std::vector<int32_t> present = startSlots(Horizontal, true);
    const std::vector<int32_t> empty = startSlots(Horizontal, false);
    ASSERT_GE(present.size(), 2u);
    ASSERT_GE(empty.size(), 1u);
    clickStick(Horizontal, present[0]);
    ASSERT_TRUE(board.isStickInHand());

    board.restart();
    EXPECT_FALSE(board.isStickInHand());
    EXPECT_EQ(board.getCurrentSticks(), board.getStartSticks());
    // Nothing in hand: an empty slot takes no highlight, a start stick does and can be taken.
    EXPECT_EQ(hoverStick(Horizontal, empty[0]), InputIgnored);
    EXPECT_EQ(frameOf(Horizontal, empty[0]), Empty);
    EXPECT_EQ(clickStick(Horizontal, present[1]), InputConsumed);
    EXPECT_EQ(frameOf(Horizontal, present[1]), RemovedHover);
    EXPECT_TRUE(board.isStickInHand());
}

TEST_F(BoardTest, AStrayStickWithTheRightCountsDoesNotSolve) {
    board.setFieldSize(4);
    board.setActionType(RemoveFromFull);
    // Look for a layout as far from the start as the solution, with as many squares, but
    // with one stick on no square: the solution less one stick plus another start stick.
    for (uint32_t seed = 1; seed < 200; ++seed) {
        board.randomSource().seed(seed);
        board.newPuzzle();
        const StickLayers solution = board.getSolutionSticks();
        for (size_t drop = 0; drop < solution.horizontal.size(); ++drop) {
            if (solution.horizontal[drop] == 0)
                continue;
            for (size_t keep = 0; keep < solution.vertical.size(); ++keep) {
                if (solution.vertical[keep] != 0 ||
                    !board.isActiveVertical(static_cast<int32_t>(keep))) {
                    continue;
                }
                StickLayers layout = solution;
                layout.horizontal[drop] = 0;
                layout.vertical[keep] = 1;
                if (board.findSquares(layout.horizontal.data(), layout.vertical.data(), nullptr) !=
                    board.getTargetSquares()) {
                    continue;
                }
                // Play it: remove every start stick the layout lacks.
                for (int32_t i = 0; i < 30; ++i) {
                    const size_t s = static_cast<size_t>(i);
                    if (board.getStartSticks().horizontal[s] != 0 && layout.horizontal[s] == 0) {
                        clickStick(Horizontal, i);
                    }
                    if (board.getStartSticks().vertical[s] != 0 && layout.vertical[s] == 0) {
                        clickStick(Vertical, i);
                    }
                }
                ASSERT_EQ(board.getCurrentSticks(), layout);
                EXPECT_EQ(board.getMovesMade(), board.getRequiredMoves());
                EXPECT_TRUE(board.isActive());
                EXPECT_FALSE(solvedReported());
                return;
            }
        }
    }
    FAIL() << "no layout with a stray stick found";
}

TEST_F(BoardTest, NoWinWhileAStickIsInHandEvenWithTheRightCounts) {
    // A 2 x 2 move puzzle; horizontal (x, y) is slot 5y + x, vertical (x, y) slot 5x + y.
    // The solution is two squares on a diagonal, top left and bottom right. The start lacks
    // two of its sticks, (1, 2) horizontal and (1, 1) vertical, and has two others,
    // (0, 2) horizontal and (0, 1) vertical: two moves away.
    StickLayers solution = SlotGrid(5, 5).emptyLayout();
    for (int32_t h : {0, 5, 6, 11}) {
        solution.horizontal[static_cast<size_t>(h)] = 1;
    }
    for (int32_t v : {0, 5, 6, 11}) {
        solution.vertical[static_cast<size_t>(v)] = 1;
    }
    StickLayers start = solution;
    start.horizontal[11] = 0;
    start.vertical[6] = 0;
    start.horizontal[10] = 1;
    start.vertical[1] = 1;
    board.setPuzzle(Move, 2, 2, start, solution, 2);
    ASSERT_EQ(board.getTargetSquares(), 2);

    // Two moves build the two top squares side by side, which need one stick less; the
    // (0, 1) vertical stick left over is then picked up and kept in hand.
    for (auto [from, to] : {std::pair{std::pair{Vertical, 11}, std::pair{Horizontal, 1}},
                            std::pair{std::pair{Horizontal, 10}, std::pair{Vertical, 10}}}) {
        ASSERT_EQ(clickStick(from.first, from.second), InputConsumed);
        ASSERT_EQ(clickStick(to.first, to.second), InputConsumed);
    }
    ASSERT_EQ(board.getMovesMade(), 2);
    ASSERT_EQ(clickStick(Vertical, 1), InputConsumed);

    // The field alone would count as solved: the required moves, two squares, no stray stick.
    ASSERT_TRUE(board.isStickInHand());
    EXPECT_EQ(board.getMovesMade(), board.getRequiredMoves());
    EXPECT_TRUE(board.formsTargetSquares(board.getCurrentSticks()));
    EXPECT_TRUE(board.isActive());
    EXPECT_FALSE(solvedReported());
}

TEST_F(BoardTest, GivingUpShowsStartAgainstSolutionAndStopsPlay) {
    startPuzzle(5, MoveFromSome, 17);
    const int32_t picked = startSlots(Vertical, true).front();
    clickStick(Vertical, picked);  // the player's own change is not shown
    board.showSolution();
    EXPECT_FALSE(board.isActive());
    const StickLayers& start = board.getStartSticks();
    const StickLayers& solution = board.getSolutionSticks();
    for (int32_t i = 0; i < 30; ++i) {
        const size_t s = static_cast<size_t>(i);
        const int32_t expected = start.vertical[s] != 0 ? (solution.vertical[s] ? Present : Removed)
                                                        : (solution.vertical[s] ? Added : Empty);
        EXPECT_EQ(frameOf(Vertical, i), expected) << i;
    }
    const int32_t before = frameOf(Vertical, picked);
    EXPECT_EQ(clickStick(Vertical, picked), InputIgnored);
    EXPECT_EQ(frameOf(Vertical, picked), before);
}

TEST_F(BoardTest, RestartShowsTheStartAndForgetsTheHighlight) {
    startPuzzle(3, RemoveFromFull, 4);
    clickStick(Horizontal, 0);
    clickStick(Vertical, 0);
    ASSERT_EQ(board.getMovesMade(), 2);
    hoverStick(Horizontal, 1);
    board.restart();
    EXPECT_EQ(board.getCurrentSticks(), board.getStartSticks());
    EXPECT_EQ(frameOf(Horizontal, 0), Present);
    EXPECT_EQ(frameOf(Horizontal, 1), Present);
    EXPECT_EQ(board.getHoveredStick(), nullptr);
    EXPECT_TRUE(board.isActive());
    // Leaving the stick afterwards must not step its plain frame back.
    moveTo({5, 5});
    EXPECT_EQ(frameOf(Horizontal, 1), Present);
    hoverStick(Horizontal, 1);
    EXPECT_EQ(frameOf(Horizontal, 1), PresentHover);
}

TEST_F(BoardTest, AWinDropsTheHighlightAndIgnoresFurtherInput) {
    startPuzzle(2, AddFromNone, 8);
    playSolution();
    EXPECT_TRUE(solvedReported());
    EXPECT_EQ(parent.codes().back(), Board::Solved);
    EXPECT_FALSE(board.isActive());
    EXPECT_EQ(board.getHoveredStick(), nullptr);
    for (int32_t i = 0; i < 30; ++i) {
        EXPECT_EQ(frameOf(Horizontal, i) % 2, 0);
        EXPECT_EQ(frameOf(Vertical, i) % 2, 0);
    }
    const StickLayers won = board.getCurrentSticks();
    EXPECT_EQ(hoverStick(Horizontal, 0), InputIgnored);
    EXPECT_EQ(clickStick(Horizontal, 0), InputIgnored);
    EXPECT_EQ(board.getCurrentSticks(), won);
}

}  // namespace
}  // namespace kz
