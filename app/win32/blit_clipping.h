#pragma once

#include <cstdint>
#include <optional>
#include <vector>

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

// One piece of a blit to the screen: inside the rectangle the primary surface reports as
// its own, or outside it, on a monitor beyond the primary one.
struct ScreenPart {
    ClippedBlit blit;
    bool outsidePrimary = false;
};

// Cuts a blit into the piece inside primaryBounds (first) and up to four bands around it
// (above, below, left, right), dropping empty pieces. Together they cover dst exactly once.
std::vector<ScreenPart> splitAtPrimary(const ClippedBlit& blit, const Rect& primaryBounds);

// What becomes of a piece after DirectDraw has answered its blit.
enum class PartOutcome {
    Drawn,              // DirectDraw drew it
    DrawThroughWindow,  // refused outside the primary surface: draw it through the window
    Failed,             // a real failure: the redraw fails
};

// DirectDraw's status for a refused rectangle (DDERR_INVALIDRECT).
constexpr int32_t kInvalidRectStatus = static_cast<int32_t>(0x88760096u);

// Success is a status that is not negative. A refused rectangle is only expected of a piece
// beyond the primary surface's own rectangle; anywhere else it is a failure like any other.
PartOutcome judgePart(int32_t status, bool outsidePrimary);

// Whether the part of the client area that lies on some monitor (client and desktop in
// screen coordinates) lies wholly on the primary surface, so that the window may be drawn
// by DirectDraw on the primary surface; otherwise all of it is drawn through the window
// (DirectDrawDisplay says why). A client area on no monitor counts as on the primary
// surface: nothing of it is drawn.
bool onPrimarySurface(const Rect& client, const Rect& desktop, const Rect& primaryBounds);

}  // namespace kz
