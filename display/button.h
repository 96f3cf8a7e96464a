#pragma once

#include <cstdint>

#include "display/element.h"

namespace kz {

// Shows one frame for each of three looks (normal, hover, pressed), follows the mouse
// through a small state machine and reports what happened to its parent's onChildEvent.
class Button : public Element {
  public:
    enum ButtonState : int32_t {
        Normal = 0,          // pointer away, not pressed
        Hover = 1,           // pointer over it, left button not pressed on it
        Pressed = 3,         // pressed on it, pointer over it
        PressedOutside = 6,  // pressed on it, pointer dragged off
    };

    // Events sent to the parent.
    static constexpr ElementEvent ButtonOver = 1;
    static constexpr ElementEvent ButtonOut = 2;
    static constexpr ElementEvent ButtonDown = 3;
    static constexpr ElementEvent ButtonClick = 4;
    static constexpr ElementEvent ButtonCancel = 5;
    static constexpr ElementEvent ButtonDragOut = 6;
    static constexpr ElementEvent ButtonDragIn = 7;

    Button(Element* newParent, int32_t newX, int32_t newY, Image* newImage, int32_t newNormalFrame,
           int32_t newHoverFrame, int32_t newPressedFrame);

    InputResult onMouse(uint32_t message, uint32_t wparam, int32_t px, int32_t py) override;

    virtual InputResult pressInside();
    virtual InputResult releaseInside();
    virtual InputResult releaseOutside();
    virtual InputResult moveInside();
    virtual InputResult moveOutside();
    virtual InputResult dragInside();
    virtual InputResult dragOutside();
    // Stores the frames, turns mouse input on and starts in Normal; the frame shown stays.
    virtual void setStateFrames(int32_t newNormalFrame, int32_t newHoverFrame,
                                int32_t newPressedFrame);

    ButtonState getState() const { return state; }
    int32_t getNormalFrame() const { return normalFrame; }
    int32_t getHoverFrame() const { return hoverFrame; }
    int32_t getPressedFrame() const { return pressedFrame; }

  protected:
    ButtonState state = Normal;
    int32_t normalFrame = 0;
    int32_t hoverFrame = 0;
    int32_t pressedFrame = 0;

  private:
    // The new look comes first so the parent sees it when the event arrives.
    void change(ButtonState newState, int32_t newFrame);
    void send(ElementEvent code);
};

}  // namespace kz
