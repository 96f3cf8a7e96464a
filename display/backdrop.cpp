#include "display/backdrop.h"

namespace kz {

Backdrop::Backdrop(Element* newParent, int32_t newX, int32_t newY, int32_t newWidth,
                   int32_t newHeight, Image* newImage)
    : Element(newParent, newX, newY, newImage) {
    setupBackdrop(newWidth, newHeight, 0);
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
    const Point origin = targetOrigin();
    for (const Rect& r : dirtyRects) {
        if (r.empty()) {
            continue;  // nothing to paint
        }
        const Rect area = r.translated(origin.x, origin.y);  // on the target
        int32_t srcTop = r.top % tileH;
        int32_t dstTop = area.top;
        for (;;) {
            const bool lastRow = !(dstTop + (tileH - srcTop) < area.bottom);
            int32_t srcBottom;
            int32_t dstBottom;
            if (!lastRow) {
                srcBottom = tileH;
                dstBottom = dstTop + (tileH - srcTop);
            } else {
                srcBottom = r.bottom % tileH == 0 ? tileH : r.bottom % tileH;
                dstBottom = area.bottom;
            }
            int32_t srcLeft = r.left % tileW;
            int32_t dstLeft = area.left;
            for (;;) {
                const bool lastColumn = !(dstLeft + (tileW - srcLeft) < area.right);
                int32_t srcRight;
                int32_t dstRight;
                if (!lastColumn) {
                    srcRight = tileW;
                    dstRight = dstLeft + (tileW - srcLeft);
                } else {
                    srcRight = r.right % tileW == 0 ? tileW : r.right % tileW;
                    dstRight = area.right;
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
    if (fillDisplay == nullptr || target == nullptr) {
        return false;
    }
    const Point origin = targetOrigin();
    for (const Rect& r : dirtyRects) {
        if (!fillDisplay->fill(*target, r.translated(origin.x, origin.y), fillColour)) {
            return false;
        }
    }
    clearDirty();
    return true;
}

}  // namespace kz
