#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "display/messages.h"
#include "game_fixture.h"

namespace kz {
namespace {

// A parent that keeps a Board of its own and writes down what the Board tells it.
class SpyParent : public Element {
  public:
    SpyParent(Image* horizontal, Image* vertical) : Element(nullptr, 0, 0, nullptr) {
        board = addChild(std::make_unique<Board>(this, 195, 5, horizontal, vertical, 5, 5));
        mouseEnabled = true;
    }
    void onChildEvent(Element* child, ElementEvent code) override {
        if (child == board)
            events.push_back(code);
    }
    Board* board;
    std::vector<ElementEvent> events;
};

class BoardTest : public GameTest {
  protected:
    std::unique_ptr<SpyParent> makeSpy() {
        return std::make_unique<SpyParent>(board().getHorizontalSprite(0)->getImage(),
                                           board().getVerticalSprite(0)->getImage());
    }
    // Pointer position over a stick of a Board owned by a SpyParent.
    static std::pair<int32_t, int32_t> over(Board& b, StickOrientation o, int32_t index) {
        Element* s = o == Horizontal ? b.getHorizontalSprite(index) : b.getVerticalSprite(index);
        return {b.getX() + s->getX() + 5, b.getY() + s->getY() + 5};
    }
};

TEST_F(BoardTest, BeforeTheFirstPuzzleTheFullFieldIgnoresTheMouse) {
    Board& b = board();
    EXPECT_EQ(b.getWidth(), 490);
    EXPECT_EQ(b.getHeight(), 490);
    EXPECT_EQ(b.getChildCount(), 60);
    for (int32_t i = 0; i < 30; ++i) {
        EXPECT_TRUE(b.getHorizontalSprite(i)->isVisible());
        EXPECT_EQ(frameOf(Horizontal, i), Present);
        EXPECT_EQ(b.getChild(i), b.getHorizontalSprite(i));  // horizontal sprites first
        EXPECT_EQ(b.getChild(30 + i), b.getVerticalSprite(i));
    }
    auto [x, y] = game->stickCentre(Horizontal, 7);
    EXPECT_EQ(b.onMouse(msg::MouseMove, 0, x, y), InputIgnored);
    EXPECT_EQ(b.onMouse(msg::LeftButtonDown, mouseflag::LeftButton, x, y), InputIgnored);
    EXPECT_EQ(b.getHoveredStick(), nullptr);
    EXPECT_EQ(frameOf(Horizontal, 7), Present);
}

TEST_F(BoardTest, SpritesSitOnTheLatticeOfTheLargestField) {
    // Horizontal (x, y) at (95x + 15, 95y); vertical (x, y) at (95x, 95y + 15).
    Element* h = board().getHorizontalSprite(2 * 5 + 3);
    EXPECT_EQ(h->getX(), 3 * 95 + 15);
    EXPECT_EQ(h->getY(), 2 * 95);
    EXPECT_EQ(h->getWidth(), 80);
    Element* v = board().getVerticalSprite(4 * 5 + 1);
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
    startGame(0, RemoveFromFull, seed);
    ASSERT_EQ(board().getActiveColumns(), 3);
    ASSERT_EQ(board().getActiveRows(), 2);
    EXPECT_EQ(board().getX(), board().getHomeX() + 95);
    EXPECT_EQ(board().getY(), board().getHomeY() + 142);
    int horizontal = 0;
    int vertical = 0;
    for (int32_t i = 0; i < 30; ++i) {
        horizontal += board().getHorizontalSprite(i)->isVisible() ? 1 : 0;
        vertical += board().getVerticalSprite(i)->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(horizontal, 9);
    EXPECT_EQ(vertical, 8);
    // The sprites follow the Board: a visible stick is drawn where the pointer finds it.
    auto [x, y] = game->stickCentre(Vertical, 3 * 5 + 1);
    ASSERT_TRUE(game->moveTo(x, y));
    EXPECT_EQ(board().getHoveredStick(), board().getVerticalSprite(3 * 5 + 1));
}

TEST_F(BoardTest, HitTestFindsExactlyTheActiveStickRectangles) {
    startGame(5, RemoveFromFull, 3);
    Board& b = board();
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

    clickButton(screen().getGiveUpButton());
    startGame(2, RemoveFromFull, 3);  // centred: slots beyond the field never hit
    EXPECT_EQ(b.hitTest(2 * 95 + 50, 5), nullptr);
    EXPECT_EQ(b.hitTest(5, 2 * 95 + 50), nullptr);
    EXPECT_EQ(b.hitTest(2 * 95 + 5, 50), b.getVerticalSprite(10));
}

TEST_F(BoardTest, AddModeOnlyTouchesEmptySlotsAndTakesChangesBack) {
    startGame(3, AddFromSome, 11);
    ASSERT_EQ(board().getMode(), Add);
    const int32_t present = startSlots(Horizontal, true).front();
    hoverStick(Horizontal, present);
    EXPECT_EQ(board().getHoveredStick(), nullptr);
    EXPECT_EQ(frameOf(Horizontal, present), Present);
    clickStick(Horizontal, present);
    EXPECT_EQ(frameOf(Horizontal, present), Present);
    EXPECT_EQ(board().getMovesMade(), 0);

    const int32_t empty = startSlots(Horizontal, false).front();
    hoverStick(Horizontal, empty);
    EXPECT_EQ(frameOf(Horizontal, empty), EmptyHover);
    clickStick(Horizontal, empty);
    EXPECT_EQ(frameOf(Horizontal, empty), AddedHover);
    EXPECT_EQ(board().getMovesMade(), 1);
    EXPECT_EQ(screen().getMovesCounter()->getValue(), 1);
    clickStick(Horizontal, empty);  // taken back
    EXPECT_EQ(frameOf(Horizontal, empty), EmptyHover);
    EXPECT_EQ(board().getMovesMade(), 0);
    EXPECT_EQ(board().getCurrentSticks(), board().getStartSticks());

    // Moving off the field drops the highlight.
    ASSERT_TRUE(game->moveTo(5, 5));
    EXPECT_EQ(frameOf(Horizontal, empty), Empty);
    EXPECT_EQ(board().getHoveredStick(), nullptr);
}

TEST_F(BoardTest, RemoveModeNeverHighlightsAnEmptySlot) {
    startGame(4, RemoveFromSome, 5);
    ASSERT_EQ(board().getMode(), Remove);
    const int32_t empty = startSlots(Vertical, false).front();
    hoverStick(Vertical, empty);
    EXPECT_EQ(frameOf(Vertical, empty), Empty);
    const int32_t present = startSlots(Vertical, true).front();
    hoverStick(Vertical, present);
    clickStick(Vertical, present);
    EXPECT_EQ(frameOf(Vertical, present), RemovedHover);
    EXPECT_EQ(board().getMovesMade(), 1);
    clickStick(Vertical, present);
    EXPECT_EQ(frameOf(Vertical, present), PresentHover);
    EXPECT_EQ(board().getMovesMade(), 0);
}

TEST_F(BoardTest, MoveModePicksUpAndPutsDown) {
    startGame(4, MoveFromSome, 9);
    ASSERT_EQ(board().getMode(), Move);
    const std::vector<int32_t> present = startSlots(Horizontal, true);
    const std::vector<int32_t> empty = startSlots(Horizontal, false);
    ASSERT_GE(present.size(), 2u);
    ASSERT_GE(empty.size(), 1u);

    clickStick(Horizontal, present[0]);
    EXPECT_EQ(frameOf(Horizontal, present[0]), RemovedHover);
    EXPECT_TRUE(board().isStickInHand());
    EXPECT_EQ(board().getMovesMade(), 0);

    hoverStick(Horizontal, present[1]);  // with a stick in hand, sticks cannot be picked
    EXPECT_EQ(frameOf(Horizontal, present[1]), Present);
    EXPECT_EQ(board().getHoveredStick(), nullptr);

    clickStick(Horizontal, empty[0]);
    EXPECT_EQ(frameOf(Horizontal, empty[0]), AddedHover);
    EXPECT_FALSE(board().isStickInHand());
    EXPECT_EQ(board().getMovesMade(), 1);

    // The added stick can be picked up again and put back where the first one came from.
    clickStick(Horizontal, empty[0]);
    EXPECT_EQ(frameOf(Horizontal, empty[0]), EmptyHover);
    EXPECT_TRUE(board().isStickInHand());
    EXPECT_EQ(board().getMovesMade(), 0);  // one stick in hand is half a move
    clickStick(Horizontal, present[0]);
    EXPECT_EQ(frameOf(Horizontal, present[0]), PresentHover);
    EXPECT_EQ(board().getMovesMade(), 0);
    EXPECT_EQ(board().getCurrentSticks(), board().getStartSticks());
}

TEST_F(BoardTest, EveryAcceptedClickReportsMovesAndRefusedOnesReportNothing) {
    auto spy = makeSpy();
    Board& b = *spy->board;
    b.setFieldSize(4);
    b.setActionType(MoveFromSome);
    randomSource().seed(9);
    b.newPuzzle();
    std::vector<int32_t> present;
    std::vector<int32_t> empty;
    for (int32_t i = 0; i < 30; ++i) {
        if (!b.isActiveHorizontal(i))
            continue;
        (b.getStartSticks().horizontal[static_cast<size_t>(i)] != 0 ? present : empty).push_back(i);
    }
    auto [px, py] = over(b, Horizontal, present[0]);
    EXPECT_EQ(spy->onMouse(msg::MouseMove, 0, px, py), InputHandled);
    EXPECT_EQ(spy->onMouse(msg::LeftButtonDown, mouseflag::LeftButton, px, py), InputConsumed);
    EXPECT_EQ(spy->events, std::vector<ElementEvent>{Board::MovesChanged});  // count still 0

    auto [qx, qy] = over(b, Horizontal, present[1]);
    // The picked-up stick loses its light; the next one cannot take it with a stick in hand.
    EXPECT_EQ(spy->onMouse(msg::MouseMove, 0, qx, qy), InputIgnored);
    EXPECT_EQ(b.getHoveredStick(), nullptr);
    EXPECT_EQ(b.getHorizontalSprite(present[0])->getFrame(), Removed);
    EXPECT_EQ(spy->onMouse(msg::LeftButtonDown, mouseflag::LeftButton, qx, qy), InputIgnored);
    EXPECT_EQ(spy->events.size(), 1u);
    EXPECT_EQ(spy->onMouse(msg::RightButtonDown, 0, qx, qy), InputIgnored);

    auto [ex, ey] = over(b, Horizontal, empty[0]);
    EXPECT_EQ(spy->onMouse(msg::MouseMove, 0, ex, ey), InputHandled);
    EXPECT_EQ(spy->onMouse(msg::MouseMove, 0, ex + 1, ey), InputIgnored);  // same stick
    EXPECT_EQ(spy->onMouse(msg::LeftButtonDown, mouseflag::LeftButton, ex, ey), InputConsumed);
    EXPECT_EQ(spy->events.size(), 2u);
    EXPECT_EQ(b.getMovesMade(), 1);
}

TEST_F(BoardTest, AStrayStickWithTheRightCountsDoesNotSolve) {
    auto spy = makeSpy();
    Board& b = *spy->board;
    b.setFieldSize(4);
    b.setActionType(RemoveFromFull);
    // Look for a layout as far from the start as the solution, with as many squares, but
    // with one stick on no square: the solution less one stick plus another start stick.
    for (uint32_t seed = 1; seed < 200; ++seed) {
        randomSource().seed(seed);
        b.newPuzzle();
        const StickLayers solution = b.getSolutionSticks();
        for (size_t drop = 0; drop < solution.horizontal.size(); ++drop) {
            if (solution.horizontal[drop] == 0)
                continue;
            for (size_t keep = 0; keep < solution.vertical.size(); ++keep) {
                if (solution.vertical[keep] != 0 || !b.isActiveVertical(static_cast<int>(keep))) {
                    continue;
                }
                StickLayers layout = solution;
                layout.horizontal[drop] = 0;
                layout.vertical[keep] = 1;
                if (b.findSquares(layout.horizontal.data(), layout.vertical.data(), nullptr) !=
                    b.getTargetSquares()) {
                    continue;
                }
                // Play it: remove every start stick the layout lacks.
                for (int32_t i = 0; i < 30; ++i) {
                    const size_t s = static_cast<size_t>(i);
                    if (b.getStartSticks().horizontal[s] != 0 && layout.horizontal[s] == 0) {
                        auto [x, y] = over(b, Horizontal, i);
                        spy->onMouse(msg::MouseMove, 0, x, y);
                        spy->onMouse(msg::LeftButtonDown, mouseflag::LeftButton, x, y);
                    }
                    if (b.getStartSticks().vertical[s] != 0 && layout.vertical[s] == 0) {
                        auto [x, y] = over(b, Vertical, i);
                        spy->onMouse(msg::MouseMove, 0, x, y);
                        spy->onMouse(msg::LeftButtonDown, mouseflag::LeftButton, x, y);
                    }
                }
                ASSERT_EQ(b.getCurrentSticks(), layout);
                EXPECT_EQ(b.getMovesMade(), b.getRequiredMoves());
                EXPECT_TRUE(b.isActive());
                for (ElementEvent e : spy->events)
                    EXPECT_NE(e, Board::Solved);
                return;
            }
        }
    }
    FAIL() << "no layout with a stray stick found";
}

TEST_F(BoardTest, GivingUpShowsStartAgainstSolutionAndStopsPlay) {
    startGame(5, MoveFromSome, 17);
    const int32_t picked = startSlots(Vertical, true).front();
    clickStick(Vertical, picked);  // the player's own change is not shown
    clickButton(screen().getGiveUpButton());
    Board& b = board();
    EXPECT_FALSE(b.isActive());
    const StickLayers& start = b.getStartSticks();
    const StickLayers& solution = b.getSolutionSticks();
    for (int32_t i = 0; i < 30; ++i) {
        const size_t s = static_cast<size_t>(i);
        const int32_t expected = start.vertical[s] != 0 ? (solution.vertical[s] ? Present : Removed)
                                                        : (solution.vertical[s] ? Added : Empty);
        EXPECT_EQ(frameOf(Vertical, i), expected) << i;
    }
    const int32_t before = frameOf(Vertical, picked);
    hoverStick(Vertical, picked);
    clickStick(Vertical, picked);
    EXPECT_EQ(frameOf(Vertical, picked), before);
}

TEST_F(BoardTest, RestartShowsTheStartAndForgetsTheHighlight) {
    startGame(3, RemoveFromFull, 4);
    Board& b = board();
    clickStick(Horizontal, 0);
    clickStick(Vertical, 0);
    ASSERT_EQ(b.getMovesMade(), 2);
    hoverStick(Horizontal, 1);
    b.restart();
    EXPECT_EQ(b.getCurrentSticks(), b.getStartSticks());
    EXPECT_EQ(frameOf(Horizontal, 0), Present);
    EXPECT_EQ(frameOf(Horizontal, 1), Present);
    EXPECT_EQ(b.getHoveredStick(), nullptr);
    EXPECT_TRUE(b.isActive());
    // Leaving the stick afterwards must not step its plain frame back.
    ASSERT_TRUE(game->moveTo(5, 5));
    EXPECT_EQ(frameOf(Horizontal, 1), Present);
    hoverStick(Horizontal, 1);
    EXPECT_EQ(frameOf(Horizontal, 1), PresentHover);
}

TEST_F(BoardTest, AWinDropsTheHighlightAndIgnoresFurtherInput) {
    startGame(2, AddFromNone, 8);
    ASSERT_TRUE(game->playSolution());
    Board& b = board();
    EXPECT_FALSE(b.isActive());
    EXPECT_EQ(b.getHoveredStick(), nullptr);
    for (int32_t i = 0; i < 30; ++i) {
        EXPECT_EQ(frameOf(Horizontal, i) % 2, 0);
        EXPECT_EQ(frameOf(Vertical, i) % 2, 0);
    }
    const StickLayers won = b.getCurrentSticks();
    auto [x, y] = game->stickCentre(Horizontal, 0);
    EXPECT_EQ(b.onMouse(msg::MouseMove, 0, x, y), InputIgnored);
    EXPECT_EQ(b.onMouse(msg::LeftButtonDown, mouseflag::LeftButton, x, y), InputIgnored);
    EXPECT_EQ(b.getCurrentSticks(), won);
}

}  // namespace
}  // namespace kz
