#include "display/button.h"

#include "display/messages.h"

namespace kz {

Button::Button(Element* newParent, int32_t newX, int32_t newY, Image* newImage,
               int32_t newNormalFrame, int32_t newHoverFrame, int32_t newPressedFrame)
    : Element(newParent, newX, newY, newImage) {
    setStateFrames(newNormalFrame, newHoverFrame, newPressedFrame);
}

void Button::setStateFrames(int32_t newNormalFrame, int32_t newHoverFrame,
                            int32_t newPressedFrame) {
    normalFrame = newNormalFrame;
    hoverFrame = newHoverFrame;
    pressedFrame = newPressedFrame;
    mouseEnabled = true;
    state = Normal;
}

void Button::change(ButtonState newState, int32_t newFrame) {
    state = newState;
    setFrame(newFrame);
}

void Button::send(ElementEvent code) {
    if (parent != nullptr) {
        parent->onChildEvent(this, code);
    }
}

InputResult Button::onMouse(uint32_t message, uint32_t wparam, int32_t px, int32_t py) {
    if (!visible || !mouseEnabled) {
        return InputIgnored;
    }
    const int32_t dx = px - x;
    const int32_t dy = py - y;
    const bool inside = dx >= 0 && dx < width && dy >= 0 && dy < height;
    switch (message) {
        case msg::MouseMove:
            if ((wparam & mouseflag::LeftButton) != 0) {
                return inside ? dragInside() : dragOutside();
            }
            return inside ? moveInside() : moveOutside();
        case msg::LeftButtonDown:
            return inside ? pressInside() : InputIgnored;
        case msg::LeftButtonUp:
            return inside ? releaseInside() : releaseOutside();
        default:
            return InputIgnored;
    }
}

InputResult Button::pressInside() {
    if (state != Pressed) {
        change(Pressed, pressedFrame);
    }
    send(ButtonDown);
    return InputConsumed;
}

InputResult Button::releaseInside() {
    const ButtonState from = state;
    if (from != Hover) {
        change(Hover, hoverFrame);
    }
    send(from == Pressed ? ButtonClick : ButtonOver);
    return InputConsumed;
}

InputResult Button::releaseOutside() {
    switch (state) {
        case Hover:
        case Pressed:
            change(Normal, normalFrame);
            return InputIgnored;
        case PressedOutside:
            state = Normal;  // already showing the normal frame
            send(ButtonCancel);
            return InputHandled;
        default:
            return InputIgnored;
    }
}

InputResult Button::moveInside() {
    if (state == Hover) {
        return InputConsumed;
    }
    change(Hover, hoverFrame);
    send(ButtonOver);
    return InputHandled;
}

InputResult Button::moveOutside() {
    switch (state) {
        case Hover:
            change(Normal, normalFrame);
            send(ButtonOut);
            return InputHandled;
        case Pressed:
            change(Normal, normalFrame);
            return InputHandled;
        case PressedOutside:
            state = Normal;
            return InputHandled;
        default:
            return InputIgnored;
    }
}

InputResult Button::dragInside() {
    switch (state) {
        case Hover:
            change(Pressed, pressedFrame);
            return InputHandled;
        case Pressed:
            return InputHandled;
        case PressedOutside:
            change(Pressed, pressedFrame);
            send(ButtonDragIn);
            return InputConsumed;
        default:
            return InputIgnored;
    }
}

InputResult Button::dragOutside() {
    switch (state) {
        case Hover:
            change(Normal, normalFrame);
            return InputIgnored;
        case Pressed:
            change(PressedOutside, normalFrame);
            send(ButtonDragOut);
            return InputHandled;
        default:
            return InputIgnored;
    }
}

}  // namespace kz
