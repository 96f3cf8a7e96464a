#include "app/gtk/cairo_display.h"

#include <algorithm>

#include "software/software_display.h"

namespace kz {
namespace {

bool sameSize(const Rect& a, const Rect& b) {
    return a.width() == b.width() && a.height() == b.height();
}

// Draws the whole of an image in memory onto a surface at (0, 0), replacing what was there.
bool paintImage(cairo_surface_t* onto, cairo_surface_t* image) {
    cairo_t* cr = cairo_create(onto);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    // The image's memory may go once this returns.
    cairo_surface_flush(onto);
    return ok;
}

// An image surface over pixels the caller keeps (0x00RRGGBB or 0xAARRGGBB, no padding);
// cairo only reads them.
cairo_surface_t* imageOver(const std::vector<uint32_t>& pixels, cairo_format_t format,
                           int32_t width, int32_t height) {
    // cairo asks for writable memory even for a surface it only reads from.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(pixels.data()));
    return cairo_image_surface_create_for_data(data, format, width, height, width * 4);
}

}  // namespace

CairoSurface::CairoSurface(const void* owner, cairo_surface_t* opaque, int32_t width,
                           int32_t height, const ColourKey* key)
    : owner_(owner),
      opaque_(opaque),
      width_(width),
      height_(height),
      hasKey_(key != nullptr),
      key_(key != nullptr ? *key : ColourKey{}) {}

CairoSurface::~CairoSurface() {
    setKeyed(nullptr);
    cairo_surface_destroy(opaque_);
}

void CairoSurface::setKeyed(cairo_surface_t* keyed) {
    if (keyed_) {
        cairo_surface_destroy(keyed_);
    }
    keyed_ = keyed;
}

CairoDisplay::CairoDisplay(int32_t width, int32_t height, SurfaceFactory factory,
                           BitmapResolver resolver)
    : factory_(std::move(factory)), resolver_(std::move(resolver)) {
    if (cairo_surface_t* surface = newSurface(width, height)) {
        target_ = std::make_unique<CairoSurface>(this, surface, width, height, nullptr);
    }
}

CairoDisplay::~CairoDisplay() = default;

cairo_surface_t* CairoDisplay::newSurface(int32_t width, int32_t height) const {
    if (width <= 0 || height <= 0 || !factory_) {
        return nullptr;
    }
    cairo_surface_t* surface = factory_(width, height);
    if (surface && cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

std::unique_ptr<Bitmap> CairoDisplay::openBitmap(const BitmapName& name, int32_t width,
                                                 int32_t height) {
    std::unique_ptr<SoftwareBitmap> bitmap;
    if (name.resourceId != 0 && resolver_) {
        bitmap = decodeBitmap(resolver_(name.resourceId));
    }
    if (!bitmap && !name.path.empty()) {
        bitmap = decodeBitmapFile(name.path);
    }
    // A bitmap of another size is refused rather than shown cropped or stretched.
    if (!bitmap || bitmap->width() != width || bitmap->height() != height) {
        return nullptr;
    }
    return bitmap;
}

std::unique_ptr<Surface> CairoDisplay::createSurface(int32_t width, int32_t height,
                                                     const ColourKey* key) {
    cairo_surface_t* surface = newSurface(width, height);
    if (!surface) {
        return nullptr;
    }
    return std::make_unique<CairoSurface>(this, surface, width, height, key);
}

bool CairoDisplay::copyBitmap(Surface& surface, const Bitmap& bitmap) {
    auto* dst = dynamic_cast<CairoSurface*>(&surface);
    auto* src = dynamic_cast<const SoftwareBitmap*>(&bitmap);
    if (dst == nullptr || dst->owner() != this || src == nullptr || dst->width() != src->width() ||
        dst->height() != src->height()) {
        return false;
    }
    cairo_surface_t* image =
        imageOver(src->data(), CAIRO_FORMAT_RGB24, src->width(), src->height());
    bool ok = paintImage(dst->opaque(), image);
    cairo_surface_destroy(image);
    if (!ok || !dst->isKeyed()) {
        return ok;
    }

    // Keyed blits draw from a copy whose key-coloured pixels are transparent.
    std::vector<uint32_t> masked(src->data().size());
    const ColourKey& key = dst->key();
    std::transform(src->data().begin(), src->data().end(), masked.begin(), [&](uint32_t p) {
        p &= 0xFFFFFF;
        return p >= key.low && p <= key.high ? 0u : 0xFF000000u | p;
    });
    cairo_surface_t* keyed = cairo_surface_create_similar(dst->opaque(), CAIRO_CONTENT_COLOR_ALPHA,
                                                          dst->width(), dst->height());
    image = imageOver(masked, CAIRO_FORMAT_ARGB32, src->width(), src->height());
    ok = cairo_surface_status(keyed) == CAIRO_STATUS_SUCCESS && paintImage(keyed, image);
    cairo_surface_destroy(image);
    if (!ok) {
        cairo_surface_destroy(keyed);
        return false;
    }
    dst->setKeyed(keyed);
    return true;
}

bool CairoDisplay::blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
                        uint32_t flags) {
    auto* to = dynamic_cast<CairoSurface*>(&target);
    auto* from = dynamic_cast<CairoSurface*>(&source);
    if (to == nullptr || from == nullptr || to->owner() != this || from->owner() != this ||
        !sameSize(dst, src)) {
        return false;
    }
    if (dst.width() <= 0 || dst.height() <= 0) {
        return true;
    }
    if (src.left < 0 || src.top < 0 || src.right > from->width() || src.bottom > from->height()) {
        return false;
    }
    // Clip the destination to the target and move the source along with it.
    const Rect clipped{std::max(dst.left, 0), std::max(dst.top, 0),
                       std::min(dst.right, to->width()), std::min(dst.bottom, to->height())};
    if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) {
        return true;
    }
    const bool useKey = (flags & kBlitKeySource) != 0 && from->isKeyed();
    cairo_surface_t* picture = useKey ? from->keyed() : from->opaque();
    if (picture == nullptr) {
        return false;  // a keyed surface that never got its picture
    }
    cairo_t* cr = cairo_create(to->opaque());
    cairo_set_operator(cr, useKey ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, picture, dst.left - src.left, dst.top - src.top);
    cairo_rectangle(cr, clipped.left, clipped.top, clipped.width(), clipped.height());
    cairo_fill(cr);
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    if (ok && to == target_.get()) {
        writtenRects_.push_back(clipped);
    }
    return ok;
}

bool CairoDisplay::fill(Surface& target, const Rect& dst, uint32_t colour) {
    auto* to = dynamic_cast<CairoSurface*>(&target);
    if (to == nullptr || to->owner() != this) {
        return false;
    }
    const Rect clipped{std::max(dst.left, 0), std::max(dst.top, 0),
                       std::min(dst.right, to->width()), std::min(dst.bottom, to->height())};
    if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) {
        return true;
    }
    cairo_t* cr = cairo_create(to->opaque());
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    // n / 255 comes back as exactly n in every 8-bit channel.
    cairo_set_source_rgb(cr, ((colour >> 16) & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0,
                         (colour & 0xFF) / 255.0);
    cairo_rectangle(cr, clipped.left, clipped.top, clipped.width(), clipped.height());
    cairo_fill(cr);
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    if (ok && to == target_.get()) {
        writtenRects_.push_back(clipped);
    }
    return ok;
}

std::vector<Rect> CairoDisplay::takeWrittenRects() {
    std::vector<Rect> out;
    out.swap(writtenRects_);
    return out;
}

}  // namespace kz
