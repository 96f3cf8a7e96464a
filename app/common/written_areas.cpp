#include "app/common/written_areas.h"

#include <algorithm>

namespace kz {

namespace {

bool contains(const Rect& outer, const Rect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

}  // namespace

bool WrittenAreas::blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
                        uint32_t flags) {
    if (!inner.blit(target, dst, source, src, flags)) {
        return false;
    }
    note(target, dst);
    return true;
}

bool WrittenAreas::fill(Surface& target, const Rect& dst, uint32_t colour) {
    if (!inner.fill(target, dst, colour)) {
        return false;
    }
    note(target, dst);
    return true;
}

void WrittenAreas::note(Surface& surface, const Rect& area) {
    if (&surface == inner.target()) {
        written.push_back(area);
    }
}

std::vector<Rect> WrittenAreas::take(const Rect& bounds) {
    std::vector<Rect> areas;
    for (const Rect& area : written) {
        const Rect cut = area.intersected(bounds);
        if (cut.empty() || std::any_of(areas.begin(), areas.end(),
                                       [&](const Rect& done) { return contains(done, cut); })) {
            continue;
        }
        areas.push_back(cut);
    }
    written.clear();
    return areas;
}

}  // namespace kz
