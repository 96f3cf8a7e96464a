#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "puzzle/field_model.h"
#include "puzzle/puzzle_board.h"
#include "puzzle/solution_search.h"

namespace kz {

// One stick to change, and the solution that change leads towards.
struct Hint {
    StickSlot stick;
    StickLayers solution;
};

// The hint for the puzzle being played on the Board.
//
// committed: the player's layout without the stick in hand (the Board's own layout when no
// stick is in hand); newestChanges: the slots the player changed, the latest first;
// followed: the solution earlier hints led towards, or null.
//
// The solution to aim at is the first that keeps every change the player made: the followed
// one, the generated one, or one the search finds. Only when no solution keeps them all does
// the followed (else the generated) solution stay the aim, and the hint takes back the latest
// change it does not make. Then, in Add and Remove mode, the next stick is the first slot
// the aim changes and the layout does not yet; in Move mode the hint is a stick to pick up
// (one the aim does not hold, the latest misplaced one first) and, with a stick in hand, the
// slot to put it down (back where it came from when the aim keeps that stick). Following
// hints alone from the start therefore solves the puzzle in exactly its required moves.
// Nothing when no puzzle is being played.
// Every slot of the active field, horizontal ones first, each layer in index order.
std::vector<StickSlot> activeSlots(const PuzzleBoard& board);

std::optional<Hint> nextHint(PuzzleBoard& board, const StickLayers& committed,
                             const std::vector<StickSlot>& newestChanges,
                             const StickLayers* followed);

}  // namespace kz
