#include "app/common/narrator.h"

#include "app/common/clock_text.h"
#include "app/common/extras_texts.h"
#include "screen/board.h"

namespace kz {
namespace {

const char* stateName(int32_t stateFrame) {
    switch (stateFrame & ~1) {
        case Present:
            return "present";
        case Added:
            return "added";
        case Removed:
            return "removed";
        default:
            return "empty";
    }
}

// What the player does to follow a hint on a stick of that state.
const char* hintVerb(BoardMode mode, int32_t stateFrame) {
    const int32_t state = stateFrame & ~1;
    switch (mode) {
        case Add:
            return state == Added ? "take away" : "add";
        case Remove:
            return state == Removed ? "put back" : "remove";
        case Move:
            return state == Present || state == Added ? "pick up" : "put it down at";
    }
    return "add";
}

}  // namespace

Narrator::Narrator(GameScreen& gameScreen, ProgramShell& programShell)
    : screen(gameScreen), shell(programShell) {}

void Narrator::gameStarted() {
    const std::string note = resizedNoteText(screen.getShownGrade(), screen.getResize());
    say(gradeText() + instruction() + (note.empty() ? "" : " " + note));
}

void Narrator::restarted() {
    say("Restart, " + movesOf("move"));
}

void Narrator::gaveUp() {
    say("Give Up: the solution is shown.");
}

void Narrator::won() {
    say("You win!");
}

void Narrator::pickedUp() {
    say("Match picked up.");
}

void Narrator::putBack() {
    say("Match put back.");
}

void Narrator::moved() {
    say(movesOf("Move"));
}

void Narrator::undone(int32_t moves) {
    say(movesTo("Undo, move", moves));
}

void Narrator::redone(int32_t moves) {
    say(movesTo("Redo, move", moves));
}

void Narrator::nothingToUndo() {
    say("Nothing to undo.");
}

void Narrator::nothingToRedo() {
    say("Nothing to redo.");
}

void Narrator::hint(StickSlot stick, int32_t stateFrame) {
    say(std::string("Hint: ") + hintVerb(board().getMode(), stateFrame) + " " + stickName(stick));
}

void Narrator::stick(StickSlot slot) {
    say(stickLabel(slot));
}

void Narrator::button(const Button* shown) {
    say(buttonLabel(shown));
}

std::string Narrator::stickLabel(StickSlot slot) const {
    return stickName(slot) + ", " + stateName(board().getSprite(slot)->getFrame());
}

std::string Narrator::buttonLabel(const Button* shown) const {
    if (shown == screen.getNextButton()) {
        return "Next";
    }
    if (shown == screen.getQuitButton()) {
        return "Quit";
    }
    return shown == screen.getRestartButton() ? "Restart" : "Give Up";
}

void Narrator::cannotChange() {
    say("This match cannot be changed now.");
}

std::string Narrator::description() const {
    if (!isPlayableOrigin(board().getOrigin())) {
        return "Start the game by pressing the Next Button.";
    }
    const std::string clock = "time " + clockText(screen.getClockCounter()->getValue()) + ".";
    if (screen.getWinBanner()->isVisible()) {
        return "You win! " + std::to_string(screen.getMovesCounter()->getValue()) + " moves, " +
               clock;
    }
    if (board().isActive()) {
        return gradeText() + instruction() + " " + movesOf("Move") + ", " +
               (board().isStickInHand() ? "a match in hand, " : "") + clock;
    }
    return gradeText() + instruction() + " Given up: the solution is shown.";
}

std::string Narrator::gradeText() const {
    const Difficulty grade = screen.getShownGrade();
    return grade == AsDesigned ? std::string() : std::string(difficultyName(grade)) + " puzzle: ";
}

std::string Narrator::instruction() const {
    const BoardMode mode = board().getMode();
    const char* verb = mode == Add ? "Add" : mode == Move ? "Move" : "Remove";
    const int32_t matches = board().getRequiredMoves();
    const int32_t squares = board().getTargetSquares();
    return std::string(verb) + " " + std::to_string(matches) +
           (matches == 1 ? " match" : " matches") + " to form " + std::to_string(squares) +
           (squares == 1 ? " square." : " squares.");
}

std::string Narrator::movesOf(const char* word) const {
    return movesTo(word, screen.getMovesCounter()->getValue());
}

std::string Narrator::movesTo(const char* word, int32_t moves) const {
    return std::string(word) + " " + std::to_string(moves) + " of " +
           std::to_string(board().getRequiredMoves());
}

std::string Narrator::stickName(StickSlot slot) const {
    const SlotPlace place = board().slotGrid().placeOf(slot);
    return std::string(slot.orientation == Horizontal ? "horizontal" : "vertical") +
           " match, row " + std::to_string(place.row + 1) + ", column " +
           std::to_string(place.column + 1);
}

void Narrator::say(const std::string& text) {
    shell.announce(text);
}

}  // namespace kz
