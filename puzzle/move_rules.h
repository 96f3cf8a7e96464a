#pragma once

#include <cstdint>
#include <vector>

#include "puzzle/field_model.h"

namespace kz {

// The click rules of the three modes, for the Board, the replay of a kept game and the
// searches alike. Add puts sticks into the start's empty slots and may take them out again;
// Remove takes start sticks away and may put them back; Move picks a stick up and puts it
// down in an empty slot, back where it came from included.

// Whether the mode ever puts a stick into a slot the start left empty.
constexpr bool putsDown(BoardMode mode) {
    return mode != Remove;
}
// Whether the mode ever takes away a stick of the start.
constexpr bool takesAway(BoardMode mode) {
    return mode != Add;
}
// Whether the mode's clicks can change a slot of the start at all.
constexpr bool mayChangeSlot(BoardMode mode, bool inStart) {
    return inStart ? takesAway(mode) : putsDown(mode);
}

// Whether a click on a slot changes it: the slot's stick in the start and now, and whether a
// stick is in hand (which only Move has).
constexpr bool takesClick(BoardMode mode, bool stickInHand, bool inStart, bool present) {
    return mode == Move ? present != stickInHand : mayChangeSlot(mode, inStart);
}
// Whether a stick is in hand after an accepted click.
constexpr bool stickInHandAfterClick(BoardMode mode, bool stickInHand) {
    return mode == Move && !stickInHand;
}

// The moves of changes from the start: each changed slot, or each pair of them when moving.
constexpr int32_t movesOfChanges(BoardMode mode, int32_t changedSlots) {
    return mode == Move ? changedSlots / 2 : changedSlots;
}

// Whether the slots are one whole move from the layout: one click, or in Move a stick picked
// up and put down elsewhere, the slots in either order. Every slot lies in the layers.
bool isOneMove(BoardMode mode, const StickLayers& start, const StickLayers& layout,
               const std::vector<StickSlot>& slots);

// Whether clicks can change exactly these slots of the start: sticks only put down, only
// taken away, or as many taken away as put down.
bool isReachableChange(BoardMode mode, const StickLayers& start,
                       const std::vector<StickSlot>& slots);

}  // namespace kz
