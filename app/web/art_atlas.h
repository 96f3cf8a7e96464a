#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace kz {

// One of the larger sets of the game's pictures as the page fetches it: a single image
// holding the pictures one below the other in the order of the image table, at its left
// edge, each scale times its design size. The page decodes it; this cuts it into the
// pictures the software surface opens.
class ArtAtlas {
  public:
    // rgba: width x height pixels of four bytes (red, green, blue, alpha), row by row. None
    // when the image is not the set of that scale, so that the game falls back to the
    // design's pictures rather than showing pieces of the wrong ones.
    static std::optional<ArtAtlas> cut(int32_t scale, int32_t width, int32_t height,
                                       const uint8_t* rgba);

    int32_t scale() const { return scale_; }
    // The picture of a resource id as a 24-bit BMP; empty for an id not in the table.
    std::vector<uint8_t> bitmap(int32_t resourceId) const;

  private:
    explicit ArtAtlas(int32_t scale) : scale_(scale) {}

    int32_t scale_;
    std::map<int32_t, std::vector<uint8_t>> bitmaps_;
};

}  // namespace kz
