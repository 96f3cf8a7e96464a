#pragma once

#include <gdk/gdk.h>

#include <cstdint>
#include <optional>

namespace kz {

// A GDK pointer or key event as the message the element tree understands: the Windows
// message number and its wparam.
struct TranslatedMouse {
    uint32_t message;
    uint32_t wparam;
};

struct TranslatedKey {
    uint32_t message;
    uint32_t wparam;
};

// Button presses and releases of the left, middle and right buttons. Double and triple
// clicks are not messages of their own: each click already arrives as a press. Other
// buttons give nothing.
std::optional<TranslatedMouse> translateButton(GdkEventType type, guint button, guint state);
TranslatedMouse translateMotion(guint state);

// The key-state flags of a mouse message from a GDK modifier state, taken after the event.
uint32_t mouseFlags(guint state);

std::optional<TranslatedKey> translateKey(GdkEventType type, guint keyval);

// The keyflag bits of the keys held (Shift, Ctrl, Alt) in a GDK modifier state.
uint32_t keyFlags(guint state);

// The Windows virtual-key code for a GDK key value, or 0 for keys it has none for.
uint32_t virtualKeyFor(guint keyval);

}  // namespace kz
