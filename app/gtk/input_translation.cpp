#include "app/gtk/input_translation.h"

#include "display/messages.h"

namespace kz {
namespace {

guint buttonMask(guint button) {
    switch (button) {
        case 1:
            return GDK_BUTTON1_MASK;
        case 2:
            return GDK_BUTTON2_MASK;
        case 3:
            return GDK_BUTTON3_MASK;
        default:
            return 0;
    }
}

}  // namespace

uint32_t mouseFlags(guint state) {
    uint32_t flags = 0;
    if (state & GDK_BUTTON1_MASK) {
        flags |= mouseflag::LeftButton;
    }
    if (state & GDK_BUTTON3_MASK) {
        flags |= mouseflag::RightButton;
    }
    if (state & GDK_SHIFT_MASK) {
        flags |= mouseflag::Shift;
    }
    if (state & GDK_CONTROL_MASK) {
        flags |= mouseflag::Control;
    }
    if (state & GDK_BUTTON2_MASK) {
        flags |= mouseflag::MiddleButton;
    }
    return flags;
}

uint32_t keyFlags(guint state) {
    uint32_t flags = 0;
    if (state & GDK_SHIFT_MASK) {
        flags |= keyflag::Shift;
    }
    if (state & GDK_CONTROL_MASK) {
        flags |= keyflag::Control;
    }
    if (state & GDK_MOD1_MASK) {
        flags |= keyflag::Alt;
    }
    return flags;
}

std::optional<TranslatedMouse> translateButton(GdkEventType type, guint button, guint state) {
    static constexpr uint32_t kDown[] = {msg::LeftButtonDown, msg::MiddleButtonDown,
                                         msg::RightButtonDown};
    static constexpr uint32_t kUp[] = {msg::LeftButtonUp, msg::MiddleButtonUp, msg::RightButtonUp};
    if (button < 1 || button > 3) {
        return std::nullopt;
    }
    // GDK reports the state before the event; the message carries the state after it.
    if (type == GDK_BUTTON_PRESS) {
        return TranslatedMouse{kDown[button - 1], mouseFlags(state | buttonMask(button))};
    }
    if (type == GDK_BUTTON_RELEASE) {
        return TranslatedMouse{kUp[button - 1], mouseFlags(state & ~buttonMask(button))};
    }
    return std::nullopt;
}

TranslatedMouse translateMotion(guint state) {
    return {msg::MouseMove, mouseFlags(state)};
}

uint32_t virtualKeyFor(guint keyval) {
    guint upper = gdk_keyval_to_upper(keyval);
    if ((upper >= GDK_KEY_A && upper <= GDK_KEY_Z) || (upper >= GDK_KEY_0 && upper <= GDK_KEY_9)) {
        return upper;  // letters and digits share their codes with ASCII
    }
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) {
        return virtualkey::F1 + (keyval - GDK_KEY_F1);
    }
    switch (keyval) {
        case GDK_KEY_BackSpace:
            return virtualkey::Backspace;
        case GDK_KEY_Tab:
        case GDK_KEY_ISO_Left_Tab:
            return virtualkey::Tab;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
            return virtualkey::Return;
        case GDK_KEY_Shift_L:
        case GDK_KEY_Shift_R:
            return virtualkey::Shift;
        case GDK_KEY_Control_L:
        case GDK_KEY_Control_R:
            return virtualkey::Control;
        case GDK_KEY_Alt_L:
        case GDK_KEY_Alt_R:
            return virtualkey::Alt;
        case GDK_KEY_Escape:
            return virtualkey::Escape;
        case GDK_KEY_space:
            return virtualkey::Space;
        case GDK_KEY_Left:
            return virtualkey::Left;
        case GDK_KEY_Up:
            return virtualkey::Up;
        case GDK_KEY_Right:
            return virtualkey::Right;
        case GDK_KEY_Down:
            return virtualkey::Down;
        case GDK_KEY_Delete:
            return virtualkey::Delete;
        default:
            return 0;
    }
}

std::optional<TranslatedKey> translateKey(GdkEventType type, guint keyval) {
    if (type != GDK_KEY_PRESS && type != GDK_KEY_RELEASE) {
        return std::nullopt;
    }
    return TranslatedKey{type == GDK_KEY_RELEASE ? msg::KeyUp : msg::KeyDown,
                         virtualKeyFor(keyval)};
}

}  // namespace kz
