#pragma once

#include <cstddef>
#include <cstdint>

#include "puzzle/field_model.h"

namespace kz {

// Where a stick slot lies: the cell whose top edge (a horizontal stick) or left edge (a
// vertical stick) it is. The row below the last cell holds the bottom edges, the column right
// of the last cell the right edges.
struct SlotPlace {
    StickOrientation orientation = Horizontal;
    int32_t column = 0;
    int32_t row = 0;
};

// The top-left corner of a stick's sprite on the Board.
struct SpritePosition {
    int32_t x = 0;
    int32_t y = 0;
};

// The numbering of the stick slots of a field as large as the largest one: horizontal sticks
// row by row, vertical sticks column by column (StickLayers keeps them so). The one place that
// turns a slot's index into its place and back.
class SlotGrid {
  public:
    constexpr SlotGrid(int32_t maxColumns, int32_t maxRows) : columns(maxColumns), rows(maxRows) {}

    // The slots of each layer and of both.
    constexpr int32_t horizontalSlots() const { return columns * (rows + 1); }
    constexpr int32_t verticalSlots() const { return (columns + 1) * rows; }
    constexpr int32_t slotsOf(StickOrientation orientation) const {
        return orientation == Horizontal ? horizontalSlots() : verticalSlots();
    }
    constexpr int32_t slotCount() const { return horizontalSlots() + verticalSlots(); }
    // The slot's index lies in its layer.
    constexpr bool holds(StickSlot slot) const {
        return slot.index >= 0 && slot.index < slotsOf(slot.orientation);
    }
    // Both layers as one run, the horizontal one first: a slot's place in it and back.
    constexpr int32_t serialOf(StickSlot slot) const {
        return slot.orientation == Horizontal ? slot.index : horizontalSlots() + slot.index;
    }
    constexpr StickSlot slotOfSerial(int32_t serial) const {
        return serial < horizontalSlots() ? StickSlot{Horizontal, serial}
                                          : StickSlot{Vertical, serial - horizontalSlots()};
    }
    // A layout of the field with every slot empty.
    StickLayers emptyLayout() const {
        StickLayers layout;
        layout.horizontal.assign(static_cast<size_t>(horizontalSlots()), 0);
        layout.vertical.assign(static_cast<size_t>(verticalSlots()), 0);
        return layout;
    }

    constexpr int32_t horizontalIndex(int32_t column, int32_t row) const {
        return row * columns + column;
    }
    constexpr int32_t verticalIndex(int32_t column, int32_t row) const {
        return column * rows + row;
    }
    constexpr StickSlot slotAt(const SlotPlace& place) const {
        return StickSlot{place.orientation, place.orientation == Horizontal
                                                ? horizontalIndex(place.column, place.row)
                                                : verticalIndex(place.column, place.row)};
    }
    constexpr SlotPlace placeOf(StickSlot slot) const {
        return slot.orientation == Horizontal
                   ? SlotPlace{Horizontal, slot.index % columns, slot.index / columns}
                   : SlotPlace{Vertical, slot.index / rows, slot.index % rows};
    }

    // A field of activeColumns x activeRows cells in the top-left corner of the largest field
    // holds the slot.
    constexpr bool inField(StickSlot slot, int32_t activeColumns, int32_t activeRows) const {
        const SlotPlace place = placeOf(slot);
        return place.orientation == Horizontal
                   ? place.column < activeColumns && place.row <= activeRows
                   : place.row < activeRows && place.column <= activeColumns;
    }

    // Sticks of frames horizontalWidth x horizontalHeight and verticalWidth x verticalHeight:
    // a vertical stick fills the gap between two horizontal ones of a row.
    constexpr SpritePosition spritePosition(StickSlot slot, int32_t horizontalWidth,
                                            int32_t horizontalHeight, int32_t verticalWidth,
                                            int32_t verticalHeight) const {
        const SlotPlace place = placeOf(slot);
        const int32_t x = place.column * (horizontalWidth + verticalWidth);
        const int32_t y = place.row * (horizontalHeight + verticalHeight);
        return place.orientation == Horizontal ? SpritePosition{x + verticalWidth, y}
                                               : SpritePosition{x, y + horizontalHeight};
    }

  private:
    int32_t columns;
    int32_t rows;
};

}  // namespace kz
