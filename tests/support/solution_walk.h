#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "screen/board.h"

namespace kz {

using StickPlace = std::pair<StickOrientation, int32_t>;

// Sticks the Board's solution takes away and slots it fills, in index order.
struct SolutionChanges {
    std::vector<StickPlace> taken;
    std::vector<StickPlace> filled;
};
SolutionChanges solutionChanges(Board& board);

// The sticks to click, in order, to turn the start into the solution: in a move puzzle each
// taken stick followed by the slot it goes to, otherwise the taken ones, then the filled
// ones. Empty when a move puzzle takes and fills different numbers.
std::vector<StickPlace> solutionClicks(Board& board);

// Centre of a stick of the Board, in the Board's parent coordinates.
std::pair<int32_t, int32_t> stickCentre(Board& board, StickPlace stick);

}  // namespace kz
