#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/fatal_error.h"
#include "app/common/focus_places.h"
#include "app/common/records.h"
#include "app/common/records_store.h"
#include "app/common/settings.h"
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

// Everything a program does for its game session besides drawing (Display) and the clock and
// quitting (Host). The operations of the extra play do nothing by default: a program that
// never switches it on (the Windows one) leaves them.
class ProgramShell {
  public:
    virtual ~ProgramShell() = default;

    // Moves the radio mark of a group of the menu table (kFieldSizeGroup,
    // kActionTypeGroup) to the item of commandId.
    virtual void mark(int group, uint16_t commandId) = 0;
    virtual void commandsChanged(const CommandStates& states) { (void)states; }
    virtual void openHelp(HelpTopic topic) = 0;
    // Returns when the box is closed.
    virtual void showAbout() = 0;
    // Tells the player of a failure the program ends with; returns when the player has
    // seen it.
    virtual void fatal(FatalError error) = 0;
    // Shows the areas (in the display target's coordinates) a draw has just written. A
    // program whose display draws straight onto the screen has nothing to do.
    virtual void present(const std::vector<Rect>& areas) { (void)areas; }
    // After the screen took a new field size or action type from the menu; a program that
    // keeps its settings at every change stores them here.
    virtual void settingsChanged(const GameSettings& settings) { (void)settings; }

    // Where the records' text is kept (the session reads and writes it through the records
    // store): read when the extra play starts and again before each write, written when the
    // records change.
    virtual RecordsMedium::Stored readRecords() { return {}; }
    virtual bool writeRecords(const std::string& text) {
        (void)text;
        return false;
    }
    // Where the game in progress is kept between runs: read once when the extra play starts,
    // to take the game up again, and written at every change of the field and when the
    // session ends. Nothing when no game is kept; an empty text keeps none. A program that
    // keeps nothing leaves a game running at the end to count as left.
    virtual std::optional<std::string> readGame() { return std::nullopt; }
    virtual bool writeGame(const std::string& text) {
        (void)text;
        return false;
    }
    // Held from a read of the records to the write after it, so that another window of the
    // program never writes in between; false when it cannot be had now.
    virtual bool lockRecords() { return true; }
    virtual void unlockRecords() {}
    // The records could not be written (true) or could again (false): a notice that covers
    // no part of the game says so while it lasts.
    virtual void recordsUnsaved(bool unsaved) { (void)unsaved; }
    // Export Records...: offer the text to the player to save as a file.
    virtual void exportRecords(const std::string& text) { (void)text; }
    // Import Records...: ask the player for a file; the program then calls
    // GameSession::importRecords with what it holds.
    virtual void askRecordsFile() {}
    // Copy Puzzle Code and Copy Today's Result: the text for the clipboard, and the sentence
    // that tells the player, once it is there, what was copied.
    virtual void copyText(const std::string& text, const std::string& copied) {
        (void)text;
        (void)copied;
    }
    // Play Puzzle Code...: ask the player for a code; the program then calls
    // GameSession::playPuzzle with what was typed.
    virtual void askPuzzleCode() {}
    // Past Puzzle...: ask the player for a day from first to today, both included; the program
    // then calls GameSession::playDay with the day chosen.
    virtual void askDay(CalendarDay first, CalendarDay today) {
        (void)first;
        (void)today;
    }
    // The address of the page the game is played on, for a link in a text to share; empty for
    // a program that has none.
    virtual std::string pageAddress() { return {}; }
    // Statistics...: show the records; a reset goes through GameSession::resetRecords.
    virtual void showStatistics(const Records& records, CalendarDay today) {
        (void)records;
        (void)today;
    }
    // Share: the code of the puzzle on show.
    virtual void share(const std::string& code) { (void)code; }
    // A new puzzle is on show; its code, for the title.
    virtual void puzzleChanged(const std::string& code) { (void)code; }
    // Right after: the day whose puzzle it is (Today's Puzzle, Past Puzzle...), for the title;
    // nothing for any other puzzle.
    virtual void puzzleDated(std::optional<CalendarDay> day) { (void)day; }
    // After that: the grade Next drew it for ("Hard"; empty when it was not drawn for one),
    // and what the player is told when Next played another field size than the one set.
    virtual void puzzleGraded(const std::string& grade, const std::string& note) {
        (void)grade;
        (void)note;
    }
    // A win faster than every earlier one of its table.
    virtual void newBestTime(const WinReport& report) { (void)report; }
    // A sentence for a screen reader: a new game, a move, the focus, a hint, the end.
    virtual void announce(const std::string& text) { (void)text; }
    // What the screen shows, as one text, for the game field's accessible description.
    virtual void describe(const std::string& text) { (void)text; }
    // The places the keyboard focus can reach and the one it is on, whenever a name, a
    // place, a state or the focus changed: a screen reader's objects of the game field.
    virtual void focusPlacesChanged(const FocusPlaces& places) { (void)places; }
    // The day it is now by the clock of UTC, for today's puzzle.
    virtual CalendarDay today() { return 0; }
};

}  // namespace kz
