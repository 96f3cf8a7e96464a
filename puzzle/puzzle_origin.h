#pragma once

#include <cstdint>

#include "puzzle/field_model.h"

namespace kz {

// Everything a puzzle follows from: the field and kind it was built with and the random
// source's state right before the draws of its layouts. The field and kind are the resolved
// ones, after a random size or a mixed kind was drawn, so the same origin builds the same
// puzzle whatever the settings were.
struct PuzzleOrigin {
    uint32_t state = 0;
    int32_t columns = 0;
    int32_t rows = 0;
    ActionType kind = AddFromNone;  // never Mixed: a mixed draw of 0 builds RemoveFromFull

    bool operator==(const PuzzleOrigin& o) const {
        return state == o.state && columns == o.columns && rows == o.rows && kind == o.kind;
    }
    bool operator!=(const PuzzleOrigin& o) const { return !(*this == o); }
};

constexpr int32_t kSmallestSide = 2;
constexpr int32_t kLargestSide = 5;

// An origin the generator can build on a field of up to 5 x 5.
constexpr bool isPlayableOrigin(const PuzzleOrigin& origin) {
    return origin.columns >= kSmallestSide && origin.columns <= kLargestSide &&
           origin.rows >= kSmallestSide && origin.rows <= kLargestSide &&
           origin.kind >= AddFromNone && origin.kind <= RemoveFromSome;
}

}  // namespace kz
