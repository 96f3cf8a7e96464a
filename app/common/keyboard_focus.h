#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/common/focus_places.h"
#include "app/common/narrator.h"
#include "display/button.h"
#include "display/focus_frame.h"
#include "display/rect.h"
#include "puzzle/field_model.h"
#include "screen/game_screen.h"

namespace kz {

// A keyboard focus over the sticks of the field and the buttons: the arrows move it, Space and
// Return click where it is, as the mouse would (hover, press, release), and the frame around
// it goes once the pointer is used. Its frame goes on top of the screen's children when it is
// placed there; it stays, hidden, when it ends.
class KeyboardFocus {
  public:
    static constexpr int32_t kFocusThickness = 3;
    static constexpr uint32_t kFocusColour = 0x00FFE000;  // 0x00RRGGBB, as the surfaces take it

    enum Direction { GoLeft, GoRight, GoUp, GoDown };

    // A stick of the field or a button.
    struct Target {
        bool onStick = false;
        StickSlot stick;
        Button* button = nullptr;
        bool operator==(const Target& o) const {
            return onStick == o.onStick && (onStick ? stick == o.stick : button == o.button);
        }
    };

    // The focus frame is filled through display.
    KeyboardFocus(GameScreen& screen, Narrator& narrator, Display& display);
    ~KeyboardFocus();
    KeyboardFocus(const KeyboardFocus&) = delete;
    KeyboardFocus& operator=(const KeyboardFocus&) = delete;

    // Puts the frame on top of the screen's children; a session without the extra play leaves
    // its screen as it is.
    void placeOnScreen();
    // The first arrow shows where the focus is; the next ones move it.
    void move(Direction direction);
    // Space or Return: a click at the focus.
    void activate();
    // Any press, and any move of the pointer, hides the frame. True for a press.
    bool pointerUsed(uint32_t message, int32_t x, int32_t y);
    // After the game changed: the focus stays on something that can be used, and the frame
    // goes with it.
    void follow();

    const Target& getFocus() const { return focus; }
    // Puts the focus on a target without a key, as for a program that follows a screen
    // reader's choice; the frame shows once a key has been used.
    void setFocus(const Target& target);
    bool isShown() const { return frame->isShown(); }
    // Every target the focus can reach now, in reading order: the buttons shown, left first,
    // then the sticks of the field line by line down the field, each line from the left.
    std::vector<Target> targets() const;
    // Where a target lies on the screen.
    Rect targetRect(const Target& target) const;
    // The targets as a screen reader is to know them, named by the narrator.
    FocusPlaces places() const;
    FocusFrame& getFrame() { return *frame; }

  private:
    Board& board() const { return *screen.getBoard(); }
    bool puzzleShown() const;
    bool isTarget(const Target& target) const;
    Target boardEntry() const;
    std::optional<Target> stickNeighbour(StickSlot from, Direction direction) const;
    Target buttonNeighbour(Direction direction) const;
    void keepValid();
    void place();
    void pointAt(const Target& target);
    void announce();

    GameScreen& screen;
    Narrator& narrator;
    FocusFrame* frame = nullptr;
    std::unique_ptr<FocusFrame> unplacedFrame;  // the frame until it is placed
    Target focus;
    std::optional<StickSlot> lastStick;
    std::optional<Point> lastPointer;
};

}  // namespace kz
