#pragma once

// The solutions of a puzzle found without the solution search, by trying layouts one by one:
// the oracle the search and the grades are held to.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "puzzle/hint.h"
#include "random_changes.h"
#include "test_board.h"

namespace kz {

// The mode's clicks reach the layout from the start: Add only puts sticks down, Remove only
// takes start sticks away, Move keeps the number of sticks.
inline bool reachableByTheClicks(TestBoard& board, const StickLayers& layout) {
    const StickLayers& start = board.getStartSticks();
    for (StickSlot s : activeSlots(board)) {
        if ((board.getMode() == Add && start.at(s) != 0 && layout.at(s) == 0) ||
            (board.getMode() == Remove && start.at(s) == 0 && layout.at(s) != 0)) {
            return false;
        }
    }
    return board.getMode() != Move || board.sticks(layout) == board.sticks(start);
}

using SolvedTest = std::function<bool(TestBoard&, const StickLayers&)>;

// The solved conditions: reached in exactly the required moves, the target squares formed
// with every stick on one.
inline bool solvedByTheRules(TestBoard& board, const StickLayers& layout) {
    return reachableByTheClicks(board, layout) &&
           board.movesFromStart(layout) == board.getRequiredMoves() &&
           board.formsTargetSquares(layout);
}

// Every layout of the active field: 2^slots of them.
inline std::vector<StickLayers> everyLayout(TestBoard& board) {
    const std::vector<StickSlot> slots = activeSlots(board);
    std::vector<StickLayers> layouts;
    for (uint32_t bits = 0; bits < (1u << slots.size()); ++bits) {
        StickLayers layout = board.emptyLayout();
        for (size_t i = 0; i < slots.size(); ++i) {
            setStick(layout, slots[i], static_cast<uint8_t>((bits >> i) & 1u));
        }
        layouts.push_back(layout);
    }
    return layouts;
}

// Every layout in which each stick lies on a complete square. Such a layout is the union of
// the squares complete in it, so the unions of every set of squares are all of them: far
// fewer to try than every layout on fields of more than a dozen slots.
inline std::vector<StickLayers> everyUnionOfSquares(TestBoard& board) {
    const int32_t count = board.getSquareCount();
    std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> unions;
    SquareList squares(static_cast<size_t>(count));
    StickLayers layout = board.emptyLayout();
    for (uint32_t bits = 0; bits < (1u << count); ++bits) {
        for (int32_t q = 0; q < count; ++q) {
            squares[static_cast<size_t>(q)] = static_cast<uint8_t>((bits >> q) & 1u);
        }
        board.squaresToSticks(squares.data(), layout.horizontal.data(), layout.vertical.data());
        unions.emplace_back(layout.horizontal, layout.vertical);
    }
    std::sort(unions.begin(), unions.end());
    unions.erase(std::unique(unions.begin(), unions.end()), unions.end());
    std::vector<StickLayers> layouts;
    for (auto& [horizontal, vertical] : unions) {
        layouts.push_back(StickLayers{horizontal, vertical});
    }
    return layouts;
}

// The candidates that pass the solved test, in the order given.
inline std::vector<StickLayers> solutionsAmong(TestBoard& board,
                                               const std::vector<StickLayers>& candidates,
                                               const SolvedTest& solved = solvedByTheRules) {
    std::vector<StickLayers> solutions;
    for (const StickLayers& layout : candidates) {
        if (solved(board, layout)) {
            solutions.push_back(layout);
        }
    }
    return solutions;
}

// Every solution of the puzzle on the board, trying every layout of its field.
inline std::vector<StickLayers> everySolution(TestBoard& board) {
    return solutionsAmong(board, everyLayout(board));
}

}  // namespace kz
