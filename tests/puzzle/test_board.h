#pragma once

#include <algorithm>

#include "puzzle/puzzle_board.h"

namespace kz {

// The puzzle side with its field set by hand, for checking the square operations on
// layouts the generator would not produce.
class TestBoard : public PuzzleBoard {
  public:
    explicit TestBoard(int32_t columns = 5, int32_t rows = 5) { configureField(columns, rows); }

    void setActiveField(int32_t columns, int32_t rows) {
        activeColumns = columns;
        activeRows = rows;
        smallSide = std::min(columns, rows);
        largeSide = std::max(columns, rows);
        squareCount = squareCountFor(smallSide, largeSide);
    }

    // The player's layout and the stick in hand, as clicks would leave them.
    void setCurrent(const StickLayers& layout, bool inHand = false) {
        currentSticks = layout;
        stickInHand = inHand;
    }

    // A puzzle set by hand: the start, the click rules, the changes and squares asked for, and
    // the solution the generator would have built.
    void setPuzzle(const StickLayers& start, BoardMode rules, int32_t moves, int32_t squares,
                   const StickLayers& solution) {
        startSticks = start;
        currentSticks = start;
        solutionSticks = solution;
        mode = rules;
        requiredMoves = moves;
        targetSquares = squares;
        active = true;
    }

    StickLayers emptyLayout() const { return slotGrid().emptyLayout(); }

    StickLayers fullLayout() const {
        StickLayers layout = emptyLayout();
        for (int32_t i = 0; i < horizontalCount(); ++i) {
            layout.horizontal[static_cast<size_t>(i)] = isActiveHorizontal(i) ? 1 : 0;
        }
        for (int32_t i = 0; i < verticalCount(); ++i) {
            layout.vertical[static_cast<size_t>(i)] = isActiveVertical(i) ? 1 : 0;
        }
        return layout;
    }

    int32_t sticks(const StickLayers& l) {
        return countSticks(l.horizontal.data(), l.vertical.data());
    }
    int32_t squares(const StickLayers& l, uint8_t* list = nullptr) {
        return findSquares(l.horizontal.data(), l.vertical.data(), list);
    }
    int32_t differences(const StickLayers& a, const StickLayers& b) {
        return countDifferences(a.horizontal.data(), a.vertical.data(), b.horizontal.data(),
                                b.vertical.data());
    }
};

}  // namespace kz
