#include "app/win32/window_geometry.h"

namespace kz {

WindowSize growForClientArea(WindowSize outer, const Rect& client, int32_t wantedWidth,
                             int32_t wantedHeight) {
    if (client.height() < wantedHeight) {
        outer.height += wantedHeight - client.height();
    }
    if (client.width() < wantedWidth) {
        outer.width += wantedWidth - client.width();
    }
    return outer;
}

Point centredOn(const Rect& window, const Rect& owner) {
    const int32_t w = window.width();
    const int32_t h = window.height();
    return Point{owner.left + (owner.width() - w) / 2, owner.top + (owner.height() - h) / 2};
}

}  // namespace kz
