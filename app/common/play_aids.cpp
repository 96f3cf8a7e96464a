#include "app/common/play_aids.h"

#include <utility>

#include "puzzle/hint.h"
#include "screen/board.h"

namespace kz {

PlayAids::PlayAids(GameScreen& gameScreen, Narrator& gameNarrator, HintBlinker& hintBlinker)
    : screen(gameScreen), narrator(gameNarrator), blinker(hintBlinker) {
    history.start(board().getCurrentSticks());
}

bool PlayAids::canUndo() const {
    return playing() && (history.canUndo() || board().isStickInHand());
}

bool PlayAids::canRedo() const {
    return playing() && history.canRedo();
}

bool PlayAids::canHint() const {
    return playing();
}

void PlayAids::newGame() {
    startOver();
    followed.reset();
}

void PlayAids::startOver() {
    history.start(board().getCurrentSticks());
}

bool PlayAids::movesChanged() {
    if (applying) {
        return false;
    }
    if (board().isStickInHand()) {
        narrator.pickedUp();
    } else if (board().getCurrentSticks() != history.current()) {
        history.record(board().getCurrentSticks());
        narrator.moved();
    } else {
        narrator.putBack();
    }
    return true;
}

void PlayAids::resume(std::vector<StickLayers> layouts, size_t shown,
                      std::optional<StickLayers> hintSolution) {
    history.restore(std::move(layouts), shown);
    followed = std::move(hintSolution);
    apply(history.current());
}

void PlayAids::apply(const StickLayers& layout) {
    // A copy: a win on the way starts the history anew.
    const StickLayers target = layout;
    applying = true;
    board().setLayout(target);
    applying = false;
}

void PlayAids::undo() {
    if (!canUndo()) {
        if (playing()) {
            narrator.nothingToUndo();
        }
        return;
    }
    if (board().isStickInHand()) {
        putBack();
        return;
    }
    const StickLayers& target = history.undo();
    narrator.undone(board().movesFromStart(target));
    apply(target);
}

void PlayAids::redo() {
    if (!canRedo()) {
        if (playing()) {
            narrator.nothingToRedo();
        }
        return;
    }
    const StickLayers& target = history.redo();
    narrator.redone(board().movesFromStart(target));
    apply(target);
}

void PlayAids::putBack() {
    if (!playing() || !board().isStickInHand()) {
        return;
    }
    narrator.putBack();
    apply(history.current());
}

bool PlayAids::hint() {
    if (!canHint()) {
        return false;
    }
    const std::optional<Hint> next = nextHint(
        board(), history.current(), history.changesNewestFirst(), followed ? &*followed : nullptr);
    if (!next) {
        return false;
    }
    followed = next->solution;
    narrator.hint(next->stick, board().getSprite(next->stick)->getFrame());
    blinker.show(next->stick);
    return true;
}

}  // namespace kz
