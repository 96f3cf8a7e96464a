#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/rect.h"
#include "display/surface.h"
#include "software/software_display.h"

namespace kz {

// Decodes an uncompressed 24- or 32-bit BMP, the form of every picture of the game, in a
// single pass; other formats (PNG, ...) through gdk-pixbuf. Null when it cannot.
std::unique_ptr<SoftwareBitmap> decodePicture(const uint8_t* bytes, size_t size);
std::unique_ptr<SoftwareBitmap> decodePictureFile(const std::string& path);

// A picture or the target of the cairo surface layer.
class CairoSurface : public Surface {
  public:
    CairoSurface(const void* owner, cairo_surface_t* opaque, int32_t width, int32_t height,
                 const ColourKey* key);
    ~CairoSurface() override;
    CairoSurface(const CairoSurface&) = delete;
    CairoSurface& operator=(const CairoSurface&) = delete;

    const void* owner() const { return owner_; }
    cairo_surface_t* opaque() const { return opaque_; }
    // The same picture with the colour key's pixels transparent; null without a key or
    // before a bitmap was copied in.
    cairo_surface_t* keyed() const { return keyed_; }
    void setKeyed(cairo_surface_t* keyed);
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    bool isKeyed() const { return hasKey_; }
    const ColourKey& key() const { return key_; }

  private:
    const void* owner_;
    cairo_surface_t* opaque_;
    cairo_surface_t* keyed_ = nullptr;
    int32_t width_;
    int32_t height_;
    bool hasKey_;
    ColourKey key_;
};

// The surface layer on cairo. Every surface, the target among them, comes from a factory
// that makes them like the window's own: on X11 they are pixmaps in the X server, so the
// pictures take no memory in the program and every blit and fill is done by the server.
// Bitmaps are decoded once, copied in and let go. The results are those of the software
// surface pixel for pixel: whole-pixel copies, fills and a colour key range.
class CairoDisplay : public Display {
  public:
    // A new surface of RGB24 content, width x height at scale 1, or null.
    using SurfaceFactory = std::function<cairo_surface_t*(int32_t width, int32_t height)>;
    // Hands the encoded bytes (BMP, PNG, ...) of a resource, in the set drawn scale times
    // larger (1: the design's), to the decoder, which returns the picture; null when there
    // is no such resource. The bytes need only live that long.
    using Decoder = std::function<std::unique_ptr<SoftwareBitmap>(const uint8_t*, size_t)>;
    using BitmapResolver = std::function<std::unique_ptr<SoftwareBitmap>(
        int32_t resourceId, int32_t scale, const Decoder& decode)>;
    // Writes width x height pixels (0x00RRGGBB, no padding) to a surface of the factory at
    // (0, 0) by a way of its own; false leaves it to cairo.
    using PixelWriter = std::function<bool(cairo_surface_t* surface, const uint32_t* pixels,
                                           int32_t width, int32_t height)>;

    explicit CairoDisplay(SurfaceFactory factory, BitmapResolver resolver = {},
                          PixelWriter writer = {});
    ~CairoDisplay() override;
    CairoDisplay(const CairoDisplay&) = delete;
    CairoDisplay& operator=(const CairoDisplay&) = delete;

    // Makes the target of the given size, replacing any earlier one. Pictures can be made
    // before it. False when it could not be made; nothing can be drawn then.
    bool makeTarget(int32_t width, int32_t height);
    bool ready() const { return target_ != nullptr; }

    // Null until makeTarget succeeded.
    Surface* target() override { return target_.get(); }
    std::unique_ptr<Bitmap> openBitmap(const BitmapName& name, int32_t width,
                                       int32_t height) override;
    std::unique_ptr<Surface> createSurface(int32_t width, int32_t height,
                                           const ColourKey* key) override;
    bool copyBitmap(Surface& surface, const Bitmap& bitmap) override;
    bool blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
              uint32_t flags) override;
    bool fill(Surface& target, const Rect& dst, uint32_t colour) override;

    // The picture to show; null when not ready.
    cairo_surface_t* targetSurface() const { return target_ ? target_->opaque() : nullptr; }

  private:
    cairo_surface_t* newSurface(int32_t width, int32_t height) const;

    SurfaceFactory factory_;
    BitmapResolver resolver_;
    PixelWriter writer_;
    std::unique_ptr<CairoSurface> target_;
};

}  // namespace kz
