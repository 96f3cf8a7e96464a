#pragma once

#include <cstdint>

#include "display/element.h"

namespace kz {

// Paints an area of any size by tiling an Image over it, or without an Image by filling it
// with one colour. It always keeps and paints dirty rectangles and never draws children.
class Backdrop : public Element {
  public:
    Backdrop(Element* newParent, int32_t newX, int32_t newY, int32_t newWidth, int32_t newHeight,
             Image* newImage);

    bool draw(Surface* target) override;
    // Sets the size and fill colour and makes the element paint; invalidates nothing.
    virtual void setupBackdrop(int32_t newWidth, int32_t newHeight, uint32_t newFillColour);
    virtual bool drawTiled(Surface* target);
    virtual bool drawFilled(Surface* target);
    // The display the fill goes through; without one a Backdrop without an Image fails to
    // draw.
    void fillThrough(Display* display) { fillDisplay = display; }

    uint32_t getFillColour() const { return fillColour; }

  protected:
    uint32_t fillColour = 0;  // in the target's pixel format
    Display* fillDisplay = nullptr;
};

}  // namespace kz
