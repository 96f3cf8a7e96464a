#include "app/gtk/picture_fit.h"

#include <algorithm>
#include <cmath>

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

bool PictureFit::isWhole() const {
    return scale == std::floor(scale);
}

PictureFit fitPicture(int32_t areaWidth, int32_t areaHeight, int32_t pictureWidth,
                      int32_t pictureHeight) {
    if (areaWidth <= 0 || areaHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
        return {};
    }
    PictureFit fit;
    fit.scale = std::min(static_cast<double>(areaWidth) / pictureWidth,
                         static_cast<double>(areaHeight) / pictureHeight);
    // On whole pixels, so a picture at a whole scale stays sharp.
    fit.left = std::floor((areaWidth - pictureWidth * fit.scale) / 2);
    fit.top = std::floor((areaHeight - pictureHeight * fit.scale) / 2);
    return fit;
}

}  // namespace kz
