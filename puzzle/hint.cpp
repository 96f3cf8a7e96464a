#include "puzzle/hint.h"

#include <functional>

#include "puzzle/move_rules.h"

namespace kz {

namespace {

// The latest change that meets the test, else the first slot that does.
std::optional<StickSlot> choose(const std::vector<StickSlot>& slots,
                                const std::vector<StickSlot>& newestChanges,
                                const std::function<bool(StickSlot)>& test) {
    for (StickSlot s : newestChanges) {
        if (test(s)) {
            return s;
        }
    }
    for (StickSlot s : slots) {
        if (test(s)) {
            return s;
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<StickSlot> activeSlots(const PuzzleBoard& board) {
    std::vector<StickSlot> slots;
    const StickLayers& start = board.getStartSticks();
    for (int32_t i = 0; i < static_cast<int32_t>(start.horizontal.size()); ++i) {
        if (board.isActiveHorizontal(i)) {
            slots.push_back({Horizontal, i});
        }
    }
    for (int32_t i = 0; i < static_cast<int32_t>(start.vertical.size()); ++i) {
        if (board.isActiveVertical(i)) {
            slots.push_back({Vertical, i});
        }
    }
    return slots;
}

std::optional<Hint> nextHint(PuzzleBoard& board, const StickLayers& committed,
                             const std::vector<StickSlot>& newestChanges,
                             const StickLayers* followed) {
    if (!board.isActive()) {
        return std::nullopt;
    }
    const StickLayers& start = board.getStartSticks();
    const StickLayers& current = board.getCurrentSticks();
    const std::vector<StickSlot> slots = activeSlots(board);
    const auto changed = [&](StickSlot s) { return committed.at(s) != start.at(s); };
    const auto keepsEveryChange = [&](const StickLayers& solution) {
        for (StickSlot s : slots) {
            if (changed(s) && solution.at(s) != committed.at(s)) {
                return false;
            }
        }
        return true;
    };

    Hint hint;
    const StickLayers& generated = board.getSolutionSticks();
    if (followed != nullptr && keepsEveryChange(*followed)) {
        hint.solution = *followed;
    } else if (keepsEveryChange(generated)) {
        hint.solution = generated;
    } else if (auto found = SolutionSearch(board).solutionKeeping(committed)) {
        hint.solution = *found;
    } else {
        hint.solution = followed != nullptr ? *followed : generated;
    }
    const StickLayers& aim = hint.solution;

    // The slots the next click may change.
    const auto takes = [&](StickSlot s) {
        return takesClick(board.getMode(), board.isStickInHand(), start.at(s) != 0,
                          current.at(s) != 0);
    };
    std::optional<StickSlot> stick;
    if (board.getMode() == Move) {
        if (board.isStickInHand()) {
            std::optional<StickSlot> origin;
            for (StickSlot s : slots) {
                if (committed.at(s) != 0 && current.at(s) == 0) {
                    origin = s;
                }
            }
            if (origin && aim.at(*origin) != 0) {
                stick = origin;  // the aim keeps it where it was: put it back
            } else {
                stick = choose(slots, newestChanges,
                               [&](StickSlot s) { return aim.at(s) != 0 && takes(s); });
            }
        } else {
            stick = choose(slots, newestChanges,
                           [&](StickSlot s) { return aim.at(s) == 0 && takes(s); });
        }
    } else {
        stick = choose(slots, newestChanges,
                       [&](StickSlot s) { return changed(s) && aim.at(s) != committed.at(s); });
        if (!stick) {
            stick = choose(slots, {}, [&](StickSlot s) { return aim.at(s) != committed.at(s); });
        }
    }
    if (!stick) {
        return std::nullopt;
    }
    hint.stick = *stick;
    return hint;
}

}  // namespace kz
