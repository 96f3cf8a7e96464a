#include "app/web/art_atlas.h"

#include <algorithm>

#include "screen/image_table.h"

namespace kz {
namespace {

void putLittle(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    }
}

// width x height pixels of the atlas, from row top, as an uncompressed 24-bit BMP (rows
// bottom-up, each padded to four bytes): the form of the design's pictures.
std::vector<uint8_t> bmpOf(const uint8_t* rgba, int32_t atlasWidth, int32_t top, int32_t width,
                           int32_t height) {
    constexpr size_t kHeaders = 14 + 40;
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const size_t size = kHeaders + stride * static_cast<size_t>(height);
    std::vector<uint8_t> out(size, 0);
    out[0] = 'B';
    out[1] = 'M';
    putLittle(out, 2, static_cast<uint32_t>(size), 4);
    putLittle(out, 10, kHeaders, 4);
    putLittle(out, 14, 40, 4);
    putLittle(out, 18, static_cast<uint32_t>(width), 4);
    putLittle(out, 22, static_cast<uint32_t>(height), 4);
    putLittle(out, 26, 1, 2);   // planes
    putLittle(out, 28, 24, 2);  // bits per pixel
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in =
            rgba + (static_cast<size_t>(top + y) * static_cast<size_t>(atlasWidth)) * 4;
        uint8_t* row = out.data() + kHeaders + stride * static_cast<size_t>(height - 1 - y);
        for (int32_t x = 0; x < width; ++x, in += 4, row += 3) {
            row[0] = in[2];
            row[1] = in[1];
            row[2] = in[0];
        }
    }
    return out;
}

}  // namespace

std::optional<ArtAtlas> ArtAtlas::cut(int32_t scale, int32_t width, int32_t height,
                                      const uint8_t* rgba) {
    if (rgba == nullptr || scale < 2 || scale > 8) {
        return std::nullopt;
    }
    int32_t widest = 0;
    int32_t total = 0;
    for (const ImageInfo& image : kImageTable) {
        widest = std::max(widest, image.width * scale);
        total += image.height * scale;
    }
    if (width != widest || height != total) {
        return std::nullopt;
    }
    ArtAtlas atlas(scale);
    int32_t top = 0;
    for (const ImageInfo& image : kImageTable) {
        atlas.bitmaps_[image.resourceId] =
            bmpOf(rgba, width, top, image.width * scale, image.height * scale);
        top += image.height * scale;
    }
    return atlas;
}

std::vector<uint8_t> ArtAtlas::bitmap(int32_t resourceId) const {
    const auto found = bitmaps_.find(resourceId);
    return found == bitmaps_.end() ? std::vector<uint8_t>{} : found->second;
}

}  // namespace kz
