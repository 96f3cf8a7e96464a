#pragma once

#include <cstdint>
#include <memory>

#include "display/rect.h"
#include "display/surface.h"

namespace kz {

// A bitmap copied once into an offscreen surface of its own and cut into a grid of equal
// frames, numbered row by row. Elements refer to Images without owning them.
class Image {
  public:
    // display: what load creates the surface through and blit copies through; without one
    // the Image never loads.
    Image(Display* display, BitmapName bitmap, int32_t bitmapWidth, int32_t bitmapHeight,
          int32_t gridColumns, int32_t gridRows, int32_t frames);
    // The same with a source colour key range (inclusive, in the surface's pixel format).
    Image(Display* display, BitmapName bitmap, int32_t bitmapWidth, int32_t bitmapHeight,
          int32_t gridColumns, int32_t gridRows, int32_t frames, bool keyed, uint32_t low,
          uint32_t high);
    virtual ~Image();

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Creates the surface through the display and copies the bitmap into it, once.
    // A surface that was created stays even when the copy fails; a later load then
    // returns true without copying again.
    bool load();

    // One blit of src (bitmap coordinates) onto the equally sized dst of target.
    // False without a surface or when the display reports failure.
    bool blit(Surface* target, const Rect& dst, const Rect& src);

    Surface* getSurface() const { return surface.get(); }
    const BitmapName& getSource() const { return source; }
    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    int32_t getFrameWidth() const { return frameWidth; }
    int32_t getFrameHeight() const { return frameHeight; }
    int32_t getColumns() const { return columns; }
    int32_t getRows() const { return rows; }
    int32_t getFrameCount() const { return frameCount; }
    bool isColourKeyed() const { return colourKeyed; }
    uint32_t getKeyLow() const { return keyLow; }
    uint32_t getKeyHigh() const { return keyHigh; }
    uint32_t getBlitFlags() const { return blitFlags; }

    // The bitmap rectangle of frame f: column f mod columns, row f div columns.
    Rect frameRect(int32_t f) const;

  private:
    std::unique_ptr<Surface> surface;
    BitmapName source;
    int32_t width;
    int32_t height;
    int32_t frameWidth;
    int32_t frameHeight;
    int32_t columns;
    int32_t rows;
    int32_t frameCount;
    bool colourKeyed;
    uint32_t keyLow;
    uint32_t keyHigh;
    uint32_t blitFlags;
    // The display the surface belongs to; blits go through it.
    Display* display;
};

}  // namespace kz
