#include "software/software_display.h"

#include <stb_image.h>

#include <algorithm>
#include <limits>

namespace kz {

namespace {

std::unique_ptr<SoftwareBitmap> fromRgb(unsigned char* rgb, int w, int h) {
    if (rgb == nullptr) {
        return nullptr;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const unsigned char* p = rgb + i * 3;
        pixels[i] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | uint32_t{p[2]};
    }
    stbi_image_free(rgb);
    return std::make_unique<SoftwareBitmap>(w, h, std::move(pixels));
}

bool sameSize(const Rect& a, const Rect& b) {
    return a.width() == b.width() && a.height() == b.height();
}

}  // namespace

std::unique_ptr<SoftwareBitmap> decodeBitmap(const std::vector<uint8_t>& bytes) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        return nullptr;
    }
    int w = 0;
    int h = 0;
    int channels = 0;
    unsigned char* rgb =
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 3);
    return fromRgb(rgb, w, h);
}

std::unique_ptr<SoftwareBitmap> decodeBitmapFile(const std::string& path) {
    int w = 0;
    int h = 0;
    int channels = 0;
    unsigned char* rgb = stbi_load(path.c_str(), &w, &h, &channels, 3);
    return fromRgb(rgb, w, h);
}

SoftwareSurface::SoftwareSurface(int32_t width, int32_t height, const ColourKey* key)
    : w(std::max(width, 0)),
      h(std::max(height, 0)),
      keyed(key != nullptr),
      colourKey(key != nullptr ? *key : ColourKey{}),
      owned(static_cast<size_t>(w) * static_cast<size_t>(h), 0u),
      px(owned.data()) {}

SoftwareSurface::SoftwareSurface(uint32_t* external, int32_t width, int32_t height)
    : w(external != nullptr && width > 0 && height > 0 ? width : 0),
      h(external != nullptr && width > 0 && height > 0 ? height : 0),
      keyed(false),
      colourKey{},
      px(w > 0 ? external : nullptr) {}

void SoftwareSurface::reset(int32_t width, int32_t height, uint32_t* external) {
    const bool valid = width > 0 && height > 0;
    w = valid ? width : 0;
    h = valid ? height : 0;
    if (external != nullptr) {
        owned.clear();
        owned.shrink_to_fit();
        px = valid ? external : nullptr;
    } else {
        owned.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0u);
        px = owned.data();
    }
}

SoftwareDisplay::SoftwareDisplay(int32_t width, int32_t height, BitmapResolver bitmapResolver)
    : targetSurface(width, height), resolver(std::move(bitmapResolver)) {}

SoftwareDisplay::SoftwareDisplay(uint32_t* targetPixels, int32_t width, int32_t height,
                                 BitmapResolver bitmapResolver)
    : targetSurface(targetPixels, width, height), resolver(std::move(bitmapResolver)) {}

std::unique_ptr<Bitmap> SoftwareDisplay::openBitmap(const BitmapName& name, int32_t width,
                                                    int32_t height) {
    std::unique_ptr<SoftwareBitmap> bitmap;
    if (name.resourceId != 0 && resolver) {
        bitmap = decodeBitmap(resolver(name.resourceId, name.scale));
    }
    if (!bitmap && !name.path.empty()) {
        bitmap = decodeBitmapFile(name.path);
    }
    if (!bitmap || bitmap->width() != width || bitmap->height() != height) {
        return nullptr;
    }
    return bitmap;
}

std::unique_ptr<Surface> SoftwareDisplay::createSurface(int32_t width, int32_t height,
                                                        const ColourKey* key) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    return std::make_unique<SoftwareSurface>(width, height, key);
}

bool SoftwareDisplay::copyBitmap(Surface& surface, const Bitmap& bitmap) {
    auto* dst = dynamic_cast<SoftwareSurface*>(&surface);
    auto* src = dynamic_cast<const SoftwareBitmap*>(&bitmap);
    if (dst == nullptr || src == nullptr || dst->width() != src->width() ||
        dst->height() != src->height()) {
        return false;
    }
    for (int32_t y = 0; y < src->height(); ++y) {
        const uint32_t* from = src->data().data() + static_cast<size_t>(y) * src->width();
        std::copy(from, from + src->width(), dst->row(y));
    }
    return true;
}

namespace {

// The part of r that lies on the surface; empty when none.
Rect clipTo(const SoftwareSurface& surface, const Rect& r) {
    return r.intersected({0, 0, surface.width(), surface.height()});
}

}  // namespace

bool SoftwareDisplay::blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
                           uint32_t flags) {
    auto* to = dynamic_cast<SoftwareSurface*>(&target);
    auto* from = dynamic_cast<SoftwareSurface*>(&source);
    if (to == nullptr || from == nullptr || !sameSize(dst, src)) {
        return false;
    }
    if (dst.empty()) {
        return true;
    }
    if (src.left < 0 || src.top < 0 || src.right > from->width() || src.bottom > from->height()) {
        return false;
    }
    // Clip the destination to the target and move the source along with it.
    const Rect clipped = clipTo(*to, dst);
    if (clipped.empty()) {
        return true;
    }
    const int32_t sx = src.left + (clipped.left - dst.left);
    const int32_t sy = src.top + (clipped.top - dst.top);
    const int32_t w = clipped.width();
    const bool skipKey = (flags & kBlitKeySource) != 0 && from->isKeyed();
    const uint32_t low = from->key().low;
    const uint32_t high = from->key().high;
    for (int32_t y = clipped.top; y < clipped.bottom; ++y) {
        const uint32_t* s = from->row(sy + (y - clipped.top)) + sx;
        uint32_t* d = to->row(y) + clipped.left;
        if (!skipKey) {
            std::copy(s, s + w, d);
            continue;
        }
        for (int32_t i = 0; i < w; ++i) {
            if (s[i] < low || s[i] > high) {
                d[i] = s[i];
            }
        }
    }
    return true;
}

bool SoftwareDisplay::fill(Surface& target, const Rect& dst, uint32_t colour) {
    auto* to = dynamic_cast<SoftwareSurface*>(&target);
    if (to == nullptr) {
        return false;
    }
    const Rect clipped = clipTo(*to, dst);
    if (clipped.empty()) {
        return true;
    }
    for (int32_t y = clipped.top; y < clipped.bottom; ++y) {
        std::fill(to->row(y) + clipped.left, to->row(y) + clipped.right, colour);
    }
    return true;
}

}  // namespace kz
