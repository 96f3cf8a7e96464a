#include "tests/support/png_file.h"

#include <stb_image_write.h>

#include <vector>

namespace kz {

bool savePng(const SoftwareSurface& surface, const std::string& path) {
    const int32_t w = surface.width();
    const int32_t h = surface.height();
    if (w <= 0 || h <= 0) {
        return false;
    }
    std::vector<unsigned char> rgb(surface.pixelCount() * 3);
    const uint32_t* px = surface.pixels();
    for (size_t i = 0; i < surface.pixelCount(); ++i) {
        rgb[i * 3] = static_cast<unsigned char>((px[i] >> 16) & 0xFF);
        rgb[i * 3 + 1] = static_cast<unsigned char>((px[i] >> 8) & 0xFF);
        rgb[i * 3 + 2] = static_cast<unsigned char>(px[i] & 0xFF);
    }
    return stbi_write_png(path.c_str(), w, h, 3, rgb.data(), w * 3) != 0;
}

}  // namespace kz
