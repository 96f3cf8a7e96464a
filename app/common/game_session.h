#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/common/commands.h"
#include "app/common/program_shell.h"
#include "app/common/records_store.h"
#include "app/common/settings.h"
#include "app/common/translation.h"
#include "app/common/written_areas.h"
#include "display/image.h"
#include "display/rect.h"
#include "display/surface.h"
#include "puzzle/calendar_day.h"
#include "puzzle/puzzle_origin.h"
#include "screen/game_screen.h"
#include "screen/host.h"

namespace kz {

struct ExtraParts;

// What a program offers of the game beyond the play every program has, fixed for a session.
struct SessionOptions {
    // Undo, hints, keys, texts for screen readers, codes, today's puzzle, the records and the
    // game kept from an earlier run. Off, as the Windows program plays, unless asked for.
    bool extraPlay = false;
    ProgramStores stores;
    // The graded puzzles of Next's rare cells and of the days from 2027 on, outliving the
    // session; without it Next plays the cells it searches and those days have no puzzle.
    const PuzzleCatalogue* catalogue = nullptr;
    // The player's language for every text the session composes; English when none is given.
    const Translation* translation = nullptr;
};

// One game as every program drives it, and the one thing a program calls: owns the 21
// Images and the GameScreen and routes each message to the screen and to the extra play. An
// entry only changes the game; when something on show changed it asks the program for a
// frame (ProgramShell::frameWanted), once until frame() has drawn the tree and handed the
// program the areas that draw wrote. It is the screen's one listener and hands each of its
// events to the parts of the extra play and the records in a fixed order. The first failed
// draw shows "Paint Error" through the shell and quits with exit code 1 through the host,
// once; after it nothing is drawn again.
class GameSession : public ScreenListener {
  public:
    // Marks the settings in the menus, makes the Images in table order (through display)
    // and the screen after them, then hands the screen the settings. With the extra play, its
    // parts follow, the records are read and a game the program kept from an earlier run goes
    // on where it stopped. Nothing is drawn, and no frame asked for, yet.
    GameSession(Display& display, Host& host, ProgramShell& shell, const GameSettings& settings,
                SessionOptions options = {});
    ~GameSession() override;
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Draws what changed since the last frame and presents the areas written, once. False
    // once a draw has failed, now or earlier.
    bool frame();

