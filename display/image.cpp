#include "display/image.h"

#include <utility>

namespace kz {

namespace {
// A grid without columns or rows has no frames; its frame size is 0 instead of a
// division by zero.
int32_t frameSize(int32_t total, int32_t cells) {
    return cells > 0 ? total / cells : 0;
}
}  // namespace

Image::Image(Display* loadingDisplay, BitmapName bitmap, int32_t bitmapWidth, int32_t bitmapHeight,
             int32_t gridColumns, int32_t gridRows, int32_t frames)
    : Image(loadingDisplay, std::move(bitmap), bitmapWidth, bitmapHeight, gridColumns, gridRows,
            frames, false, 0, 0) {}

Image::Image(Display* loadingDisplay, BitmapName bitmap, int32_t bitmapWidth, int32_t bitmapHeight,
             int32_t gridColumns, int32_t gridRows, int32_t frames, bool keyed, uint32_t low,
             uint32_t high)
    : source(std::move(bitmap)),
      width(bitmapWidth),
      height(bitmapHeight),
      frameWidth(frameSize(bitmapWidth, gridColumns)),
      frameHeight(frameSize(bitmapHeight, gridRows)),
      columns(gridColumns),
      rows(gridRows),
      frameCount(frames),
      colourKeyed(keyed),
      keyLow(low),
      keyHigh(high),
      blitFlags(keyed ? (kBlitWait | kBlitKeySource) : kBlitWait),
      display(loadingDisplay) {}

Image::~Image() = default;

bool Image::load() {
    if (surface) {
        return true;
    }
    if (display == nullptr) {
        return false;
    }
    std::unique_ptr<Bitmap> bitmap = display->openBitmap(source, width, height);
    if (!bitmap) {
        return false;
    }
    ColourKey key{keyLow, keyHigh};
    surface = display->createSurface(width, height, colourKeyed ? &key : nullptr);
    if (!surface) {
        return false;
    }
    return display->copyBitmap(*surface, *bitmap);
}

bool Image::blit(Surface* target, const Rect& dst, const Rect& src) {
    if (!surface || target == nullptr || display == nullptr) {
        return false;
    }
    return display->blit(*target, dst, *surface, src, blitFlags);
}

Rect Image::frameRect(int32_t f) const {
    int32_t column = columns > 0 ? f % columns : 0;
    int32_t row = columns > 0 ? f / columns : 0;
    int32_t left = column * frameWidth;
    int32_t top = row * frameHeight;
    return Rect{left, top, left + frameWidth, top + frameHeight};
}

}  // namespace kz
