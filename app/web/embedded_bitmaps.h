#pragma once

#include <cstdint>
#include <vector>

namespace kz {

// The bytes of resources/bitmaps/<resourceId>.bmp as built into the program; empty when it
// was built without that picture, and for every scale but 1: the larger sets are fetched by
// the page, only the one the screen needs.
std::vector<uint8_t> embeddedBitmap(int32_t resourceId, int32_t scale);

}  // namespace kz
