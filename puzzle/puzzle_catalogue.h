#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "puzzle/field_model.h"
#include "puzzle/puzzle_grade.h"
#include "puzzle/puzzle_origin.h"

namespace kz {

// Graded puzzles found far ahead of play, for the grades, action types and field sizes where
// the generator seldom makes one: each is a state of the random source from which the
// unchanged generator builds a puzzle of the grade on an N x N field, so it has an ordinary
// code. tools/make_puzzle_catalogue.cpp makes the list by measuring the puzzles of a fixed
// series of states per cell, keeping each puzzle once.
struct CatalogueCell {
    Difficulty grade = Easy;
    ActionType kind = AddFromNone;
    FieldSize side = kSmallestSide;
};

constexpr int32_t kCatalogueKinds = RemoveFromSome - AddFromNone + 1;
constexpr int32_t kCatalogueSides = kLargestSide - kSmallestSide + 1;
constexpr int32_t kCatalogueCells = 3 * kCatalogueKinds * kCatalogueSides;

// What the tool keeps of a cell, and how many states of the series it tries at most; more for
// Add From None, whose first pick passes over nearly every state at once.
constexpr int32_t kCatalogueEntries = 64;
constexpr int64_t kCatalogueTries = 300000;
constexpr int64_t kAddFromNoneTries = 1000000;

// Every cell: grade by grade, then kind, then side; a cell's place in that order.
std::array<CatalogueCell, kCatalogueCells> catalogueCells();
size_t catalogueCellIndex(Difficulty grade, ActionType kind, FieldSize side);

// The at-th state of a cell's series.
uint32_t catalogueSeriesState(const CatalogueCell& cell, uint64_t at);

// The first entries different puzzles of a cell's grade among the first tries states of its
// series, and how many states that took: what the tool writes for the cell. Add From None and
// Remove From Full pass over most states by the changes their first pick asks for, without
// building the puzzle; skipByFirstPick false builds every one, as a check.
struct CellSearch {
    std::vector<uint32_t> states;
    int64_t tried = 0;
};
CellSearch searchCell(const CatalogueCell& cell, int32_t entries, int64_t tries,
                      bool skipByFirstPick = true);
// The states a cell's search tries: more where a state is passed over quickly.
int64_t catalogueTries(const CatalogueCell& cell);

// Where one cell's puzzles stand in the list of states.
struct CatalogueSpan {
    uint32_t first = 0;
    uint32_t count = 0;
};

// The catalogue as the game plays from it: every cell's states, read from the file the tool
// writes (resources/puzzle-catalogue.bin). The file is "KZPC", then each cell's count of
// puzzles in the order of catalogueCells(), then the states of every cell, cell after cell,
// all as 32-bit little-endian numbers.
class PuzzleCatalogue {
  public:
    // The catalogue of a file's bytes; none when they are not one: another start, a count
    // over kCatalogueEntries, or more or fewer states than the counts say.
    static std::optional<PuzzleCatalogue> read(const uint8_t* bytes, size_t size);
    // The file's bytes for every cell's states, in the order of catalogueCells().
    static std::vector<uint8_t> write(
        const std::array<std::vector<uint32_t>, kCatalogueCells>& cells);

    // The puzzles it holds for a cell; the kind must be one of the five.
    int32_t count(Difficulty grade, ActionType kind, FieldSize side) const;
    // The index-th of them, index below count.
    PuzzleOrigin puzzle(Difficulty grade, ActionType kind, FieldSize side, int32_t index) const;

  private:
    PuzzleCatalogue() = default;

    std::vector<uint32_t> states;
    std::array<CatalogueSpan, kCatalogueCells> spans{};
};

// The same for a catalogue that may be missing: none holds no puzzles.
int32_t cataloguedCount(const PuzzleCatalogue* catalogue, Difficulty grade, ActionType kind,
                        FieldSize side);

}  // namespace kz
