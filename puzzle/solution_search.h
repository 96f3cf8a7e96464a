#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "puzzle/field_model.h"
#include "puzzle/puzzle_board.h"

namespace kz {

// Looks for solutions of the Board's current puzzle other than the generated one: layouts
// that the mode's clicks can reach from the start in exactly the required moves and that
// form the target squares with every stick on one.
//
// A solution is the union of its complete squares, so the search chooses squares, not
// sticks: it covers every stick the solution must hold with a square, then adds squares
// until the stick count is reached, pruning on the stick count, the complete squares and the
// sticks the mode lets it place. Every slot of the largest field is one bit of a 64-bit
// mask, which holds the 60 slots of the game's 5 x 5 field; a Board with more slots gets
// no search.
class SolutionSearch {
  public:
    // A node costs about a quarter of a microsecond on a 5 x 5 field (natively; a browser
    // takes longer), so a hint stays near 20 ms at most. Twice the nodes settle few more
    // searches.
    static constexpr int64_t kDefaultNodeBudget = 80000;

    // Reads the puzzle (start, mode, required moves, target squares, active field) now.
    explicit SolutionSearch(PuzzleBoard& board);

    // A solution that keeps every change the layout made to the start, or nothing when the
    // search found none within the budget of nodes.
    std::optional<StickLayers> solutionKeeping(const StickLayers& layout,
                                               int64_t nodeBudget = kDefaultNodeBudget);

    // Whether the last search ended for want of nodes rather than by searching everything.
    bool ranOutOfNodes() const { return outOfNodes; }
    int64_t nodesVisited() const { return nodes; }

  private:
    using Mask = uint64_t;

    Mask maskOf(const StickLayers& layout) const;
    StickLayers layoutOf(Mask mask) const;
    int32_t completeSquares(Mask sticks) const;
    bool search(Mask sticks, Mask excludedSquares);

    PuzzleBoard& board;
    bool fits = false;
    int32_t horizontalSlots = 0;
    std::vector<Mask> perimeters;  // one per square of the active field, in list order
    Mask start = 0;
    BoardMode mode = Add;
    int32_t requiredMoves = 0;
    int32_t targetSquares = 0;

    // The current search.
    Mask required = 0;                 // sticks the solution must hold
    Mask forbidden = 0;                // slots it must leave empty
    std::vector<Mask> squaresHolding;  // per slot: the squares free of forbidden slots on it
    int32_t stickTarget = 0;
    int32_t newSticksAllowed = 0;  // sticks outside the start
    Mask found = 0;
    int64_t nodes = 0;
    int64_t budget = 0;
    bool outOfNodes = false;
};

}  // namespace kz
