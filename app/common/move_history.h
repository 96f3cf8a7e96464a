#pragma once

#include <cstddef>
#include <vector>

#include "puzzle/field_model.h"

namespace kz {

// The layouts a game has passed through, for undo and redo: the start first, then the layout
// after each move. A cursor marks the one on show; a new move drops what could be redone.
class MoveHistory {
  public:
    // A new history with only this layout: nothing to undo or redo.
    void start(const StickLayers& layout);

    // The layout on show, without a stick in hand.
    const StickLayers& current() const { return layouts[cursor]; }
    bool canUndo() const { return cursor > 0; }
    bool canRedo() const { return cursor + 1 < layouts.size(); }

    // A move made on the field: the layout after it follows the one on show.
    void record(const StickLayers& layout);
    // The cursor goes back or forward one move; the layout to show then.
    const StickLayers& undo();
    const StickLayers& redo();

    // Every layout from the start, and the index of the one on show.
    const std::vector<StickLayers>& all() const { return layouts; }
    size_t position() const { return cursor; }
    // A history taken up again: these layouts, the one at shown on show. Ignored unless
    // there is a layout at shown.
    void restore(std::vector<StickLayers> all, size_t shown);

    // Every slot changed by the moves up to the cursor, the latest move's first: what a hint
    // may ask to take back.
    std::vector<StickSlot> changesNewestFirst() const;

  private:
    std::vector<StickLayers> layouts{StickLayers{}};
    size_t cursor = 0;
};

}  // namespace kz
