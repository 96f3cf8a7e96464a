#pragma once

#include <cairo.h>

#include <cstdint>

#include "display/rect.h"

namespace kz {

// Where the game's picture stands in an area of another size: as large as fits, keeping its
// proportions, in the middle; in an area within kNearWhole pixels of a whole multiple of
// its size, at exactly that multiple. The one place the picture is scaled: drawing, the
// pointer, the areas shown anew and the places a screen reader is told all go through it.
struct PictureFit {
    double scale = 1.0;
    double left = 0.0;  // the picture's top-left corner in the area, on whole pixels
    double top = 0.0;
    // Drawn at a whole multiple the area is near: any margin is a few pixels wide, and
    // where the area is a little smaller, as much of the picture's edge is left out.
    bool nearWhole = false;

    // A point of the area in the picture's pixels (floored, so a pixel's whole square
    // lands in it).
    Point toPicture(double x, double y) const;
    // The pixels of the area that show a part of the picture, rounded outward.
    Rect toArea(const Rect& part) const;
    // Makes cr draw in the picture's pixels.
    void apply(cairo_t* cr) const;
    // One pixel of the picture, drawn pictureScale times larger, covers a whole number of
    // the screen's pixels where each pixel of the area is deviceScale x deviceScale of them.
    bool isWhole(int32_t deviceScale = 1, int32_t pictureScale = 1) const;
    // The set of pictures drawn larger (1 to largest times) that shows sharpest: the screen's
    // pixels each pixel of the picture covers, rounded up, as a set shrunk a little stays
    // sharper than one stretched.
    int32_t pictureScale(int32_t deviceScale, int32_t largest) const;
};

// How far, in pixels either way, an area's sides may be from a whole multiple of the
// picture's for the picture to be drawn at that multiple: a window manager that rounds the
// window's proportions takes a pixel or two.
constexpr int32_t kNearWhole = 4;

// The whole multiple of the picture's size (1 or more) both sides of the area are within
// kNearWhole pixels of; 0 when there is none.
int32_t wholeMultipleNear(int32_t areaWidth, int32_t areaHeight, int32_t pictureWidth,
                          int32_t pictureHeight);

PictureFit fitPicture(int32_t areaWidth, int32_t areaHeight, int32_t pictureWidth,
                      int32_t pictureHeight);

}  // namespace kz
