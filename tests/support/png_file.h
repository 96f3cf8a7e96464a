#pragma once

#include <string>

#include "software/software_display.h"

namespace kz {

// Writes the pixels of a software surface as a PNG file, for golden pictures and for
// looking at what a test drew.
bool savePng(const SoftwareSurface& surface, const std::string& path);

}  // namespace kz
