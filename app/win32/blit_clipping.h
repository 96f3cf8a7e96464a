#pragma once

#include <optional>

#include "display/rect.h"

namespace kz {

// A blit cut down to the part of its destination that lies inside a surface.
struct ClippedBlit {
    Rect dst;
    Rect src;
};

// Clips an equally sized blit to the target's bounds, moving each edge of the source by as
// much as the destination's; nothing when no pixel of the destination lies inside. Wine's
// DirectDraw refuses a rectangle that crosses the screen's edge, as a window partly off the
// screen asks for, where Windows clips it.
std::optional<ClippedBlit> clipBlit(const Rect& dst, const Rect& src, const Rect& bounds);

// The same for a colour fill, which has no source.
std::optional<Rect> clipFill(const Rect& dst, const Rect& bounds);

}  // namespace kz
