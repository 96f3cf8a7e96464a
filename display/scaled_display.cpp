#include "display/scaled_display.h"

#include <optional>
#include <utility>
#include <vector>

namespace kz {

// A bitmap of the display underneath, with the name and the size the game asked for.
class ScaledBitmap : public Bitmap {
  public:
    ScaledBitmap(std::unique_ptr<Bitmap> bitmap, BitmapName bitmapName)
        : picture(std::move(bitmap)), name(std::move(bitmapName)) {}

    std::unique_ptr<Bitmap> picture;
    BitmapName name;
};

// A surface of the display underneath, scale times larger than the game's size, which
// remembers the bitmap copied into it so that another scale can make it again.
class ScaledSurface : public Surface {
  public:
    ScaledSurface(ScaledDisplay* display, std::unique_ptr<Surface> surface, int32_t surfaceWidth,
                  int32_t surfaceHeight, const ColourKey* colourKey)
        : owner(display),
          inner(std::move(surface)),
          width(surfaceWidth),
          height(surfaceHeight),
          key(colourKey != nullptr ? std::optional<ColourKey>(*colourKey) : std::nullopt) {
        owner->surfaces.insert(this);
    }
    ~ScaledSurface() override {
        if (owner != nullptr) {
            owner->surfaces.erase(this);
        }
    }
    ScaledSurface(const ScaledSurface&) = delete;
    ScaledSurface& operator=(const ScaledSurface&) = delete;

    ScaledDisplay* owner;  // null once the display has gone
    std::unique_ptr<Surface> inner;
    int32_t width;
    int32_t height;
    std::optional<ColourKey> key;
    std::optional<BitmapName> copied;  // the bitmap copied in, if any
};

ScaledDisplay::ScaledDisplay(Display& display, int32_t scale)
    : inner(display), factor(scale > 0 ? scale : 1) {}

ScaledDisplay::~ScaledDisplay() {
    for (ScaledSurface* surface : surfaces) {
        surface->owner = nullptr;
    }
}

Rect ScaledDisplay::scaled(const Rect& r) const {
    return {r.left * factor, r.top * factor, r.right * factor, r.bottom * factor};
}

Surface& ScaledDisplay::underneath(Surface& surface) {
    auto* ours = dynamic_cast<ScaledSurface*>(&surface);
    return ours != nullptr && ours->inner ? *ours->inner : surface;
}

std::unique_ptr<Bitmap> ScaledDisplay::openBitmap(const BitmapName& name, int32_t width,
                                                  int32_t height) {
    BitmapName larger = name;
    larger.scale = factor;
    std::unique_ptr<Bitmap> picture = inner.openBitmap(larger, width * factor, height * factor);
    if (!picture) {
        return nullptr;
    }
    return std::make_unique<ScaledBitmap>(std::move(picture), name);
}

std::unique_ptr<Surface> ScaledDisplay::createSurface(int32_t width, int32_t height,
                                                      const ColourKey* key) {
    std::unique_ptr<Surface> surface = inner.createSurface(width * factor, height * factor, key);
    if (!surface) {
        return nullptr;
    }
    return std::make_unique<ScaledSurface>(this, std::move(surface), width, height, key);
}

bool ScaledDisplay::copyBitmap(Surface& surface, const Bitmap& bitmap) {
    auto* to = dynamic_cast<ScaledSurface*>(&surface);
    const auto* from = dynamic_cast<const ScaledBitmap*>(&bitmap);
    if (to == nullptr || from == nullptr || to->owner != this) {
        return false;
    }
    if (!inner.copyBitmap(*to->inner, *from->picture)) {
        return false;
    }
    to->copied = from->name;
    return true;
}

bool ScaledDisplay::blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
                         uint32_t flags) {
    return inner.blit(underneath(target), scaled(dst), underneath(source), scaled(src), flags);
}

bool ScaledDisplay::fill(Surface& target, const Rect& dst, uint32_t colour) {
    return inner.fill(underneath(target), scaled(dst), colour);
}

bool ScaledDisplay::setScale(int32_t newScale) {
    if (newScale <= 0) {
        return false;
    }
    if (newScale == factor) {
        return true;
    }
    // Every surface is made at the new scale first; they replace the old ones only when
    // all could be made, so a failure leaves the pictures as they were.
    std::vector<std::pair<ScaledSurface*, std::unique_ptr<Surface>>> remade;
    for (ScaledSurface* surface : surfaces) {
        const ColourKey* key = surface->key ? &*surface->key : nullptr;
        std::unique_ptr<Surface> larger =
            inner.createSurface(surface->width * newScale, surface->height * newScale, key);
        if (!larger) {
            return false;
        }
        if (surface->copied) {
            BitmapName name = *surface->copied;
            name.scale = newScale;
            std::unique_ptr<Bitmap> picture =
                inner.openBitmap(name, surface->width * newScale, surface->height * newScale);
            if (!picture || !inner.copyBitmap(*larger, *picture)) {
                return false;
            }
        }
        remade.emplace_back(surface, std::move(larger));
    }
    for (auto& entry : remade) {
        entry.first->inner = std::move(entry.second);
    }
    factor = newScale;
    return true;
}

}  // namespace kz
