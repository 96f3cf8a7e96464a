#pragma once

#include <cstdint>
#include <memory>
#include <set>

#include "display/rect.h"
#include "display/surface.h"

namespace kz {

class ScaledSurface;

// Draws the design's screen on a target with scale x scale pixels for each of its pixels,
// from the pictures drawn that much larger. The game keeps its coordinates: every
// rectangle it gives is multiplied on its way to the display underneath, each bitmap is
// opened from that display's set of the scale, and every surface is made that much larger.
// The target is the display underneath's own, which the program makes scale times the
// screen's size. Only what the game draws is drawn, so only its dirty areas change.
class ScaledDisplay : public Display {
  public:
    // scale: 1 draws as the display underneath does.
    ScaledDisplay(Display& display, int32_t scale);
    ~ScaledDisplay() override;
    ScaledDisplay(const ScaledDisplay&) = delete;
    ScaledDisplay& operator=(const ScaledDisplay&) = delete;

    int32_t scale() const { return factor; }
    // A rectangle of the game's coordinates on the target.
    Rect scaled(const Rect& r) const;

    // Makes every picture again from the set of another scale (a window moved to a screen
    // of another density, drawn larger or smaller). All or nothing: when a picture of that
    // set cannot be made the scale stays and false is returned. The program then gives the
    // target its new size and draws the whole screen.
    bool setScale(int32_t newScale);

    Surface* target() override { return inner.target(); }
    std::unique_ptr<Bitmap> openBitmap(const BitmapName& name, int32_t width,
                                       int32_t height) override;
    std::unique_ptr<Surface> createSurface(int32_t width, int32_t height,
                                           const ColourKey* key) override;
    bool copyBitmap(Surface& surface, const Bitmap& bitmap) override;
    bool blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
              uint32_t flags) override;
    bool fill(Surface& target, const Rect& dst, uint32_t colour) override;

  private:
    friend class ScaledSurface;

    // The display underneath's surface of one of ours; others pass as they are.
    static Surface& underneath(Surface& surface);

    Display& inner;
    int32_t factor;
    // Every live surface made here, so that setScale can make them again.
    std::set<ScaledSurface*> surfaces;
};

}  // namespace kz
