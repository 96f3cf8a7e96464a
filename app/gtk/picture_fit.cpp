#include "app/gtk/picture_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kz {

Point PictureFit::toPicture(double x, double y) const {
    return {static_cast<int32_t>(std::floor((x - left) / scale)),
            static_cast<int32_t>(std::floor((y - top) / scale))};
}

Rect PictureFit::toArea(const Rect& part) const {
    return {static_cast<int32_t>(std::floor(left + part.left * scale)),
            static_cast<int32_t>(std::floor(top + part.top * scale)),
            static_cast<int32_t>(std::ceil(left + part.right * scale)),
            static_cast<int32_t>(std::ceil(top + part.bottom * scale))};
}

void PictureFit::apply(cairo_t* cr) const {
    cairo_translate(cr, left, top);
    cairo_scale(cr, scale, scale);
}

bool PictureFit::isWhole(int32_t deviceScale, int32_t pictureScale) const {
    const double covered = scale * deviceScale / pictureScale;
    return covered >= 1.0 && covered == std::floor(covered);
}

int32_t PictureFit::pictureScale(int32_t deviceScale, int32_t largest) const {
    // A hair of tolerance, so that a scale a rounding above a whole one stays whole.
    const double covered = std::ceil(scale * deviceScale - 0.01);
    return static_cast<int32_t>(std::clamp(covered, 1.0, static_cast<double>(largest)));
}

int32_t wholeMultipleNear(int32_t areaWidth, int32_t areaHeight, int32_t pictureWidth,
                          int32_t pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) {
        return 0;
    }
    const int32_t multiple = (areaWidth + pictureWidth / 2) / pictureWidth;
    const auto near = [multiple](int32_t side, int32_t pictureSide) {
        return std::abs(side - multiple * pictureSide) <= kNearWhole;
    };
    return multiple >= 1 && near(areaWidth, pictureWidth) && near(areaHeight, pictureHeight)
               ? multiple
               : 0;
}

PictureFit fitPicture(int32_t areaWidth, int32_t areaHeight, int32_t pictureWidth,
                      int32_t pictureHeight) {
    if (areaWidth <= 0 || areaHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
        return {};
    }
    PictureFit fit;
    const int32_t multiple = wholeMultipleNear(areaWidth, areaHeight, pictureWidth, pictureHeight);
    fit.nearWhole = multiple > 0;
    fit.scale = fit.nearWhole ? multiple
                              : std::min(static_cast<double>(areaWidth) / pictureWidth,
                                         static_cast<double>(areaHeight) / pictureHeight);
    // On whole pixels, so a picture at a whole scale stays sharp.
    fit.left = std::floor((areaWidth - pictureWidth * fit.scale) / 2);
    fit.top = std::floor((areaHeight - pictureHeight * fit.scale) / 2);
    return fit;
}

}  // namespace kz
