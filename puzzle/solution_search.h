#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "puzzle/field_model.h"
#include "puzzle/puzzle_board.h"
#include "puzzle/slot_grid.h"

namespace kz {

// Finds the solutions of the Board's current puzzle that keep the changes a player made:
// layouts that the mode's clicks reach from the start in exactly the required moves and that
// form the target squares with every stick on one. The search is exhaustive, so when it finds
// nothing there is nothing to find; no budget cuts it short.
//
// Two searches take turns, each with a growing allowance of decisions (outside Move mode
// the second a quarter of the first's), and the first to finish answers (each keeps what it
// learnt for its next turn):
// - by squares: a solution is the union of its complete squares, so it decides the squares
//   one by one, each complete or kept incomplete: first those through the required stick
//   the fewest squares can still hold, then the one bringing the most sticks (the
//   generated solution's first among equals); every layout is reached by one line of
//   decisions, so each solution counts once. A branch ends when the stick counts (in all,
//   added, kept from the start), the required and forbidden sticks or the squares complete
//   or within reach cannot meet the puzzle, or when the squares still to complete miss more
//   sticks than are left to put down; a branch that found nothing is remembered by its
//   sticks and the squares decided incomplete.
// - by changes: it decides the sticks still to take away or put down, the one likeliest to
//   fail first, ending a branch when the squares sure to be complete, those that may still
//   be, or the sticks on none of them cannot meet the puzzle; a stick that stays with one
//   square left to hold it decides that square's sticks without a branch.
// The first suits few squares making many sticks, the second few changes left among many.
// Every slot of the largest field is one bit of a 64-bit mask, as is every square, which
// holds the 60 slots and 55 squares of the game's 5 x 5 field; a Board with more gets no
// search.
class SolutionSearch {
  public:
    // Reads the puzzle (start, mode, required moves, target squares, active field) now.
    explicit SolutionSearch(PuzzleBoard& board);

    // A solution that keeps every change the layout made to the start, or nothing when there
    // is none. The generated solution's turned, mirrored and shifted copies are tried first.
    std::optional<StickLayers> solutionKeeping(const StickLayers& layout);

    // How many solutions keep every change the layout made, each counted once, counting up to
    // limit (the layout of the start counts every solution of the puzzle).
    int64_t countSolutionsKeeping(const StickLayers& layout, int64_t limit);

    // The solutions that keep every change the layout made, each once, at most limit of them,
    // in no particular order.
    std::vector<StickLayers> solutionsKeeping(const StickLayers& layout, int64_t limit);

  private:
    using Mask = uint64_t;

    // Branches that found nothing, each by two masks that decide it: an open-addressing
    // table, at most half full.
    class FruitlessBranches {
      public:
        void clear();
        bool contains(Mask first, Mask second) const;
        void insert(Mask first, Mask second);

      private:
        struct Entry {
            Mask first = 0;
            Mask second = ~Mask{0};  // no branch has every bit set: an empty entry
        };
        size_t slotOf(Mask first, Mask second) const;
        std::vector<Entry> table;
        size_t used = 0;
    };

    Mask maskOf(const StickLayers& layout) const;
    StickLayers layoutOf(Mask mask) const;
    // Sets the goal for keeping the layout's changes; false when no solution can keep them.
    bool aimAt(const StickLayers& layout);
    void orderSquares(Mask added);
    // Whether the layout solves the puzzle and keeps the changes aimed at.
    bool solves(Mask sticks) const;
    // The layout turned, mirrored and shifted every way that fits the active field.
    std::vector<Mask> copiesOf(Mask sticks) const;
    bool canGrow(Mask sticks, Mask open, int32_t squaresLeft) const;
    bool canComplete(Mask least, Mask open, int32_t squaresLeft) const;
    bool canThin(Mask least, Mask reach) const;
    bool canBreak(Mask squares, Mask sticks, int32_t count, int32_t needed) const;
    int64_t search(Mask sticks, Mask incomplete);
    int64_t settle(Mask layout, Mask incomplete);
    int64_t searchChanges(Mask layout, Mask candidates);
    int64_t solutionFound(Mask layout);

    PuzzleBoard& board;
    SlotGrid grid;
    bool fits = false;
    std::vector<Mask> listed;      // one perimeter per square of the active field, in list order
    std::vector<Mask> perimeters;  // the same in the order the search decides them
    std::vector<Mask> holders;     // per slot: the squares whose perimeter holds it
    // A field within the masks is at most 5 sticks on its short side (6 x 6 has 84 slots).
    static constexpr size_t kLargestSquare = 5;
    std::array<Mask, kLargestSquare + 1> squaresOfSize{};  // by sticks per side
    Mask start = 0;
    Mask generatedLayout = 0;
    Mask guide = 0;  // the squares of the generated solution, tried first
    BoardMode mode = Add;
    int32_t requiredMoves = 0;
    int32_t targetSquares = 0;

    // The current search.
    Mask required = 0;   // sticks the solution must hold
    Mask forbidden = 0;  // slots it must leave empty
    Mask allowed = 0;    // squares free of forbidden slots
    int32_t stickTarget = 0;
    int32_t sticksToAdd = 0;     // sticks outside the start
    int32_t sticksToRemove = 0;  // start sticks left out
    int32_t startSticksKept = 0;
    bool startFull = false;  // every slot of the active field holds a stick at the start
    Mask changed = 0;
    Mask removable = 0;
    Mask addable = 0;
    int64_t limit = 0;
    int64_t nodes = 0;          // decisions of the search running
    int64_t nodeAllowance = 0;  // before it gives its turn to the other
    bool stopped = false;
    Mask firstSolution = 0;
    std::vector<Mask>* collected = nullptr;  // every solution found, while listing them
    FruitlessBranches fruitlessSquares;      // by sticks and squares decided incomplete
    FruitlessBranches fruitlessChanges;      // by layout and slots still to decide
};

}  // namespace kz
