#include "tests/support/counting_display.h"

namespace kz::test {

Rect CountingDisplay::clippedOnTarget(const Surface& surface, const Rect& dst) {
    if (&surface != target()) {
        return {};
    }
    return dst.intersected({0, 0, width(), height()});
}

std::unique_ptr<Bitmap> CountingDisplay::openBitmap(const BitmapName& name, int32_t width,
                                                    int32_t height) {
    std::unique_ptr<Bitmap> bitmap = SoftwareDisplay::openBitmap(name, width, height);
    if (bitmap) {
        openedBitmaps[bitmap.get()] = name;
    }
    return bitmap;
}

bool CountingDisplay::copyBitmap(Surface& surface, const Bitmap& bitmap) {
    const auto opened = openedBitmaps.find(&bitmap);
    if (opened != openedBitmaps.end()) {
        pictures[&surface] = opened->second;
        openedBitmaps.erase(opened);
    }
    return SoftwareDisplay::copyBitmap(surface, bitmap);
}

bool CountingDisplay::blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
                           uint32_t flags) {
    if (!SoftwareDisplay::blit(target, dst, source, src, flags)) {
        return false;
    }
    if (&target == this->target()) {
        const auto picture = pictures.find(&source);
        targetWrites.push_back(
            {false, picture != pictures.end() ? picture->second : BitmapName{}, dst, src, 0});
    }
    const Rect clipped = clippedOnTarget(target, dst);
    if (clipped.empty()) {
        return true;
    }
    uint64_t count =
        static_cast<uint64_t>(clipped.width()) * static_cast<uint64_t>(clipped.height());
    // The blit succeeded, so the source is a software surface and src lies on it. The
    // target carries no key, so a keyed source is never the target overwritten above.
    const auto& from = static_cast<const SoftwareSurface&>(source);
    if ((flags & kBlitKeySource) != 0 && from.isKeyed()) {
        const ColourKey& key = from.key();
        const int32_t sx = src.left + (clipped.left - dst.left);
        const int32_t sy = src.top + (clipped.top - dst.top);
        count = 0;
        for (int32_t y = 0; y < clipped.height(); ++y) {
            const uint32_t* s = from.row(sy + y) + sx;
            for (int32_t i = 0; i < clipped.width(); ++i) {
                count += s[i] < key.low || s[i] > key.high ? 1u : 0u;
            }
        }
    }
    writtenRects.push_back(clipped);
    written += count;
    return true;
}

bool CountingDisplay::fill(Surface& target, const Rect& dst, uint32_t colour) {
    if (!SoftwareDisplay::fill(target, dst, colour)) {
        return false;
    }
    if (&target == this->target()) {
        targetWrites.push_back({true, {}, dst, {}, colour});
    }
    const Rect clipped = clippedOnTarget(target, dst);
    if (!clipped.empty()) {
        writtenRects.push_back(clipped);
        written += static_cast<uint64_t>(clipped.width()) * static_cast<uint64_t>(clipped.height());
    }
    return true;
}

std::vector<Rect> CountingDisplay::takeWrittenRects() {
    std::vector<Rect> out;
    out.swap(writtenRects);
    return out;
}

std::vector<TargetWrite> CountingDisplay::takeTargetWrites() {
    std::vector<TargetWrite> out;
    out.swap(targetWrites);
    return out;
}

}  // namespace kz::test
