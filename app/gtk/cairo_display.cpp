#include "app/gtk/cairo_display.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstring>

namespace kz {
namespace {

// Larger than any picture of the game by far; guards the arithmetic below.
constexpr int32_t kLargestSide = 1 << 14;

uint32_t little32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t little16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

std::unique_ptr<SoftwareBitmap> decodeBmp(const uint8_t* bytes, size_t size) {
    constexpr size_t kHeaders = 14 + 40;
    if (size < kHeaders || bytes[0] != 'B' || bytes[1] != 'M') {
        return nullptr;
    }
    const uint32_t offset = little32(bytes + 10);
    const auto width = static_cast<int32_t>(little32(bytes + 18));
    const auto signedHeight = static_cast<int32_t>(little32(bytes + 22));
    const uint16_t planes = little16(bytes + 26);
    const uint16_t bits = little16(bytes + 28);
    const uint32_t compression = little32(bytes + 30);
    // Bottom-up rows unless the height is negative.
    const bool topDown = signedHeight < 0;
    const int32_t height = topDown ? -signedHeight : signedHeight;
    if (little32(bytes + 14) < 40 || planes != 1 || (bits != 24 && bits != 32) ||
        compression != 0 || width <= 0 || width > kLargestSide || height <= 0 ||
        height > kLargestSide) {
        return nullptr;
    }
    const size_t pixelBytes = bits / 8u;
    const size_t stride = (static_cast<size_t>(width) * pixelBytes + 3) & ~size_t{3};
    if (offset < kHeaders || offset > size ||
        (size - offset) / stride < static_cast<size_t>(height)) {
        return nullptr;
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        const int32_t row = topDown ? y : height - 1 - y;
        const uint8_t* in = bytes + offset + static_cast<size_t>(row) * stride;
        uint32_t* out = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x, in += pixelBytes) {
            out[x] = uint32_t{in[2]} << 16 | uint32_t{in[1]} << 8 | uint32_t{in[0]};
        }
    }
    return std::make_unique<SoftwareBitmap>(width, height, std::move(pixels));
}

std::unique_ptr<SoftwareBitmap> fromPixbuf(GdkPixbuf* pixbuf) {
    if (!pixbuf) {
        return nullptr;
    }
    std::unique_ptr<SoftwareBitmap> result;
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    if (gdk_pixbuf_get_colorspace(pixbuf) == GDK_COLORSPACE_RGB &&
        gdk_pixbuf_get_bits_per_sample(pixbuf) == 8 && channels >= 3 && width > 0 && height > 0 &&
        width <= kLargestSide && height <= kLargestSide) {
        const auto stride = static_cast<size_t>(gdk_pixbuf_get_rowstride(pixbuf));
        const guint8* data = gdk_pixbuf_read_pixels(pixbuf);
        std::vector<uint32_t> pixels;
        pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y) {
            const guint8* p = data + static_cast<size_t>(y) * stride;
            for (int x = 0; x < width; ++x, p += channels) {
                pixels.push_back(uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | uint32_t{p[2]});
            }
        }
        result = std::make_unique<SoftwareBitmap>(width, height, std::move(pixels));
    }
    g_object_unref(pixbuf);
    return result;
}

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

std::unique_ptr<SoftwareBitmap> decodePicture(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size == 0) {
        return nullptr;
    }
    if (size >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        // A BMP the reader above cannot take is damaged or of a kind the game never uses.
        return decodeBmp(bytes, size);
    }
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GdkPixbuf* pixbuf = nullptr;
    if (gdk_pixbuf_loader_write(loader, bytes, size, nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
        pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
        if (pixbuf) {
            g_object_ref(pixbuf);
        }
    } else {
        gdk_pixbuf_loader_close(loader, nullptr);
    }
    g_object_unref(loader);
    return fromPixbuf(pixbuf);
}

std::unique_ptr<SoftwareBitmap> decodePictureFile(const std::string& path) {
    gchar* contents = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr)) {
        return nullptr;
    }
    std::unique_ptr<SoftwareBitmap> bitmap =
        decodePicture(reinterpret_cast<const uint8_t*>(contents), length);
    g_free(contents);
    return bitmap;
}

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

CairoDisplay::CairoDisplay(SurfaceFactory factory, BitmapResolver resolver, PixelWriter writer)
    : factory_(std::move(factory)), resolver_(std::move(resolver)), writer_(std::move(writer)) {}

bool CairoDisplay::makeTarget(int32_t width, int32_t height) {
    target_.reset();
    if (cairo_surface_t* surface = newSurface(width, height)) {
        target_ = std::make_unique<CairoSurface>(this, surface, width, height, nullptr);
    }
    return ready();
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
        bitmap = resolver_(name.resourceId, name.scale, decodePicture);
    }
    if (!bitmap && !name.path.empty()) {
        bitmap = decodePictureFile(name.path);
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
    bool ok = writer_ && writer_(dst->opaque(), src->data().data(), src->width(), src->height());
    if (!ok) {
        cairo_surface_t* image =
            imageOver(src->data(), CAIRO_FORMAT_RGB24, src->width(), src->height());
        ok = paintImage(dst->opaque(), image);
        cairo_surface_destroy(image);
    }
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
    cairo_surface_t* image = imageOver(masked, CAIRO_FORMAT_ARGB32, src->width(), src->height());
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
    return ok;
}

}  // namespace kz
