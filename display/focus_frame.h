#pragma once

#include <array>
#include <cstdint>

#include "display/backdrop.h"
#include "display/element.h"

namespace kz {

// A frame of one colour drawn around a rectangle, to show where the keyboard is. It is a
// container as large as its parent that paints nothing itself; its four strips are filled
// Backdrops, so a move repaints only the strips it leaves and the strips it lands on.
class FocusFrame : public Element {
  public:
    // Covers the parent's whole area, so areas the parent repaints reach the strips; starts
    // hidden.
    FocusFrame(Element* newParent, int32_t thickness, uint32_t colour, Display* display);

    // Shows the frame just outside r, which is in the parent's coordinates.
    void surround(const Rect& r);
    void hide();
    bool isShown() const { return shown; }
    // The rectangle last surrounded.
    const Rect& getSurrounded() const { return surrounded; }
    // The four strips: top, bottom, left, right.
    Element* getStrip(int32_t index) const;

  private:
    class Strip;

    int32_t thickness;
    std::array<Strip*, 4> strips{};
    Rect surrounded;
    bool shown = false;
};

}  // namespace kz
