#include "puzzle/move_rules.h"

namespace kz {

bool isOneMove(BoardMode mode, const StickLayers& start, const StickLayers& layout,
               const std::vector<StickSlot>& slots) {
    const auto takes = [&](bool stickInHand, StickSlot slot) {
        return takesClick(mode, stickInHand, start.at(slot) != 0, layout.at(slot) != 0);
    };
    if (mode != Move) {
        return slots.size() == 1 && takes(false, slots[0]);
    }
    return slots.size() == 2 && ((takes(false, slots[0]) && takes(true, slots[1])) ||
                                 (takes(false, slots[1]) && takes(true, slots[0])));
}

bool isReachableChange(BoardMode mode, const StickLayers& start,
                       const std::vector<StickSlot>& slots) {
    int32_t putDown = 0;
    int32_t takenAway = 0;
    for (const StickSlot& slot : slots) {
        const bool inStart = start.at(slot) != 0;
        if (!mayChangeSlot(mode, inStart)) {
            return false;
        }
        (inStart ? takenAway : putDown) += 1;
    }
    return mode != Move || putDown == takenAway;
}

}  // namespace kz
