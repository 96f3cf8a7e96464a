#include "app/win32/blit_clipping.h"

#include <limits>

namespace kz {

std::optional<Rect> clipFill(const Rect& dst, const Rect& bounds) {
    const Rect clipped = dst.intersected(bounds);
    if (clipped.empty()) {
        return std::nullopt;
    }
    return clipped;
}

std::optional<ClippedBlit> clipBlit(const Rect& dst, const Rect& src, const Rect& bounds) {
    const auto clipped = clipFill(dst, bounds);
    if (!clipped) {
        return std::nullopt;
    }
    const Rect shifted{src.left + (clipped->left - dst.left), src.top + (clipped->top - dst.top),
                       src.right - (dst.right - clipped->right),
                       src.bottom - (dst.bottom - clipped->bottom)};
    return ClippedBlit{*clipped, shifted};
}

std::vector<ScreenPart> splitAtPrimary(const ClippedBlit& blit, const Rect& primaryBounds) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const Rect& p = primaryBounds;
    const Rect pieces[] = {
        p,
        {kMin, kMin, kMax, p.top},         // above
        {kMin, p.bottom, kMax, kMax},      // below
        {kMin, p.top, p.left, p.bottom},   // left
        {p.right, p.top, kMax, p.bottom},  // right
    };
    std::vector<ScreenPart> parts;
    for (const Rect& piece : pieces) {
        if (const auto part = clipBlit(blit.dst, blit.src, piece)) {
            parts.push_back(ScreenPart{*part, &piece != &pieces[0]});
        }
    }
    return parts;
}

PartOutcome judgePart(int32_t status, bool outsidePrimary) {
    if (status >= 0) {
        return PartOutcome::Drawn;
    }
    if (status == kInvalidRectStatus && outsidePrimary) {
        return PartOutcome::DrawThroughWindow;
    }
    return PartOutcome::Failed;
}

bool onPrimarySurface(const Rect& client, const Rect& desktop, const Rect& primaryBounds) {
    const Rect shown = client.intersected(desktop);
    return shown.empty() || shown.intersected(primaryBounds) == shown;
}

}  // namespace kz
