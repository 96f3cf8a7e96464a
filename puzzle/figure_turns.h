#pragma once

#include <cstdint>
#include <tuple>
#include <vector>

#include "puzzle/slot_grid.h"

namespace kz {

// A stick as the two lattice points it joins, the smaller first (by column, then row).
struct Joint {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;

    bool operator<(const Joint& o) const {
        return std::tie(x0, y0, x1, y1) < std::tie(o.x0, o.y0, o.x1, o.y1);
    }
    bool operator==(const Joint& o) const {
        return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1;
    }
};

Joint jointOf(const SlotPlace& place);
SlotPlace placeOf(const Joint& joint);

// The eight turns and mirrors of a square, numbered by what they do: 4 swaps the sides
// (only a square field keeps its shape under it), then 1 mirrors left to right and 2 top
// to bottom within a field of columns x rows.
constexpr int32_t kFigureTurns = 8;
constexpr bool swapsSides(int32_t turn) {
    return (turn & 4) != 0;
}

// A figure's sticks turned; a figure turned in a field that is not square under a turn that
// swaps its sides may stand outside it.
std::vector<Joint> turnedFigure(const std::vector<Joint>& figure, int32_t turn, int32_t columns,
                                int32_t rows);

}  // namespace kz
