#include "app/win32/blit_clipping.h"

#include <algorithm>

namespace kz {

std::optional<Rect> clipFill(const Rect& dst, const Rect& bounds) {
    const Rect clipped{std::max(dst.left, bounds.left), std::max(dst.top, bounds.top),
                       std::min(dst.right, bounds.right), std::min(dst.bottom, bounds.bottom)};
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) {
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

}  // namespace kz
