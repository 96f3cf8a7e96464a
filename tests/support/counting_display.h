#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "display/rect.h"
#include "software/software_display.h"

namespace kz::test {

// One blit or fill that reached the target, as the display received it: the picture a blit
// copied from (its bitmap's name, scale included), none for a fill.
struct TargetWrite {
    bool fill = false;
    BitmapName picture;
    Rect dst;
    Rect src;
    uint32_t colour = 0;
};

// The software display with a record of what reached its target: the clipped rectangles
// of the blits and fills that wrote to it, and the pixels they wrote, so tests and
// benchmarks can measure what a redraw costs, and each write with the picture it came
// from. The drawing itself is the base's.
class CountingDisplay : public SoftwareDisplay {
  public:
    using SoftwareDisplay::SoftwareDisplay;

    std::unique_ptr<Bitmap> openBitmap(const BitmapName& name, int32_t width,
                                       int32_t height) override;
    bool copyBitmap(Surface& surface, const Bitmap& bitmap) override;
    bool blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
              uint32_t flags) override;
    bool fill(Surface& target, const Rect& dst, uint32_t colour) override;

    // The clipped rectangles written to the target since the last call, in order.
    std::vector<Rect> takeWrittenRects();
    // The writes onto the target since the last call, in order, unclipped.
    std::vector<TargetWrite> takeTargetWrites();
    // Pixels written to the target since construction or the last reset; a keyed blit
    // counts only the source pixels outside the key.
    uint64_t pixelsWritten() const { return written; }
    void resetPixelsWritten() { written = 0; }

  private:
    // The part of dst on the target, or empty when the call did not write to the target.
    Rect clippedOnTarget(const Surface& surface, const Rect& dst);

    std::vector<Rect> writtenRects;
    std::vector<TargetWrite> targetWrites;
    std::map<const Bitmap*, BitmapName> openedBitmaps;
    std::map<const Surface*, BitmapName> pictures;  // the bitmap copied into each surface
    uint64_t written = 0;
};

}  // namespace kz::test
