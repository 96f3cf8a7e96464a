#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kz {

// The two settings, stored and compared as plain integers.
using FieldSize = int32_t;  // 0 for a random size, else N of an N x N field
enum ActionType : int32_t {
    Mixed = 0,
    AddFromNone = 1,
    AddFromSome = 2,
    MoveFromSome = 3,
    RemoveFromFull = 4,
    RemoveFromSome = 5,
};

// The click rules of a puzzle.
enum BoardMode : int32_t {
    Add = 0,
    Move = 1,
    Remove = 2,
};

enum StickOrientation : int32_t {
    Horizontal = 1,
    Vertical = 2,
};

// One stick slot: its layer and its index in that layer's array.
struct StickSlot {
    StickOrientation orientation = Horizontal;
    int32_t index = 0;

    bool operator==(const StickSlot& o) const {
        return orientation == o.orientation && index == o.index;
    }
    bool operator!=(const StickSlot& o) const { return !(*this == o); }
};

// One stick layout, a byte per slot of each layer, numbered by the SlotGrid of the largest
// field whatever the size of the puzzle being played.
struct StickLayers {
    std::vector<uint8_t> horizontal;
    std::vector<uint8_t> vertical;

    bool operator==(const StickLayers& o) const {
        return horizontal == o.horizontal && vertical == o.vertical;
    }
    bool operator!=(const StickLayers& o) const { return !(*this == o); }
    uint8_t at(StickSlot slot) const {
        return (slot.orientation == Horizontal ? horizontal
                                               : vertical)[static_cast<size_t>(slot.index)];
    }
};

// One byte per possible square of the active field, largest squares first.
using SquareList = std::vector<uint8_t>;

// Number of possible squares of a field with the given smaller and larger side.
constexpr int32_t squareCountFor(int32_t smallSide, int32_t largeSide) {
    return (smallSide * (smallSide + 1) * (3 * largeSide - smallSide + 1) + 1) / 6;
}

}  // namespace kz
