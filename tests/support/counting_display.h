#pragma once

#include <cstdint>
#include <vector>

#include "display/rect.h"
#include "software/software_display.h"

namespace kz::test {

// The software display with a record of what reached its target: the clipped rectangles
// of the blits and fills that wrote to it, and the pixels they wrote, so tests and
// benchmarks can measure what a redraw costs. The drawing itself is the base's.
class CountingDisplay : public SoftwareDisplay {
  public:
    using SoftwareDisplay::SoftwareDisplay;

    bool blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
              uint32_t flags) override;
    bool fill(Surface& target, const Rect& dst, uint32_t colour) override;

    // The clipped rectangles written to the target since the last call, in order.
    std::vector<Rect> takeWrittenRects();
    // Pixels written to the target since construction or the last reset; a keyed blit
    // counts only the source pixels outside the key.
    uint64_t pixelsWritten() const { return written; }
    void resetPixelsWritten() { written = 0; }

  private:
    // The part of dst on the target, or empty when the call did not write to the target.
    Rect clippedOnTarget(const Surface& surface, const Rect& dst);

    std::vector<Rect> writtenRects;
    uint64_t written = 0;
};

}  // namespace kz::test
