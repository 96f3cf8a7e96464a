#pragma once

// Positions a player reaches from a puzzle's start by a few changes the mode allows, drawn
// from a fixed-seed source so that the tests and the hint benchmark see the same positions.
#include <cstdint>
#include <random>
#include <vector>

#include "puzzle/hint.h"
#include "puzzle/puzzle_board.h"

namespace kz {

inline void setStick(StickLayers& layout, StickSlot s, uint8_t value) {
    (s.orientation == Horizontal ? layout.horizontal
                                 : layout.vertical)[static_cast<size_t>(s.index)] = value;
}

// A layout the player's clicks made, with the slots they changed, the latest first.
struct PlayedPosition {
    StickLayers layout;
    std::vector<StickSlot> changes;
};

// The start after `count` finished changes, each drawn uniformly among those the mode's clicks
// allow: in Add mode a stick into an empty slot, in Remove mode a start stick taken away, in
// Move mode a stick carried from a full slot to an empty one. Fewer when none is left.
inline PlayedPosition randomChanges(PuzzleBoard& board, int32_t count, std::mt19937& random) {
    const std::vector<StickSlot> slots = activeSlots(board);
    const StickLayers& start = board.getStartSticks();
    PlayedPosition p{start, {}};
    const auto draw = [&](const std::vector<StickSlot>& from) {
        return from[static_cast<size_t>(random() % from.size())];
    };
    for (int32_t i = 0; i < count; ++i) {
        std::vector<StickSlot> full;
        std::vector<StickSlot> empty;
        for (StickSlot s : slots) {
            (p.layout.at(s) != 0 ? full : empty).push_back(s);
        }
        std::vector<StickSlot> removable;
        for (StickSlot s : full) {
            if (start.at(s) != 0) {
                removable.push_back(s);
            }
        }
        switch (board.getMode()) {
            case Add:
                if (empty.empty()) {
                    return p;
                }
                p.changes.insert(p.changes.begin(), draw(empty));
                setStick(p.layout, p.changes.front(), 1);
                break;
            case Remove:
                if (removable.empty()) {
                    return p;
                }
                p.changes.insert(p.changes.begin(), draw(removable));
                setStick(p.layout, p.changes.front(), 0);
                break;
            case Move: {
                if (full.empty() || empty.empty()) {
                    return p;
                }
                const StickSlot from = draw(full);
                const StickSlot to = draw(empty);
                setStick(p.layout, from, 0);
                setStick(p.layout, to, 1);
                p.changes.insert(p.changes.begin(), {to, from});
                break;
            }
        }
    }
    return p;
}

}  // namespace kz
