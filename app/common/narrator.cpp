#include "app/common/narrator.h"

#include "app/common/clock_text.h"
#include "app/common/extras_texts.h"
#include "app/common/translation.h"
#include "screen/board.h"

namespace kz {
namespace {

// What a stick of that state is called after its name: "horizontal match, row 1, column 2,
// present".
const char* stateLabel(int32_t stateFrame) {
    switch (stateFrame & ~1) {
        case Present:
            return N_("{match}, present");
        case Added:
            return N_("{match}, added");
        case Removed:
            return N_("{match}, removed");
        default:
            return N_("{match}, empty");
    }
}

// The hint for a stick of that state: what the player does to follow it.
const char* hintText(BoardMode mode, int32_t stateFrame) {
    const int32_t state = stateFrame & ~1;
    switch (mode) {
        case Add:
            return state == Added ? N_("Hint: take away {match}") : N_("Hint: add {match}");
        case Remove:
            return state == Removed ? N_("Hint: put back {match}") : N_("Hint: remove {match}");
        case Move:
            return state == Present || state == Added ? N_("Hint: pick up {match}")
                                                      : N_("Hint: put it down at {match}");
    }
    return N_("Hint: add {match}");
}

}  // namespace

Narrator::Narrator(GameScreen& gameScreen, ProgramShell& programShell, const Translation& language)
    : screen(gameScreen), shell(programShell), translation(language) {}

void Narrator::gameStarted() {
    const std::string note =
        resizedNoteText(translation, screen.getShownGrade(), screen.getResize());
    say(gradeText() + instruction() + (note.empty() ? "" : " " + note));
}

void Narrator::restarted() {
    say(movesOf(N_("Restart, move {moves} of {required}")));
}

void Narrator::gaveUp() {
    say(translation.text(N_("Give Up: the solution is shown.")));
}

void Narrator::won() {
    say(translation.text(N_("You win!")));
}

void Narrator::pickedUp() {
    say(translation.text(N_("Match picked up.")));
}

void Narrator::putBack() {
    say(translation.text(N_("Match put back.")));
}

void Narrator::moved() {
    say(movesOf(N_("Move {moves} of {required}")));
}

void Narrator::undone(int32_t moves) {
    say(movesTo(N_("Undo, move {moves} of {required}"), moves));
}

void Narrator::redone(int32_t moves) {
    say(movesTo(N_("Redo, move {moves} of {required}"), moves));
}

void Narrator::nothingToUndo() {
    say(translation.text(N_("Nothing to undo.")));
}

void Narrator::nothingToRedo() {
    say(translation.text(N_("Nothing to redo.")));
}

void Narrator::hint(StickSlot stick, int32_t stateFrame) {
    say(filled(translation.text(hintText(board().getMode(), stateFrame)),
               {{"match", stickName(stick)}}));
}

void Narrator::stick(StickSlot slot) {
    say(stickLabel(slot));
}

void Narrator::button(const Button* shown) {
    say(buttonLabel(shown));
}

std::string Narrator::stickLabel(StickSlot slot) const {
    return filled(translation.text(stateLabel(board().getSprite(slot)->getFrame())),
                  {{"match", stickName(slot)}});
}

std::string Narrator::buttonLabel(const Button* shown) const {
    const char* name = shown == screen.getNextButton()      ? N_("Next")
                       : shown == screen.getQuitButton()    ? N_("Quit")
                       : shown == screen.getRestartButton() ? N_("Restart")
                                                            : N_("Give Up");
    return translation.text(name);
}

void Narrator::cannotChange() {
    say(translation.text(N_("This match cannot be changed now.")));
}

std::string Narrator::description() const {
    if (!isPlayableOrigin(board().getOrigin())) {
        return translation.text(N_("Start the game by pressing the Next Button."));
    }
    const std::string clock = clockText(screen.getClockCounter()->getValue());
    if (screen.getWinBanner()->isVisible()) {
        const int32_t moves = screen.getMovesCounter()->getValue();
        return filled(translation.count("You win! {n} move, time {clock}.",
                                        "You win! {n} moves, time {clock}.", moves),
                      {{"n", std::to_string(moves)}, {"clock", clock}});
    }
    if (board().isActive()) {
        const char* progress = board().isStickInHand()
                                   ? N_("{instruction} {moves}, a match in hand, time {clock}.")
                                   : N_("{instruction} {moves}, time {clock}.");
        return filled(translation.text(progress),
                      {{"instruction", gradeText() + instruction()},
                       {"moves", movesOf(N_("Move {moves} of {required}"))},
                       {"clock", clock}});
    }
    return filled(translation.text(N_("{instruction} Given up: the solution is shown.")),
                  {{"instruction", gradeText() + instruction()}});
}

std::string Narrator::gradeText() const {
    const Difficulty grade = screen.getShownGrade();
    return grade == AsDesigned ? std::string()
                               : filled(translation.text(N_("{grade} puzzle: ")),
                                        {{"grade", translation.text(difficultyName(grade))}});
}

std::string Narrator::instruction() const {
    const BoardMode mode = board().getMode();
    const char* sentence = mode == Add    ? N_("Add {matches} to form {squares}.")
                           : mode == Move ? N_("Move {matches} to form {squares}.")
                                          : N_("Remove {matches} to form {squares}.");
    const int32_t matches = board().getRequiredMoves();
    const int32_t squares = board().getTargetSquares();
    // TRANSLATORS: {matches} is "{n} match" below, {squares} is "{n} square".
    return filled(translation.text(sentence),
                  {{"matches", filled(translation.count("{n} match", "{n} matches", matches),
                                      {{"n", std::to_string(matches)}})},
                   {"squares", filled(translation.count("{n} square", "{n} squares", squares),
                                      {{"n", std::to_string(squares)}})}});
}

std::string Narrator::movesOf(const char* text) const {
    return movesTo(text, screen.getMovesCounter()->getValue());
}

std::string Narrator::movesTo(const char* text, int32_t moves) const {
    return filled(translation.text(text),
                  {{"moves", std::to_string(moves)},
                   {"required", std::to_string(board().getRequiredMoves())}});
}

std::string Narrator::stickName(StickSlot slot) const {
    const SlotPlace place = board().slotGrid().placeOf(slot);
    return filled(
        translation.text(slot.orientation == Horizontal
                             ? N_("horizontal match, row {row}, column {column}")
                             : N_("vertical match, row {row}, column {column}")),
        {{"row", std::to_string(place.row + 1)}, {"column", std::to_string(place.column + 1)}});
}

void Narrator::say(const std::string& text) {
    shell.announce(text);
}

}  // namespace kz
