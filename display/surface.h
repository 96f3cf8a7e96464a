#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "display/rect.h"

namespace kz {

// Blit flag words, with the values the DirectDraw shell passes through unchanged.
constexpr uint32_t kBlitWait = 0x01000000;       // wait while the blitter is busy
constexpr uint32_t kBlitKeySource = 0x00008000;  // skip source pixels inside the colour key
constexpr uint32_t kBlitColourFill = 0x00000400;

// What a bitmap is loaded from: a resource id of the program, or a file path. scale asks for
// the same picture drawn that many times larger in each direction, for a screen with more
// pixels than the design's; a display that has no such set finds nothing.
struct BitmapName {
    int resourceId = 0;
    std::string path;
    int32_t scale = 1;

    static BitmapName resource(int id) { return BitmapName{id, {}, 1}; }
};

// A decoded bitmap, held in whatever form the platform likes.
class Bitmap {
  public:
    virtual ~Bitmap() = default;
};

// An offscreen surface or the display's target. Destroying it releases it.
class Surface {
  public:
    virtual ~Surface() = default;
};

struct ColourKey {
    uint32_t low = 0;
    uint32_t high = 0;
};

// The surface layer: the six operations the element framework needs of a display.
// Every operation reports success; nothing throws.
class Display {
  public:
    virtual ~Display() = default;

    // The surface every draw of the element tree targets, clipped to the window.
    virtual Surface* target() = 0;

    // Decodes a bitmap of the given size: the resource first, the file path as fallback.
    // Returns null when neither can be read.
    virtual std::unique_ptr<Bitmap> openBitmap(const BitmapName& name, int32_t width,
                                               int32_t height) = 0;

    // An offscreen surface in the target's pixel format, optionally with a source colour key.
    virtual std::unique_ptr<Surface> createSurface(int32_t width, int32_t height,
                                                   const ColourKey* key) = 0;

    // Copies a decoded bitmap into a surface at (0, 0), converting its pixels.
    virtual bool copyBitmap(Surface& surface, const Bitmap& bitmap) = 0;

    // Copies src rectangle of source onto the equally sized dst rectangle of target.
    // flags: kBlitWait, optionally kBlitKeySource.
    virtual bool blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
                      uint32_t flags) = 0;

    // Fills dst of target with a colour in the target's pixel format.
    virtual bool fill(Surface& target, const Rect& dst, uint32_t colour) = 0;
};

}  // namespace kz
