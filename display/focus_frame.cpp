#include "display/focus_frame.h"

#include <memory>

namespace kz {

// A filled strip that takes a new place and size with one repaint of each.
class FocusFrame::Strip : public Backdrop {
  public:
    Strip(Element* newParent, uint32_t colour, Display* display)
        : Backdrop(newParent, 0, 0, 0, 0, nullptr) {
        setupBackdrop(0, 0, colour);
        fillThrough(display);
    }

    void place(const Rect& r) {
        if (r == Rect{x, y, x + width, y + height}) {
            return;
        }
        invalidate();
        x = r.left;
        y = r.top;
        width = r.width();
        height = r.height();
        invalidate();
    }
};

FocusFrame::FocusFrame(Element* newParent, int32_t newThickness, uint32_t colour, Display* display)
    : Element(newParent, 0, 0, nullptr), thickness(newThickness) {
    if (newParent != nullptr) {
        width = newParent->getWidth();
        height = newParent->getHeight();
    }
    for (Strip*& strip : strips) {
        strip = addChild(std::make_unique<Strip>(this, colour, display));
        strip->setVisible(false);
    }
}

void FocusFrame::surround(const Rect& r) {
    const int32_t t = thickness;
    const std::array<Rect, 4> places = {{
        {r.left - t, r.top - t, r.right + t, r.top},
        {r.left - t, r.bottom, r.right + t, r.bottom + t},
        {r.left - t, r.top, r.left, r.bottom},
        {r.right, r.top, r.right + t, r.bottom},
    }};
    // Hidden strips take their new places unseen; shown ones repaint where they were and
    // where they go.
    for (size_t i = 0; i < strips.size(); ++i) {
        strips[i]->place(places[i]);
        strips[i]->setVisible(true);
    }
    surrounded = r;
    shown = true;
}

void FocusFrame::hide() {
    for (Strip* strip : strips) {
        strip->setVisible(false);
    }
    shown = false;
}

Element* FocusFrame::getStrip(int32_t index) const {
    return strips[static_cast<size_t>(index)];
}

}  // namespace kz
