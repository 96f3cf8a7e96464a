#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/common/game_session.h"
#include "app/common/program_shell.h"
#include "app/web/page.h"
#include "display/scaled_display.h"
#include "screen/host.h"
#include "software/software_display.h"

namespace kz {

// The name the game in progress is kept under in the page's storage; an empty text is none.
constexpr const char* kGameStorageName = "game";

// The game in a page: the software surface, the game session with its extra play, and what
// the page shows of them. After every message only the areas the session's draw wrote go to
// the canvas. Each timer (the game clock, a hint's blinking) is a page interval that runs
// only while the session wants it. On a screen of more pixels the frame is scale times the
// screen's size, drawn from the resolver's set of that scale.
class WebProgram : public Host, public ProgramShell {
  public:
    WebProgram(Page& page, SoftwareDisplay::BitmapResolver resolver, int32_t scale = 1);
    ~WebProgram() override;
    WebProgram(const WebProgram&) = delete;
    WebProgram& operator=(const WebProgram&) = delete;

    // Reads the settings, marks them in the menu, makes the session and draws the whole
    // screen. With stored, the extra play starts first (takeUpStored); without, the page's
    // store is still opening and the first frame does not wait for it. Call once.
    void start(bool stored = true);
    // The page's store can be read: the extra play starts with the records and the game kept
    // there, and the whole screen is drawn again. Until then the player's input is passed
    // over, as a game started before it would count in records not read yet and be replaced
    // by the kept one. Once; nothing after the first.
    void takeUpStored();

    // The screen's size in the game's pixels; the frame has scale() x scale() pixels for each.
    int32_t width() const { return session_ ? session_->width() : 0; }
    int32_t height() const { return session_ ? session_->height() : 0; }
    int32_t scale() const { return scaledDisplay_.scale(); }
    // Draws from the resolver's set of another scale from now on: the pictures made again, a
    // frame of that size and the whole screen drawn. False, and nothing changed, when the
    // set cannot be had or the session does not run.
    bool useScale(int32_t scale);
    // False once the session has ended (Exit, Quit, a failed draw): from then on every
    // entry below does nothing.
    bool running() const { return session_ != nullptr && !over_; }
    // The stored records and game are taken up (start with stored, or takeUpStored).
    bool tookUpStored() const { return tookUpStored_; }

    void mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    // The same from a finger or a pen, aimed at the nearest place.
    void touch(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    // A finger or a pen was lifted: nothing keeps its look under the pointer.
    void pointerLeft();
    // modifiers: the keyflag bits of the keys held. True when the extra play took the key,
    // so the page keeps it from the browser (scrolling, moving the focus).
    bool key(uint32_t message, uint32_t wparam, uint32_t modifiers = 0);
    // A tick of the page interval of that timer.
    void tick(uint32_t timerId);
    void command(uint16_t id);
    // The code the player typed or the page's address brought; false, and nothing changes,
    // for a text that names no puzzle.
    bool playPuzzleCode(const std::string& code);
    // The code of the link the page was opened with: the game taken up from an earlier visit
    // goes on when it is of that puzzle, otherwise the link's puzzle replaces it as a code
    // typed would. False for a text that names no puzzle.
    bool openPuzzleLink(const std::string& code);
    // A day as "YYYY-MM-DD", chosen in the Past Puzzle box or brought by the address (#d=):
    // its puzzle plays as GameSession::playDay plays it. False, and nothing changes, for a
    // text that is no such day, a day in the future or before the first puzzle's.
    bool playDay(const std::string& day);
    // The day of the link the page was opened with: the game taken up from an earlier visit
    // goes on when it is that day's puzzle, otherwise as playDay.
    bool openDayLink(const std::string& day);
    // The Statistics box's confirmed reset: the records cleared and stored, and the box
    // shows them again.
    void resetRecords();
    // The file the page read for Import Records... is taken into the records.
    RecordsImport importRecords();
    // Another tab changed the stored records: they are read again, and an open Statistics
    // box shows them.
    void storageChanged();
    // The page is going away: a game still running is kept for the next visit (or, when
    // storage refuses it or another tab keeps the game, counts as left in the records).
    void leave();
    // The page is hidden or put away for the back button, and may never be told its end:
    // the game running is kept as it stands, clock and all.
    void keepGame();
    // Draws everything again, for a canvas that lost its pixels.
    void repaint();

    GameSettings settings() const;
    const SoftwareDisplay& display() const { return softwareDisplay_; }
    // The session, for checks that look inside the game; null before start.
    GameSession* gameSession() { return session_.get(); }
    const GameSession* gameSession() const { return session_.get(); }

    uint32_t startTimer(uint32_t id, uint32_t periodMs) override;
    void stopTimer(uint32_t id) override;
    void beep() override;
    void quit(int exitCode) override;

    void mark(int group, uint16_t commandId) override;
    void openHelp(HelpTopic topic) override;
    void showAbout() override;
    void fatal(FatalError error) override;
    void present(const std::vector<Rect>& areas) override;
    void settingsChanged(const GameSettings& settings) override;
    // The extra play's side, in page_extras.cpp.
    void commandsChanged(const CommandStates& states) override;
    RecordsMedium::Stored readRecords() override;
    bool writeRecords(const std::string& text) override;
    std::optional<std::string> readGame() override;
    bool writeGame(const std::string& text) override;
    void recordsUnsaved(bool unsaved) override;
    void exportRecords(const std::string& text) override;
    void askRecordsFile() override;
    void copyText(const std::string& text, const std::string& copied) override;
    void askPuzzleCode() override;
    void askDay(CalendarDay first, CalendarDay today) override;
    std::string pageAddress() override;
    void showStatistics(const Records& records, CalendarDay today) override;
    void share(const std::string& code) override;
    void puzzleChanged(const std::string& code) override;
    void puzzleDated(std::optional<CalendarDay> day) override;
    void puzzleGraded(const std::string& grade, const std::string& note) override;
    void newBestTime(const WinReport& report) override;
    void announce(const std::string& text) override;
    void describe(const std::string& text) override;
    CalendarDay today() override;

  private:
    // Calls one entry of the session; a quit asked for during it ends the session.
    // A session with the extra play once the page's store can be read, without it before.
    void startSession(bool stored);
    template <typename Entry>
    void route(Entry entry);
    // The same for the player's input and the page's requests of the game, which wait for
    // the stored records and game: nothing before they are taken up.
    template <typename Entry>
    void play(Entry entry);
    void end();
    // Gives the target and the frame the screen's size at the scale in use.
    void sizeFrame();
    // Tells the page the areas to lay out when they changed.
    void sendAreas();

    Page& page_;
    SoftwareDisplay softwareDisplay_;
    ScaledDisplay scaledDisplay_;
    std::unique_ptr<GameSession> session_;
    std::vector<uint8_t> frame_;              // the canvas's pixels, four bytes each
    std::map<uint32_t, uint32_t> intervals_;  // timer id -> page interval
    std::vector<Rect> areas_;                 // as the page last heard them
    // This page took up the kept game and keeps its own there (Page::claimGame).
    bool gameClaimed_ = false;
    bool tookUpStored_ = false;
    bool quitRequested_ = false;
    int quitCode_ = 0;
    bool over_ = false;
};

}  // namespace kz
