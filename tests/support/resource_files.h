#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "software/software_display.h"

namespace kz {

// The whole file, or nothing when it cannot be read.
std::vector<uint8_t> readFileBytes(const std::string& path);

// Resolves resource id N to the file "<directory>/N.bmp".
SoftwareDisplay::BitmapResolver bitmapDirectoryResolver(const std::string& directory);

// Resolves resource ids to the bitmaps of a source tree: "<root>/resources/bitmaps/N.bmp".
SoftwareDisplay::BitmapResolver sourceTreeResolver(const std::string& sourceRoot);

}  // namespace kz
