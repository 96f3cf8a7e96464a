// The search for solutions and the choice of a hint, checked against every layout of small
// fields and by following hints to the end on every size.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "puzzle/hint.h"
#include "puzzle/random_source.h"
#include "puzzle/solution_search.h"
#include "test_board.h"

namespace kz {
namespace {

std::vector<StickSlot> activeSlots(const TestBoard& board) {
    std::vector<StickSlot> slots;
    for (int32_t i = 0; i < board.getMaxColumns() * (board.getMaxRows() + 1); ++i) {
        if (board.isActiveHorizontal(i)) {
            slots.push_back({Horizontal, i});
        }
    }
    for (int32_t i = 0; i < (board.getMaxColumns() + 1) * board.getMaxRows(); ++i) {
        if (board.isActiveVertical(i)) {
            slots.push_back({Vertical, i});
        }
    }
    return slots;
}

void set(StickLayers& layout, StickSlot s, uint8_t value) {
    (s.orientation == Horizontal ? layout.horizontal
                                 : layout.vertical)[static_cast<size_t>(s.index)] = value;
}

// Every layout of the active field that the mode's clicks reach from the start in exactly
// the required moves and that solves the puzzle: the oracle the search is held to.
std::vector<StickLayers> everySolution(TestBoard& board) {
    const std::vector<StickSlot> slots = activeSlots(board);
    const StickLayers& start = board.getStartSticks();
    std::vector<StickLayers> solutions;
    for (uint32_t bits = 0; bits < (1u << slots.size()); ++bits) {
        StickLayers layout = board.emptyLayout();
        bool reachable = true;
        for (size_t i = 0; i < slots.size(); ++i) {
            const uint8_t present = (bits >> i) & 1u;
            set(layout, slots[i], present);
            const uint8_t inStart = start.at(slots[i]);
            if ((board.getMode() == Add && inStart && !present) ||
                (board.getMode() == Remove && !inStart && present)) {
                reachable = false;
            }
        }
        if (reachable && board.getMode() == Move && board.sticks(layout) != board.sticks(start)) {
            reachable = false;
        }
        if (reachable && board.movesFromStart(layout) == board.getRequiredMoves() &&
            board.formsTargetSquares(layout)) {
            solutions.push_back(layout);
        }
    }
    return solutions;
}

// One finished move from the start: a changed stick, or in Move mode a stick moved.
struct Change {
    StickLayers layout;
    std::vector<StickSlot> changed;  // the latest first
};

std::vector<Change> singleMoves(TestBoard& board) {
    const std::vector<StickSlot> slots = activeSlots(board);
    const StickLayers& start = board.getStartSticks();
    std::vector<Change> moves;
    for (StickSlot from : slots) {
        if (board.getMode() != Move) {
            const bool allowed = (board.getMode() == Add) != (start.at(from) != 0);
            if (allowed) {
                Change c{start, {from}};
                set(c.layout, from, start.at(from) != 0 ? 0 : 1);
                moves.push_back(c);
            }
            continue;
        }
        if (start.at(from) == 0) {
            continue;
        }
        for (StickSlot to : slots) {
            if (start.at(to) == 0) {
                Change c{start, {to, from}};
                set(c.layout, from, 0);
                set(c.layout, to, 1);
                moves.push_back(c);
            }
        }
    }
    return moves;
}

bool keeps(const StickLayers& solution, const Change& c) {
    for (StickSlot s : c.changed) {
        if (solution.at(s) != c.layout.at(s)) {
            return false;
        }
    }
    return true;
}

constexpr ActionType kTypes[] = {AddFromNone, AddFromSome, MoveFromSome, RemoveFromFull,
                                 RemoveFromSome};

// Every single move from the start of twelve 2 x 2 puzzles of each type, with the puzzle's
// every solution; the board shows the puzzle, its layout still the start.
void forEverySmallMove(
    const std::function<void(TestBoard&, const std::vector<StickLayers>&, const Change&)>& check) {
    TestBoard board;
    board.setFieldSize(2);
    for (ActionType type : kTypes) {
        board.setActionType(type);
        for (uint32_t seed = 1; seed <= 12; ++seed) {
            randomSource().seed(seed);
            board.newPuzzle();
            const std::vector<StickLayers> solutions = everySolution(board);
            ASSERT_FALSE(solutions.empty()) << "the generated solution is one";
            for (const Change& c : singleMoves(board)) {
                SCOPED_TRACE(testing::Message() << "type " << type << " seed " << seed);
                check(board, solutions, c);
            }
        }
    }
}

TEST(SmallFields, TheSearchFindsASolutionKeepingAMoveExactlyWhenOneExists) {
    int32_t kept = 0;
    int32_t refused = 0;
    forEverySmallMove(
        [&](TestBoard& board, const std::vector<StickLayers>& solutions, const Change& c) {
            bool exists = false;
            for (const StickLayers& s : solutions) {
                exists = exists || keeps(s, c);
            }
            SolutionSearch search(board);
            const auto found = search.solutionKeeping(c.layout);
            ASSERT_EQ(found.has_value(), exists);
            if (found) {
                ++kept;
                EXPECT_TRUE(keeps(*found, c));
                EXPECT_NE(std::find(solutions.begin(), solutions.end(), *found), solutions.end())
                    << "not a solution";
            } else {
                ++refused;
            }
        });
    // Both answers were put to the test.
    EXPECT_GT(kept, 0);
    EXPECT_GT(refused, 0);
}

TEST(SmallFields, AHintAfterAWrongMovePointsAtThatMove) {
    int32_t wrongMoves = 0;
    forEverySmallMove(
        [&](TestBoard& board, const std::vector<StickLayers>& solutions, const Change& c) {
            // Wrong: no solution keeps the stick this move put down or took away last.
            const StickSlot last = c.changed.front();
            for (const StickLayers& s : solutions) {
                if (s.at(last) == c.layout.at(last)) {
                    return;
                }
            }
            ++wrongMoves;
            board.setCurrent(c.layout);
            const auto hint = nextHint(board, c.layout, c.changed, nullptr);
            board.setCurrent(board.getStartSticks());
            ASSERT_TRUE(hint.has_value());
            EXPECT_EQ(hint->stick, last);
        });
    EXPECT_GT(wrongMoves, 0);
}

// Follows hints alone on the puzzle side, as clicks would: a stick per hint, in Move mode
// a pick-up and then a drop.
TEST(Hints, FollowedFromTheStartTheySolveEveryPuzzleInExactlyItsRequiredMoves) {
    TestBoard board;
    for (FieldSize size : {2, 3, 4, 5, 0}) {
        for (ActionType type : kTypes) {
            for (uint32_t seed = 1; seed <= 6; ++seed) {
                board.setFieldSize(size);
                board.setActionType(type);
                randomSource().seed(seed * 97 + static_cast<uint32_t>(size));
                board.newPuzzle();
                StickLayers layout = board.getStartSticks();
                std::optional<StickLayers> followed;
                std::vector<StickSlot> changes;
                const int32_t perMove = board.getMode() == Move ? 2 : 1;
                int32_t hints = 0;
                while (!board.formsTargetSquares(layout) ||
                       board.movesFromStart(layout) != board.getRequiredMoves()) {
                    ASSERT_LT(hints, perMove * board.getRequiredMoves()) << "too many hints";
                    StickLayers held = layout;
                    board.setCurrent(layout);
                    auto hint = nextHint(board, layout, changes, followed ? &*followed : nullptr);
                    ASSERT_TRUE(hint.has_value());
                    followed = hint->solution;
                    ++hints;
                    if (perMove == 2) {
                        ASSERT_NE(layout.at(hint->stick), 0) << "first pick a stick up";
                        set(held, hint->stick, 0);
                        board.setCurrent(held, true);
                        auto drop = nextHint(board, layout, changes, &*followed);
                        ASSERT_TRUE(drop.has_value());
                        ASSERT_EQ(held.at(drop->stick), 0) << "then put it into an empty slot";
                        ASSERT_NE(drop->stick, hint->stick) << "not back where it was";
                        set(held, drop->stick, 1);
                        changes.insert(changes.begin(), {drop->stick, hint->stick});
                        ++hints;
                    } else {
                        set(held, hint->stick, held.at(hint->stick) != 0 ? 0 : 1);
                        changes.insert(changes.begin(), hint->stick);
                    }
                    layout = held;
                }
                EXPECT_EQ(hints, perMove * board.getRequiredMoves())
                    << "size " << size << " type " << type << " seed " << seed;
            }
        }
    }
}

TEST(SolutionSearch, KeepsTheGeneratedSolutionWhenThePlayerHasReachedIt) {
    TestBoard board;
    board.setFieldSize(5);
    for (ActionType type : kTypes) {
        board.setActionType(type);
        randomSource().seed(11);
        board.newPuzzle();
        SolutionSearch search(board);
        const auto found = search.solutionKeeping(board.getSolutionSticks());
        ASSERT_TRUE(found.has_value()) << type;
        EXPECT_EQ(*found, board.getSolutionSticks());
    }
}

}  // namespace
}  // namespace kz
