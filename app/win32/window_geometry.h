#pragma once

#include <cstdint>

#include "display/rect.h"

namespace kz {

// Outer size of a window.
struct WindowSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const WindowSize& o) const { return width == o.width && height == o.height; }
};

// After sizing a window for a wanted client area the system may still give a smaller client
// area, for instance when the menu bar wraps onto a second line. Returns the outer size that
// makes up for the shortfall; the correction only ever grows the window, never shrinks it.
WindowSize growForClientArea(WindowSize outer, const Rect& client, int32_t wantedWidth,
                             int32_t wantedHeight);

// Top-left corner that centres a window of the given outer rectangle on the owner's outer
// rectangle. Divisions truncate toward zero, so an odd spare pixel goes right and down.
Point centredOn(const Rect& window, const Rect& owner);

}  // namespace kz
