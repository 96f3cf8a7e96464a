#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "display/rect.h"
#include "display/surface.h"

namespace kz {

// Stands between the game and the program's display: every operation goes through to it
// unchanged, and the areas that successful blits and fills wrote onto its target are
// noted. A program that shows a copy of the target presents just those areas; one whose
// target is the screen itself has nothing to present.
class WrittenAreas : public Display {
  public:
    explicit WrittenAreas(Display& display) : inner(display) {}

    Surface* target() override { return inner.target(); }
    std::unique_ptr<Bitmap> openBitmap(const BitmapName& name, int32_t width,
                                       int32_t height) override {
        return inner.openBitmap(name, width, height);
    }
    std::unique_ptr<Surface> createSurface(int32_t width, int32_t height,
                                           const ColourKey* key) override {
        return inner.createSurface(width, height, key);
    }
    bool copyBitmap(Surface& surface, const Bitmap& bitmap) override {
        return inner.copyBitmap(surface, bitmap);
    }
    bool blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
              uint32_t flags) override;
    bool fill(Surface& target, const Rect& dst, uint32_t colour) override;

    // The areas written since the last call, cut to bounds, in the order they were
    // written; empty ones and those inside an earlier one are left out.
    std::vector<Rect> take(const Rect& bounds);

  private:
    void note(Surface& surface, const Rect& area);

    Display& inner;
    std::vector<Rect> written;
};

}  // namespace kz
