#pragma once

#include <algorithm>
#include <cstdint>

namespace kz {

// A position in pixels.
struct Point {
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Point& o) const { return !(*this == o); }
};

// Right and bottom are exclusive; the layout matches the platform RECT so a
// shell can hand one straight to its blitter.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    // No pixel inside: right at or before left, or bottom at or above top.
    bool empty() const { return right <= left || bottom <= top; }
    Rect translated(int32_t dx, int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    // The part both share; empty when they do not overlap.
    Rect intersected(const Rect& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

}  // namespace kz
