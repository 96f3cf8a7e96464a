#pragma once

#include <cstdint>

#include "software/software_display.h"

namespace kz {

// One pixel of a software surface; 0 outside it.
inline uint32_t pixelAt(const SoftwareSurface& surface, int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= surface.width() || y >= surface.height()) {
        return 0;
    }
    return surface.row(y)[x];
}

}  // namespace kz
