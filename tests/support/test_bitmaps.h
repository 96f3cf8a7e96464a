#pragma once

#include <stb_image_write.h>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace kz::test {

// Encodes a 24-bit BMP whose pixel (x, y) is colour(x, y), given as 0x00RRGGBB.
inline std::vector<uint8_t> makeBmp(int32_t width, int32_t height,
                                    const std::function<uint32_t(int32_t, int32_t)>& colour) {
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = static_cast<unsigned char>(c >> 16);
            p[1] = static_cast<unsigned char>(c >> 8);
            p[2] = static_cast<unsigned char>(c);
        }
    }
    std::vector<uint8_t> out;
    stbi_write_bmp_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<std::vector<uint8_t>*>(context);
            auto* begin = static_cast<uint8_t*>(data);
            bytes->insert(bytes->end(), begin, begin + size);
        },
        &out, width, height, 3, rgb.data());
    return out;
}

// A resolver over bitmaps kept in memory, keyed by resource id, at the design's scale and
// those larger ones a test adds.
struct BitmapShelf {
    std::map<int32_t, std::vector<uint8_t>> bitmaps;
    std::map<std::pair<int32_t, int32_t>, std::vector<uint8_t>> larger;  // (id, scale)

    std::function<std::vector<uint8_t>(int32_t, int32_t)> resolver() const {
        return [this](int32_t id, int32_t scale) {
            if (scale != 1) {
                auto it = larger.find({id, scale});
                return it == larger.end() ? std::vector<uint8_t>{} : it->second;
            }
            auto it = bitmaps.find(id);
            return it == bitmaps.end() ? std::vector<uint8_t>{} : it->second;
        };
    }
};

}  // namespace kz::test
