#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/common/extra_play.h"
#include "app/common/records.h"
#include "puzzle/calendar_day.h"
#include "screen/game_screen.h"
#include "screen/host.h"

namespace kz {

// What a program that switches the extra play on does for it, besides speaking for a
// screen reader and greying Undo, Redo and Hint (the Announcer).
class ExtrasShell : public Announcer {
  public:
    // Copy Puzzle Code: the code of the puzzle on show, for the clipboard.
    virtual void copyText(const std::string& text) = 0;
    // Play Puzzle Code...: ask the player for a code; the program then calls
    // GameSession::playPuzzleCode with it.
    virtual void askPuzzleCode() = 0;
    // Statistics...: show the records; a reset goes through GameSession::resetRecords.
    virtual void showStatistics(const Records& records, CalendarDay today) = 0;
    // Share (the page only): the code of the puzzle on show.
    virtual void share(const std::string& code) { (void)code; }
    // The records changed at the end of a game: store them now.
    virtual void saveRecords(const Records& records) = 0;
    // A new puzzle is on show; its code, for the title.
    virtual void puzzleChanged(const std::string& code) { (void)code; }
    // A win faster than every earlier one of its table.
    virtual void newBestTime(const WinReport& report) { (void)report; }
    // The day it is now, by the clock of UTC, for today's puzzle.
    virtual CalendarDay today() = 0;
};

// The extra play of a session: undo, redo, hints, the keyboard and screen reader texts
// (ExtraPlay), puzzle codes, today's puzzle and the records of the games played. It follows
// the screen's events in ExtraPlay's place and passes them on to it.
class SessionExtras : public ScreenListener {
  public:
    SessionExtras(GameScreen& screen, Host& host, ExtrasShell& shell, Records records);
    ~SessionExtras() override;
    SessionExtras(const SessionExtras&) = delete;
    SessionExtras& operator=(const SessionExtras&) = delete;

    bool key(uint32_t message, uint32_t wparam, int64_t lparam, uint32_t modifiers);
    void onMouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    // True for the commands of the extra play.
    bool command(uint16_t id);
    bool timer(uint32_t id);
    // After every routed message: notes hints taken for the records.
    void afterMessage();

    // False, and nothing changes, for a text that is not a code of a puzzle this board
    // can build.
    bool playPuzzleCode(const std::string& text);
    void playTodaysPuzzle();
    void resetRecords();
    // The end of the session (Exit, a signal, the end of a log-out): a running game counts
    // as left.
    void sessionEnds();

    // Empty before the first puzzle.
    std::string puzzleCode();
    CalendarDay today();
    ExtraPlay& play() { return *extraPlay; }
    const Records& records() const { return records_; }

  private:
    void screenEvent(ScreenEvent event) override;
    void save();

    GameScreen& screen_;
    ExtrasShell& shell_;
    std::unique_ptr<ExtraPlay> extraPlay;
    Records records_;
    // Set while a puzzle from a code or of a day is being started, so that its game counts
    // in the table of its own field and kind.
    std::optional<PuzzleOrigin> startingOrigin_;
    std::optional<CalendarDay> startingDay_;
    int32_t hintsNoted_ = 0;
};

}  // namespace kz
