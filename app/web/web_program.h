#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/common/game_session.h"
#include "app/web/local_storage_settings.h"
#include "app/web/page.h"
#include "app/web/stored_records.h"
#include "display/scaled_display.h"
#include "puzzle/puzzle_catalogue.h"
#include "software/software_display.h"

namespace kz {

// The game in a page: the software surface, the game session and the frame the page shows of
// them. The page is the session's shell and host; messages only change the game, and once an
// animation frame the areas the session's draw wrote go to the canvas. On a screen of more pixels
// the frame is scale times the screen's size, drawn from the resolver's set of that scale.
class WebProgram {
  public:
    WebProgram(Page& page, SoftwareDisplay::BitmapResolver resolver, int32_t scale = 1);
    ~WebProgram();
    WebProgram(const WebProgram&) = delete;
    WebProgram& operator=(const WebProgram&) = delete;

    // Reads the settings, makes the session and draws the whole screen. With stored, and
    // without catalogueComing, the session plays with the extra play, the records and game
    // kept in the page's store and the catalogue handed in by then, if any. Otherwise the
    // first frame waits for neither: a session without them draws it, until the store is
    // open (stored, or takeUpStored) and, with catalogueComing, the catalogue's fetch has
    // ended (takeUpCatalogue). Call once.
    void start(bool stored = true, bool catalogueComing = false);
    // The page's store can be read. Once it is and the catalogue is there, or its fetch
    // failed, a session with the extra play, the records and the game kept there and the
    // catalogue takes the place of the first one, and the whole screen is drawn again. Until
    // then the player's input is passed over, as a game started before it would count in
    // records not read yet and be replaced by the kept one. Once; nothing after the first.
    void takeUpStored();
    // The catalogue's fetch has ended: the file's bytes, or none (null) when it failed. A file
    // that is no catalogue counts as failed, and the session plays without one: graded Next
    // in the cells it searches, and no puzzle for the days that come from it. False then.
    // Once; nothing after the first.
    bool takeUpCatalogue(const uint8_t* bytes, size_t size);

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
    // The page's animation frame that Page::frameWanted asked for: what changed since the last
    // one is drawn and presented.
    void animationFrame();
    void command(uint16_t id);
    // The code the player typed; false, and nothing changes, for a text that names no puzzle.
    bool playPuzzleCode(const std::string& code);
    // A day as "YYYY-MM-DD", chosen in the Past Puzzle box: its puzzle plays as
    // GameSession::playDay plays it. False, and nothing changes, for a text that is no such
    // day, a day in the future or before the first puzzle's.
    bool playDay(const std::string& day);
    // The part of the page's address from # on, as GameSession::openLink takes it.
    bool openLink(const std::string& link);
    // The Statistics box's confirmed reset: the records cleared and stored, and the box
    // shows them again.
    void resetRecords();
    // The file the page read for Import Records... (Page::chosenRecordsFile) is taken into
    // the records.
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
    // The pixels of an area of the screen (in the target's coordinates) in the frame, for the
    // page's present: red, green, blue and alpha bytes, frameWidth x frameHeight of them, row
    // by row. The area in the frame's pixels comes back.
    Rect frameArea(const Rect& area);
    const uint8_t* frame() const { return frame_.data(); }
    int32_t frameWidth() const { return softwareDisplay_.width(); }
    int32_t frameHeight() const { return softwareDisplay_.height(); }
    // The session, for checks that look inside the game; null before start.
    GameSession* gameSession() { return session_.get(); }
    const GameSession* gameSession() const { return session_.get(); }

  private:
    // A session with the extra play, the page's stores and the catalogue, or one without.
    void startSession(bool stored);
    // The session with the extra play, once the store and the catalogue are settled.
    void takeUpWhenReady();
    // Calls one entry of the session; a quit asked for during it ends the session.
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
    LocalStorageSettings storedSettings_;
    StoredRecords storedRecords_;
    StoredGame storedGame_;
    SoftwareDisplay softwareDisplay_;
    ScaledDisplay scaledDisplay_;
    // Before the session, which plays from it.
    std::optional<PuzzleCatalogue> catalogue_;
    std::unique_ptr<GameSession> session_;
    std::vector<uint8_t> frame_;  // the canvas's pixels, four bytes each
    std::vector<Rect> areas_;     // as the page last heard them
    bool tookUpStored_ = false;
    bool storeOpen_ = false;
    bool catalogueSettled_ = false;
    bool over_ = false;
};

}  // namespace kz
