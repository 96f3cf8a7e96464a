#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "display/button.h"
#include "display/focus_frame.h"
#include "display/messages.h"
#include "display/rect.h"
#include "puzzle/field_model.h"
#include "screen/game_screen.h"
#include "screen/host.h"

namespace kz {

// Where the extra play tells a program what a listener should hear and when the state of
// Undo, Redo and Hint may have changed.
class Announcer {
  public:
    virtual ~Announcer() = default;
    // A sentence for a screen reader: a new game, a move, the focus, a hint, the end.
    virtual void announce(const std::string& text) = 0;
    // canUndo, canRedo or canHint changed: grey or enable their menu items.
    virtual void commandsChanged() = 0;
    // ExtraPlay::description() changed.
    virtual void descriptionChanged() {}
};

// Play beyond the mouse, for the programs that switch it on: undo and redo of moves, hints,
// a keyboard focus over the sticks and buttons, and texts for screen readers. It drives the
// screen only through what a player could do (pointer messages at a target, the Board's
// own layout restore) and follows the game through the screen's listener.
//
// Routing, for the program's session:
// - key(message, wparam, lparam, modifiers) first for every key message; when it returns
//   false, the screen's onKey as before. Keys (WM_KEYDOWN, 0x100, Windows virtual-key codes
//   in wparam, the modifiers held as keyflag bits, all in display/messages.h): Ctrl+Z undo;
//   Ctrl+Shift+Z and Ctrl+Y redo; H hint; arrows move the focus; Space and Return click at the
//   focus; Esc puts back the stick in hand. Keys held with Alt are never taken.
// - onMouse(...) before the screen's onMouse for every mouse message: any pointer use hides
//   the focus frame, a button press ends a hint (pointer moves leave it, so a player who
//   picked Hint from a menu can move to the field and see it).
// - command(id) before the session's own handling of every menu command; true for Undo,
//   Redo and Hint, which need nothing more.
// - timer(id) for ticks of kHintTimerId; the game clock (GameScreen::kGameTimerId) goes to
//   the screen's onTimer as before.
// - draw after each of these, as after every message.
//
// It adds three elements on top of the screen's 22 children, in this order: the hint
// marker for horizontal sticks (index 22), the one for vertical sticks (23) and the focus
// frame (24). The screen keeps them when this object ends; they are hidden then. It must
// end before the screen does (its owner declares it after the screen).
class ExtraPlay : public ScreenListener {
  public:
    static constexpr uint32_t kHintTimerId = 2;
    static constexpr uint32_t kHintBlinkMs = 250;
    // Half-periods a hint is shown for: about two seconds.
    static constexpr int32_t kHintBlinks = 8;
    static constexpr int32_t kFocusThickness = 3;
    static constexpr uint32_t kFocusColour = 0x00FFE000;  // 0x00RRGGBB, as the surfaces take it

    ExtraPlay(GameScreen& screen, Host& host, Announcer& announcer);
    ~ExtraPlay() override;
    ExtraPlay(const ExtraPlay&) = delete;
    ExtraPlay& operator=(const ExtraPlay&) = delete;

    bool key(uint32_t message, uint32_t wparam, int64_t lparam, uint32_t modifiers);
    void onMouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    bool command(uint16_t id);
    // True when the tick was the hint's.
    bool timer(uint32_t id);

    bool canUndo();
    bool canRedo();
    bool canHint();
    void undo();
    void redo();
    void hint();
    // Esc: the stick in hand goes back where it was taken from.
    void putBack();

    // Hints asked for since the current game started.
    int32_t getHintsUsed() const { return hintsUsed; }
    // What the screen shows, as one text: the instruction and the moves made, or the end.
    std::string description();

    // For tests and measurements.
    struct Focus {
        bool onStick = false;
        StickSlot stick;
        Button* button = nullptr;
        bool operator==(const Focus& o) const {
            return onStick == o.onStick && (onStick ? stick == o.stick : button == o.button);
        }
    };
    const Focus& getFocus() const { return focus; }
    // Puts the focus on a target without a key, as for a program that follows a screen
    // reader's choice; the frame shows once a key has been used.
    void setFocus(const Focus& target);
    bool isFocusShown() const { return frame->isShown(); }
    FocusFrame& getFocusFrame() { return *frame; }
    bool isHintShowing() const { return hintMarker != nullptr; }
    std::optional<StickSlot> getHintedStick() const { return hinted; }
    Element* getHintMarker(StickOrientation orientation) const;

  private:
    enum Direction { GoLeft, GoRight, GoUp, GoDown };

    void screenEvent(ScreenEvent event) override;

    Board& board() { return *screen.getBoard(); }
    bool playing() { return board().isActive(); }
    const StickLayers& committed() const { return history[cursor]; }
    void startHistory();
    void clearHistory();
    void applyLayout(const StickLayers& layout);
    std::vector<StickSlot> newestChanges() const;

    void showHint(StickSlot stick);
    void endHint();

    void move(Direction direction);
    std::optional<Focus> stickNeighbour(StickSlot from, Direction direction);
    Focus boardEntry();
    bool isTarget(const Focus& f);
    void keepFocusValid();
    void placeFrame();
    Rect targetRect(const Focus& f);
    void pointAt(const Focus& f);
    void activate();
    void announceFocus();

    std::string instruction();
    std::string movesText();
    std::string stickText(StickSlot stick, bool withState);
    std::string buttonName(Button* button);
    void tellCommands();
    void say(const std::string& text);

    GameScreen& screen;
    Host& host;
    Announcer& announcer;
    Element* hintMarkers[2] = {nullptr, nullptr};  // horizontal, vertical
    FocusFrame* frame = nullptr;

    std::vector<StickLayers> history;  // layouts after each move, the start first
    size_t cursor = 0;                 // the layout on show, without a stick in hand
    bool applying = false;             // the Board reports a layout this object set
    bool puzzleShown = false;
    std::optional<StickLayers> followed;
    int32_t hintsUsed = 0;

    Element* hintMarker = nullptr;  // the marker blinking, or null
    std::optional<StickSlot> hinted;
    int32_t blinks = 0;

    Focus focus;
    std::optional<StickSlot> lastStick;
    int32_t commandState = -1;  // canUndo, canRedo and canHint as last reported
    std::optional<Point> lastPointer;
};

}  // namespace kz
