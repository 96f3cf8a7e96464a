#pragma once

#include <cstdint>

namespace kz {

// Where one cell's puzzles stand in the list of states.
struct CatalogueSpan {
    uint32_t first;
    uint32_t count;
};

// The states of every cell's puzzles, cell after cell, in the order of catalogueCells().
extern const uint32_t kCatalogueStates[];
extern const CatalogueSpan kCatalogueSpans[];

}  // namespace kz
