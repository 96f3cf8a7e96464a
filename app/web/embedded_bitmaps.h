#pragma once

#include <cstdint>
#include <vector>

namespace kz {

// The bytes of resources/bitmaps/<resourceId>.bmp as built into the program; empty when it
// was built without that picture.
std::vector<uint8_t> embeddedBitmap(int32_t resourceId);

}  // namespace kz
