#include "display/backdrop.h"

namespace kz {

Backdrop::Backdrop(Element* parent, int32_t x, int32_t y, int32_t width, int32_t height,
                   Image* image)
    : Element(parent, x, y, image) {
    setupBackdrop(width, height, 0);
}

void Backdrop::setupBackdrop(int32_t newWidth, int32_t newHeight, uint32_t newFillColour) {
    width = newWidth;
    height = newHeight;
    fillColour = newFillColour;
    hasImage = true;
}

bool Backdrop::draw(Surface* target) {
    if (!visible || !needsRedraw) {
        return true;
    }
    needsRedraw = false;
    if (!hasImage || dirtyRects.empty()) {
        return true;
    }
    return image != nullptr ? drawTiled(target) : drawFilled(target);
}

bool Backdrop::drawTiled(Surface* target) {
    // The whole bitmap is one tile, anchored at the element's top-left corner; each dirty
    // rectangle is cut at tile boundaries so every piece is one same-size blit.
    const int32_t tileW = image->getWidth();
    const int32_t tileH = image->getHeight();
    if (tileW <= 0 || tileH <= 0) {
        return false;
    }
    const int32_t originX = x + baseX;
    const int32_t originY = y + baseY;
    for (const Rect& r : dirtyRects) {
        if (r.right <= r.left || r.bottom <= r.top) {
            continue;  // nothing to paint
        }
        int32_t srcTop = r.top % tileH;
        int32_t dstTop = r.top + originY;
        for (;;) {
            const bool lastRow = !(dstTop + (tileH - srcTop) < r.bottom + originY);
            int32_t srcBottom;
            int32_t dstBottom;
            if (!lastRow) {
                srcBottom = tileH;
                dstBottom = dstTop + (tileH - srcTop);
            } else {
                srcBottom = r.bottom % tileH == 0 ? tileH : r.bottom % tileH;
                dstBottom = r.bottom + originY;
            }
            int32_t srcLeft = r.left % tileW;
            int32_t dstLeft = r.left + originX;
            for (;;) {
                const bool lastColumn = !(dstLeft + (tileW - srcLeft) < r.right + originX);
                int32_t srcRight;
                int32_t dstRight;
                if (!lastColumn) {
                    srcRight = tileW;
                    dstRight = dstLeft + (tileW - srcLeft);
                } else {
                    srcRight = r.right % tileW == 0 ? tileW : r.right % tileW;
                    dstRight = r.right + originX;
                }
                if (!image->blit(target, Rect{dstLeft, dstTop, dstRight, dstBottom},
                                 Rect{srcLeft, srcTop, srcRight, srcBottom})) {
                    return false;
                }
                if (lastColumn) {
                    break;
                }
                dstLeft += tileW - srcLeft;
                srcLeft = 0;
            }
            if (lastRow) {
                break;
            }
            dstTop += tileH - srcTop;
            srcTop = 0;
        }
    }
    clearDirty();
    return true;
}

bool Backdrop::drawFilled(Surface* target) {
    Display* display = activeDisplay();
    if (display == nullptr || target == nullptr) {
        return false;
    }
    const int32_t originX = x + baseX;
    const int32_t originY = y + baseY;
    for (const Rect& r : dirtyRects) {
        const Rect dst{r.left + originX, r.top + originY, r.right + originX, r.bottom + originY};
        if (!display->fill(*target, dst, fillColour)) {
            return false;
        }
    }
    clearDirty();
    return true;
}

}  // namespace kz
