#pragma once

#include <cstdint>
#include <string>

#include "app/common/program_shell.h"
#include "app/common/translation.h"
#include "display/button.h"
#include "puzzle/field_model.h"
#include "screen/game_screen.h"

namespace kz {

// Every text a screen reader hears, and the description of what the screen shows. Each text
// is read from the screen at the moment it is said: the counters as they stand, the buttons
// that show. It says through the program's announce; the session hands the program the
// description with the places of the focus.
class Narrator {
  public:
    Narrator(GameScreen& screen, ProgramShell& shell, const Translation& translation);

    // The ends and starts of play, as the screen reports them.
    void gameStarted();
    void restarted();
    void gaveUp();
    void won();
    // The Board's moves as a click makes them.
    void pickedUp();
    void putBack();
    void moved();
    // Undo or redo to a layout that stands `moves` moves from the start, said before it shows.
    void undone(int32_t moves);
    void redone(int32_t moves);
    void nothingToUndo();
    void nothingToRedo();
    // A hint to change the stick, which shows the given state frame now.
    void hint(StickSlot stick, int32_t stateFrame);
    void stick(StickSlot stick);
    void button(const Button* shown);
    // The names of the places the focus goes to, as stick and button say them: "horizontal
    // match, row 2, column 3, present", "Next".
    std::string stickLabel(StickSlot stick) const;
    std::string buttonLabel(const Button* shown) const;
    void cannotChange();

    // What the screen shows, as one text: the instruction and the moves made, or the end.
    std::string description() const;

  private:
    Board& board() const { return *screen.getBoard(); }
    std::string instruction() const;
    // "Hard puzzle: " before the instruction of a puzzle Next drew for a grade.
    std::string gradeText() const;
    // A text such as "Move {moves} of {required}" for the moves the screen's counter shows.
    std::string movesOf(const char* text) const;
    std::string movesTo(const char* text, int32_t moves) const;
    std::string stickName(StickSlot stick) const;
    void say(const std::string& text);

    GameScreen& screen;
    ProgramShell& shell;
    const Translation& translation;
};

}  // namespace kz
