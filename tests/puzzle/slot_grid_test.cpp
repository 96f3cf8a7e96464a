#include "puzzle/slot_grid.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace kz {
namespace {

// A field wider than high, so that a stride mixed up between the layers shows.
constexpr int32_t kColumns = 5;
constexpr int32_t kRows = 3;
constexpr SlotGrid kGrid{kColumns, kRows};

TEST(SlotGrid, EverySlotHasOnePlaceAndThePlaceGivesTheSlotBack) {
    const int32_t counts[2] = {kColumns * (kRows + 1), (kColumns + 1) * kRows};
    const StickOrientation layers[2] = {Horizontal, Vertical};
    for (int layer = 0; layer < 2; ++layer) {
        std::set<std::pair<int32_t, int32_t>> places;
        for (int32_t index = 0; index < counts[layer]; ++index) {
            const StickSlot slot{layers[layer], index};
            const SlotPlace place = kGrid.placeOf(slot);
            EXPECT_EQ(place.orientation, slot.orientation);
            EXPECT_EQ(kGrid.slotAt(place), slot) << index;
            places.insert({place.column, place.row});
        }
        EXPECT_EQ(places.size(), static_cast<size_t>(counts[layer])) << "two slots share a place";
    }
    // The corners of the layers, as StickLayers keeps them.
    EXPECT_EQ(kGrid.horizontalIndex(4, 0), 4);
    EXPECT_EQ(kGrid.horizontalIndex(0, 1), kColumns);
    EXPECT_EQ(kGrid.verticalIndex(0, 2), 2);
    EXPECT_EQ(kGrid.verticalIndex(1, 0), kRows);
}

TEST(SlotGrid, ASmallerFieldHoldsItsEdgesOnly) {
    // A 2 x 2 field in the corner: three rows of two horizontal sticks, three columns of two
    // vertical ones.
    int32_t inside = 0;
    for (int32_t index = 0; index < kColumns * (kRows + 1); ++index) {
        inside += kGrid.inField({Horizontal, index}, 2, 2) ? 1 : 0;
    }
    for (int32_t index = 0; index < (kColumns + 1) * kRows; ++index) {
        inside += kGrid.inField({Vertical, index}, 2, 2) ? 1 : 0;
    }
    EXPECT_EQ(inside, SlotGrid(2, 2).slotCount());
    EXPECT_TRUE(kGrid.inField(kGrid.slotAt({Horizontal, 1, 2}), 2, 2)) << "the bottom edge";
    EXPECT_TRUE(kGrid.inField(kGrid.slotAt({Vertical, 2, 1}), 2, 2)) << "the right edge";
    EXPECT_FALSE(kGrid.inField(kGrid.slotAt({Horizontal, 2, 0}), 2, 2));
    EXPECT_FALSE(kGrid.inField(kGrid.slotAt({Vertical, 0, 2}), 2, 2));
}

TEST(SlotGrid, SpritesOfACellSurroundIt) {
    // Horizontal frames 80 x 15, vertical 15 x 80: a cell is 95 pixels square.
    const auto at = [](SlotPlace place) {
        return kGrid.spritePosition(kGrid.slotAt(place), 80, 15, 15, 80);
    };
    const SpritePosition top = at({Horizontal, 2, 1});
    const SpritePosition bottom = at({Horizontal, 2, 2});
    const SpritePosition left = at({Vertical, 2, 1});
    const SpritePosition right = at({Vertical, 3, 1});
    EXPECT_EQ(top.x, 2 * 95 + 15);
    EXPECT_EQ(top.y, 95);
    EXPECT_EQ(bottom.y - top.y, 95);
    EXPECT_EQ(left.x, 2 * 95);
    EXPECT_EQ(left.y, 95 + 15);
    EXPECT_EQ(right.x - left.x, 95);
    EXPECT_EQ(left.x + 15, top.x) << "the top stick starts where the left one ends";
}

}  // namespace
}  // namespace kz
