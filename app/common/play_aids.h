#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/common/hint_blinker.h"
#include "app/common/move_history.h"
#include "app/common/narrator.h"
#include "puzzle/field_model.h"
#include "screen/game_screen.h"

namespace kz {

// What a player asks of the Board besides a click: undo, redo, putting back the stick in hand
// and a hint. It keeps the move history, follows the Board's moves to extend it and drives the
// Board only through its own layout restore. The texts go through the narrator, the hint's
// marker through the blinker.
class PlayAids {
  public:
    PlayAids(GameScreen& screen, Narrator& narrator, HintBlinker& blinker);

    bool canUndo() const;
    bool canRedo() const;
    bool canHint() const;
    void undo();
    void redo();
    // Esc: the stick in hand goes back where it was taken from.
    void putBack();
    // True when a hint was given (one more for the records).
    bool hint();

    // A new game: the history starts again and earlier hints are forgotten.
    void newGame();
    // Restart, Give Up, a win: the history starts again.
    void startOver();
    // A game taken up again, just started on its puzzle: its history, the layout at shown
    // on the field, and the solution earlier hints led towards.
    void resume(std::vector<StickLayers> layouts, size_t shown,
                std::optional<StickLayers> hintSolution);
    const MoveHistory& moveHistory() const { return history; }
    const std::optional<StickLayers>& hintSolution() const { return followed; }

    // The Board reported a change of its moves; false when it was this object's own undo,
    // redo or put-back, which said what it did.
    bool movesChanged();

  private:
    Board& board() const { return *screen.getBoard(); }
    bool playing() const { return board().isActive(); }
    void apply(const StickLayers& layout);

    GameScreen& screen;
    Narrator& narrator;
    HintBlinker& blinker;
    MoveHistory history;
    // The solution earlier hints led towards.
    std::optional<StickLayers> followed;
    bool applying = false;
};

}  // namespace kz
