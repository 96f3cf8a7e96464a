#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <vector>

#include "app/common/commands.h"
#include "app/common/fatal_error.h"
#include "app/common/session_extras.h"
#include "app/common/settings.h"
#include "app/common/written_areas.h"
#include "display/image.h"
#include "display/rect.h"
#include "display/surface.h"
#include "screen/game_screen.h"
#include "screen/host.h"

namespace kz {

// What only the program can do for the session: its menus, help, About box, the failure
// box and putting drawn areas on the screen. Quitting goes through the Host.
class SessionShell {
  public:
    virtual ~SessionShell() = default;

    // Moves the radio mark of a group of the menu table (kFieldSizeGroup,
    // kActionTypeGroup) to the item of commandId.
    virtual void mark(int group, uint16_t commandId) = 0;
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
    // keeps its settings at every change writes them here.
    virtual void settingsChanged(const GameSettings& settings) { (void)settings; }
};

// One game as every program drives it: owns the 21 Images and the GameScreen, routes each
// message to the screen, draws the tree once after it and hands the program the areas that
// draw wrote. The first failed draw shows "Paint Error" through the shell and quits with
// exit code 1 through the host, once; after it nothing is drawn again and every entry
// returns false.
class GameSession {
  public:
    // Marks the settings in the menus, makes the Images in table order (through display)
    // and the screen after them, then hands the screen the settings. Nothing is drawn yet.
    GameSession(Display& display, Host& host, SessionShell& shell, const GameSettings& settings);
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Each entry returns false when the draw after it failed now or earlier.
    bool mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    // modifiers: the keyflag bits of the keys held, which only the extra play reads.
    bool key(uint32_t message, uint32_t wparam, int64_t lparam, uint32_t modifiers = 0);
    // A tick of the timer of that identifier: the game clock, or the extra play's.
    bool timer(uint32_t id = GameScreen::kGameTimerId);
    // The area, in the screen's parent coordinates, needs painting.
    bool paint(const Rect& area);
    bool paintAll();
    bool command(uint16_t id);
    // Where the screen's top-left corner lies on the display's target. No draw.
    void moveTo(int32_t x, int32_t y);

    bool failed() const { return paintFailed_; }
    // Whether the extra play used the last key message: a program keeps such a key from its
    // toolkit's own use of it (moving the focus, scrolling a page).
    bool keyTaken() const { return keyTaken_; }
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

    // Switches on the extra play (undo, hints, keys, codes, today's puzzle, records) for the
    // programs that offer it; before the first game. The Windows program never calls it.
    void enableExtras(ExtrasShell& shell, Records records);
    // Null while the extras are off.
    SessionExtras* extras() { return extras_.get(); }
    // Starts the puzzle of a code and draws; false, with nothing changed, for a wrong code.
    bool playPuzzleCode(const std::string& code);
    // Zeroes the records and stores them; a draw follows, as after every entry.
    bool resetRecords();
    // The end of the session: a game still running counts as left in the records.
    void end();

  private:
    bool draw();

    // Every Image and the screen draw through it; it is the active display.
    WrittenAreas written_;
    Host& host_;
    SessionShell& shell_;
    std::array<std::unique_ptr<Image>, kImageCount> images_;  // creation order
    std::unique_ptr<GameScreen> gameScreen_;
    // Declared after the screen, so it ends first.
    std::unique_ptr<SessionExtras> extras_;
    bool paintFailed_ = false;
    bool imagesDestroyed_ = false;
    bool keyTaken_ = false;
};

}  // namespace kz