    // The entries. None draws; each but key returns false once a draw has failed.
    bool mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    // A mouse message from a finger or a pen: the point is aimed at the nearest place first
    // (TouchAim).
    bool touch(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    // The pointer has left the screen, as when a finger is lifted: nothing keeps the look it
    // has under the pointer.
    bool pointerLeft();
    // modifiers: the keyflag bits of the keys held. True when the extra play took the key: a
    // program then keeps it from its toolkit's own use of it (moving the focus, scrolling).
    bool key(uint32_t message, uint32_t wparam, uint32_t modifiers = 0);
    // A tick of the timer of that identifier: the game clock, the hint's, the records' retry
    // while they cannot be written, or the search for the next graded puzzle.
    bool timer(uint32_t id = GameScreen::kGameTimerId);
    // The area, in the screen's parent coordinates, needs painting.
    bool paint(const Rect& area);
    bool paintAll();
    bool command(uint16_t id);
    // Where the screen's top-left corner lies on the display's target. No draw.
    void moveTo(int32_t x, int32_t y);

    bool failed() const { return paintFailed_; }
    // The settings the screen holds now, as the program stores them at exit.
    GameSettings settings();
    int32_t width() const { return gameScreen_->getWidth(); }
    int32_t height() const { return gameScreen_->getHeight(); }
    // The same size from the table of pictures alone, before a session exists: a program can
    // size and show its window while the pictures are still being made.
    static int32_t screenWidth();
    static int32_t screenHeight() { return GameScreen::kHeight; }
    GameScreen& screen() { return *gameScreen_; }

    // Destroys the Images in creation order; from then on nothing is routed or drawn. For a
    // program that must free them before the screen ends.
    void destroyImages();

    // Starts the puzzle of a code (surrounding blanks aside), or of an origin read from one;
    // false, with nothing changed, for a wrong code or without the extra play.
    bool playPuzzle(const std::string& code);
    bool playPuzzle(const PuzzleOrigin& origin);
    // Starts the puzzle of a day (Past Puzzle..., a link to the day) as Today's Puzzle started
    // it on that day. Today is today's puzzle; an earlier day counts in the records
    // but not in the days in a row. False, with nothing changed, for a day before the first
    // puzzle's or after today, or without the extra play.
    bool playDay(CalendarDay day);
    // The same for a day as "YYYY-MM-DD"; false for a text that is no day.
    bool playDay(std::string_view day);
    // The end of an address that plays a puzzle ("#p=CODE", "#d=YYYY-MM-DD", as
    // WindowState::link gives it): the game taken up from an earlier run goes on when it is of
    // that puzzle, otherwise the puzzle starts as playPuzzle or playDay starts it. False for a
    // text that names no puzzle.
    bool openLink(std::string_view link);
    // Puts the keyboard focus on a place of the last FocusPlaces pushed, as a screen reader
    // asks, and with press clicks there as Space would; false for a place that is no longer
    // there.
    bool focusOn(size_t place, bool press = false);
    // Zeroes the records and stores them.
    bool resetRecords();
    // Takes the records of a file the player chose (Import Records...) into the records.
    RecordsImport importRecords(std::string_view text);
    // Reads the stored records again: another window or tab of the program changed them.
    void refreshRecords();
    // The records as the player sees them; null without the extra play.
    const Records* records() const;
    // The end of the session: a game still running is kept for the next run, clock and all;
    // one the program cannot keep counts as left in the records. Games not stored yet get
    // one more try.
    void end();
    // Keeps the game running now with its clock as it stands, for a program about to be
    // put away (a page hidden) that may never be told its end.
    void keepGame();
    // The code of the puzzle of the game being played; empty when none is.
    std::string puzzleInPlay();

    // The one door through which checks look inside the extra play; no program uses it.
    friend struct ExtraPlayInspection;

  private:
    void screenEvent(const ScreenEvent& event) override;
    // The session's listener set, the grade marked and a kept game taken up.
    void startExtraPlay();
    bool live() const { return !paintFailed_ && !imagesDestroyed_; }
    // Live, and the extra play is on.
    bool extraLive() const { return options_.extraPlay && live(); }
    bool extraKey(uint32_t message, uint32_t wparam, uint32_t modifiers);
    bool extraCommand(uint16_t id);
    void playTodaysPuzzle();
    // Takes up the game the program kept, if it is one; true when it goes on.
    bool resumeGame();
    // Copy Today's Result: the result of today's puzzle, once solved, for the clipboard.
    void copyTodaysResult();
    bool startPuzzle(const PuzzleOrigin& origin, std::optional<CalendarDay> day,
                     bool pastDay = false);
    // A game setting chosen: stored, and the next Next searched for it.
    void settingChanged();
    // After every routed message: the window's state and the focus places, pushed when they
    // changed.
    void settle();
    MenuState menuState();
    // A new puzzle on show: the title, the link and the note it brings.
    void puzzleShown(const ScreenEvent& event);
    // After every entry: a frame asked for when something on show changed. False once a
    // draw has failed.
    bool routed();
    void wantFrame();
    bool draw();

    // Every Image and the screen draw through it; it is the active display.
    WrittenAreas written_;
    Host& host_;
    ProgramShell& shell_;
    std::array<std::unique_ptr<Image>, kImageCount> images_;  // creation order
    std::unique_ptr<GameScreen> gameScreen_;
    SessionOptions options_;
    // Stands for a store the program does not keep.
    NoTextMedium keptNowhere_;
    English english_;
    const Translation& translation_;
    // Made with every session, heard only with the extra play; declared after the screen, so
    // they end first.
    std::unique_ptr<ExtraParts> extras_;
    WindowState window_;
    std::optional<WindowState> windowShown_;
    std::optional<FocusPlaces> focusPlaces_;
    std::vector<Rect> layoutAreas_;
    // A frame was asked for and is not drawn yet.
    bool frameAsked_ = false;
    bool paintFailed_ = false;
    bool imagesDestroyed_ = false;
};

}  // namespace kz
