#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/fatal_error.h"
#include "app/common/focus_places.h"
#include "app/common/records.h"
#include "app/common/settings_store.h"
#include "app/common/text_medium.h"
#include "display/rect.h"
#include "puzzle/calendar_day.h"

namespace kz {

// Whether each command that can be greyed may be chosen now. The session pushes it whole
// whenever one of them changes; a program never asks.
struct CommandStates {
    bool undo = false;
    bool redo = false;
    bool hint = false;
    // Copy Puzzle Code and Share: a puzzle is on show.
    bool puzzleOnShow = false;

    // For one of kGreyableCommands; true for every other command.
    bool enabled(uint16_t commandId) const;
    bool operator==(const CommandStates& o) const {
        return undo == o.undo && redo == o.redo && hint == o.hint && puzzleOnShow == o.puzzleOnShow;
    }
    bool operator!=(const CommandStates& o) const { return !(*this == o); }
};

// The commands whose state CommandStates holds.
constexpr uint16_t kGreyableCommands[] = {command::Undo, command::Redo, command::Hint,
                                          command::CopyPuzzleCode, command::Share};

// The menu as the session pushes it: the item marked in each radio group and the greyable
// commands' states.
struct MenuState {
    uint16_t fieldSize = 0;
    uint16_t actionType = 0;
    // 0 where the menus offer no grades (the Windows program).
    uint16_t difficulty = 0;
    CommandStates commands;

    // The item marked in a group of the menu table; 0 for none.
    uint16_t marked(int group) const;
    bool operator==(const MenuState& o) const {
        return fieldSize == o.fieldSize && actionType == o.actionType &&
               difficulty == o.difficulty && commands == o.commands;
    }
    bool operator!=(const MenuState& o) const { return !(*this == o); }
};

// What the window shows around the game, pushed whole whenever a part of it changes.
struct WindowState {
    // "Kestrane Zivadorured — CODE — puzzle of YYYY-MM-DD — Hard": the puzzle on show.
    std::string title;
    // What the player was last told in passing (another field size played than the one set,
    // a new best time); empty from the next puzzle on.
    std::string note;
    // The end of the page's address that plays the puzzle on show ("#p=CODE", "#d=DAY");
    // empty when none is on show.
    std::string link;
    MenuState menu;

    // The title with the note after it, for a program that shows the note in its title bar.
    std::string titleWithNote() const;
    bool operator==(const WindowState& o) const {
        return title == o.title && note == o.note && link == o.link && menu == o.menu;
    }
    bool operator!=(const WindowState& o) const { return !(*this == o); }
};

// What the session asks the player for through the program, which answers through the
// session's entry named with each.
struct Question {
    enum Kind {
        PuzzleCode,   // Play Puzzle Code...: GameSession::playPuzzle with what was typed;
                      // text: a link's code that names no puzzle, shown as wrong
        Day,          // Past Puzzle...: a day from first to today, both included; playDay
        RecordsFile,  // Import Records...: a file to read; importRecords with what it holds
        SaveRecords,  // Export Records...: where to save text as a file; no answer
    };
    Kind kind = PuzzleCode;
    CalendarDay first = 0;
    CalendarDay today = 0;
    std::string text;
};

// Everything a program does for its game session besides drawing (Display) and the clock and
// quitting (Host). The operations of the extra play do nothing by default: a program that
// never switches it on (the Windows one) leaves them.
class ProgramShell {
  public:
    virtual ~ProgramShell() = default;

    // The menus' marks (and, with the extra play, the title and the rest) as they are now:
    // once as the session starts, then at every change.
    virtual void windowChanged(const WindowState& window) = 0;
    virtual void openHelp(HelpTopic topic) = 0;
    // Returns when the box is closed.
    virtual void showAbout() = 0;
    // Tells the player of a failure the program ends with; returns when the player has
    // seen it.
    virtual void fatal(FatalError error) = 0;
    // Shows the areas (in the display target's coordinates) a draw has just written. A
    // program whose display draws straight onto the screen has nothing to do.
    virtual void present(const std::vector<Rect>& areas) { (void)areas; }
    // The areas of the screen a small screen lays out apart, in the screen's coordinates: the
    // field's touch area, then the four panels (TouchAim::layoutAreas). Once as the session
    // starts and whenever they change.
    virtual void layoutAreasChanged(const std::vector<Rect>& areas) { (void)areas; }
    // Something on show changed: the program calls GameSession::frame once, when it draws
    // its next frame. Asked once until that frame is drawn. A program that calls frame after
    // every entry it routes has nothing to do.
    virtual void frameWanted() {}

    // The records could not be written (true) or could again (false): a notice that covers
    // no part of the game says so while it lasts.
    virtual void recordsUnsaved(bool unsaved) { (void)unsaved; }
    // Copy Puzzle Code and Copy Today's Result: the text for the clipboard, and the sentence
    // that tells the player, once it is there, what was copied.
    virtual void copyText(const std::string& text, const std::string& copied) {
        (void)text;
        (void)copied;
    }
    virtual void ask(const Question& question) { (void)question; }
    // The address of the page the game is played on, for a link in a text to share; empty for
    // a program that has none.
    virtual std::string pageAddress() { return {}; }
    // Statistics...: show the records; a reset goes through GameSession::resetRecords.
    virtual void showStatistics(const Records& records, CalendarDay today) {
        (void)records;
        (void)today;
    }
    // Share: the code of the puzzle on show and the address that plays it.
    virtual void share(const std::string& code, const std::string& address) {
        (void)code;
        (void)address;
    }
    // A sentence for a screen reader: a new game, a move, the focus, a hint, the end.
    virtual void announce(const std::string& text) { (void)text; }
    // The places the keyboard focus can reach, the one it is on and what the screen shows,
    // whenever one of them changed: a screen reader's objects of the game field.
    virtual void focusPlacesChanged(const FocusPlaces& places) { (void)places; }
    // The day it is now by the clock of UTC, for today's puzzle; the system's clock unless a
    // program knows better.
    virtual CalendarDay today();
};

// Where a program keeps what outlives a run, for the session to read and write: the settings
// at every choice, the records, the game in progress. A part a program does not keep (the
// Windows program keeps its settings itself, at exit) is kept nowhere.
struct ProgramStores {
    SettingsMedium* settings = nullptr;
    TextMedium* records = nullptr;
    // Read once as the extra play starts; unusable when another window holds the game.
    TextMedium* game = nullptr;
};

}  // namespace kz
