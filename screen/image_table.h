#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kz {

// One picture of the game: a 24-bit bitmap resource cut into a grid of equal frames.
struct ImageInfo {
    int32_t resourceId;
    int32_t width;
    int32_t height;
    int32_t columns;
    int32_t rows;
    int32_t frameCount;
};

constexpr int kImageCount = 21;

// The 21 pictures in the order start-up creates (and later destroys) them.
constexpr std::array<ImageInfo, kImageCount> kImageTable = {{
    {102, 100, 100, 1, 1, 1},  // felt tile
    {105, 80, 120, 1, 8, 8},   // horizontal matchstick, eight states
    {104, 120, 80, 8, 1, 8},   // vertical matchstick, eight states
    {111, 152, 165, 1, 1, 1},  // Instructions panel
    {112, 152, 94, 1, 1, 1},   // Moves panel
    {109, 152, 94, 1, 1, 1},   // Time panel
    {115, 152, 116, 1, 1, 1},  // Controls panel
    {116, 124, 52, 2, 1, 2},   // Restart button
    {110, 124, 52, 2, 1, 2},   // Give Up button
    {114, 124, 52, 2, 1, 2},   // Quit button
    {113, 124, 52, 2, 1, 2},   // Next button
    {118, 108, 72, 1, 1, 1},   // start hint
    {129, 101, 15, 1, 1, 1},   // YOU WIN!
    {120, 27, 12, 1, 1, 1},    // Add
    {122, 35, 12, 1, 1, 1},    // Move
    {123, 54, 12, 1, 1, 1},    // Remove
    {121, 60, 12, 1, 1, 1},    // matches
    {125, 51, 12, 1, 1, 1},    // to form
    {124, 60, 12, 1, 1, 1},    // squares.
    {119, 48, 20, 6, 2, 12},   // small digits
    {117, 84, 32, 6, 2, 12},   // large digits
}};

// Resource ids in the order the GameScreen constructor takes its images: the two
// matchsticks and the felt first, then the rest of the creation order unchanged.
constexpr std::array<int32_t, kImageCount> kScreenImageOrder = {
    105, 104, 102, 111, 112, 109, 115, 116, 110, 114, 113,
    118, 129, 120, 122, 123, 121, 125, 124, 119, 117,
};

// Where the picture of a resource id stands in kImageTable; kImageCount when it is not there.
constexpr size_t imageIndexOf(int32_t resourceId) {
    size_t i = 0;
    while (i < kImageTable.size() && kImageTable[i].resourceId != resourceId) {
        ++i;
    }
    return i;
}

constexpr bool everyScreenImageIsInTheTable() {
    for (int32_t id : kScreenImageOrder) {
        if (imageIndexOf(id) == kImageTable.size()) {
            return false;
        }
    }
    return true;
}
static_assert(everyScreenImageIsInTheTable(), "the screen takes a picture the table lacks");

}  // namespace kz
