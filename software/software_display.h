#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/rect.h"
#include "display/surface.h"

namespace kz {

// A surface of 32-bit pixels, 0x00RRGGBB, row by row without padding.
class SoftwareSurface : public Surface {
  public:
    SoftwareSurface(int32_t width, int32_t height, const ColourKey* key = nullptr);
    // Draws into width x height pixels owned by the caller, such as memory the window
    // system shows without a copy. They must outlive the surface; null or a size of 0
    // makes an empty surface.
    SoftwareSurface(uint32_t* external, int32_t width, int32_t height);
    SoftwareSurface(const SoftwareSurface&) = delete;
    SoftwareSurface& operator=(const SoftwareSurface&) = delete;

    // Gives the surface new pixels of a new size: the caller's (as above), or cleared ones
    // of its own when external is null.
    void reset(int32_t width, int32_t height, uint32_t* external = nullptr);

    int32_t width() const { return w; }
    int32_t height() const { return h; }
    bool isKeyed() const { return keyed; }
    const ColourKey& key() const { return colourKey; }
    uint32_t* row(int32_t y) { return px + static_cast<size_t>(y) * w; }
    const uint32_t* row(int32_t y) const { return px + static_cast<size_t>(y) * w; }
    const uint32_t* pixels() const { return px; }
    size_t pixelCount() const { return static_cast<size_t>(w) * static_cast<size_t>(h); }

  private:
    int32_t w;
    int32_t h;
    bool keyed;
    ColourKey colourKey;
    std::vector<uint32_t> owned;
    uint32_t* px;
};

// A decoded bitmap in the same pixel format.
class SoftwareBitmap : public Bitmap {
  public:
    SoftwareBitmap(int32_t width, int32_t height, std::vector<uint32_t> decodedPixels)
        : w(width), h(height), pixels(std::move(decodedPixels)) {}

    int32_t width() const { return w; }
    int32_t height() const { return h; }
    const std::vector<uint32_t>& data() const { return pixels; }

  private:
    int32_t w;
    int32_t h;
    std::vector<uint32_t> pixels;
};

// The surface layer in software: a pixel-buffer target of a fixed size, to which all
// drawing is clipped. It keeps no record of what it wrote: a program learns the areas to
// present from the game session, whose WrittenAreas notes each draw's writes to the target.
class SoftwareDisplay : public Display {
  public:
    // Encoded bitmap bytes (BMP, PNG, ...) of a resource id in the set drawn scale times
    // larger (1: the design's); empty when there is none.
    using BitmapResolver = std::function<std::vector<uint8_t>(int32_t resourceId, int32_t scale)>;

    SoftwareDisplay(int32_t width, int32_t height, BitmapResolver bitmapResolver = {});
    // The same with a target drawn into the caller's pixels (see SoftwareSurface).
    SoftwareDisplay(uint32_t* targetPixels, int32_t width, int32_t height,
                    BitmapResolver bitmapResolver = {});

    Surface* target() override { return &targetSurface; }
    // For a program that learns the size of what it shows only after the pictures exist:
    // the target takes new pixels (see SoftwareSurface::reset). Offscreen surfaces stay.
    void resetTarget(int32_t width, int32_t height, uint32_t* pixels = nullptr) {
        targetSurface.reset(width, height, pixels);
    }
    // The resource through the resolver first, then the file path. A bitmap whose decoded
    // size is not the one asked for is refused rather than shown cropped or stretched.
    std::unique_ptr<Bitmap> openBitmap(const BitmapName& name, int32_t width,
                                       int32_t height) override;
    std::unique_ptr<Surface> createSurface(int32_t width, int32_t height,
                                           const ColourKey* key) override;
    bool copyBitmap(Surface& surface, const Bitmap& bitmap) override;
    // Fails for surfaces of another display, rectangles of unequal size and source
    // rectangles outside the source; an empty rectangle succeeds and writes nothing.
    bool blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
              uint32_t flags) override;
    bool fill(Surface& target, const Rect& dst, uint32_t colour) override;

    int32_t width() const { return targetSurface.width(); }
    int32_t height() const { return targetSurface.height(); }
    const SoftwareSurface& targetPixels() const { return targetSurface; }

  private:
    SoftwareSurface targetSurface;
    BitmapResolver resolver;
};

// Decodes an encoded picture (BMP, PNG, ...) into 0x00RRGGBB pixels; null when it cannot.
std::unique_ptr<SoftwareBitmap> decodeBitmap(const std::vector<uint8_t>& bytes);
std::unique_ptr<SoftwareBitmap> decodeBitmapFile(const std::string& path);

}  // namespace kz
