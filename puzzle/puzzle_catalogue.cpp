#include "puzzle/puzzle_catalogue.h"

#include <algorithm>
#include <bitset>
#include <iterator>
#include <optional>
#include <set>

#include "puzzle/hint.h"

namespace kz {
namespace {

// What the player is shown: the start and the instruction. Two states that build the same
// start and instruction are one puzzle, whichever solution they generated.
std::vector<uint8_t> puzzleKey(PuzzleBoard& board) {
    const StickLayers& start = board.getStartSticks();
    std::vector<uint8_t> key(start.horizontal);
    key.insert(key.end(), start.vertical.begin(), start.vertical.end());
    key.push_back(static_cast<uint8_t>(board.getRequiredMoves()));
    key.push_back(static_cast<uint8_t>(board.getTargetSquares()));
    return key;
}

// The generator's first pick of squares on a side x side field, as a bit per stick. Add From
// None and Remove From Full build their solution with a single pick, so when that first pick is
// neither empty nor the full field (else the generator picks again) it tells the changes the
// puzzle asks for without building it: most states of those kinds ask for too many.
class FirstPick {
  public:
    FirstPick(PuzzleBoard& board, FieldSize fieldSide) : side(fieldSide) {
        board.setFieldSize(side);
        board.setActionType(RemoveFromFull);
        board.newPuzzle();
        const std::vector<StickSlot> slots = activeSlots(board);
        full = slots.size() == 64 ? ~uint64_t{0} : (uint64_t{1} << slots.size()) - 1;
        for (int32_t n = side; n >= 1; --n) {
            for (int32_t x = 0; x + n <= side; ++x) {
                for (int32_t y = 0; y + n <= side; ++y) {
                    StickLayers layout = board.slotGrid().emptyLayout();
                    board.markSquare(x, y, n, layout.horizontal.data(), layout.vertical.data());
                    uint64_t mask = 0;
                    for (size_t i = 0; i < slots.size(); ++i) {
                        mask |= layout.at(slots[i]) != 0 ? uint64_t{1} << i : 0;
                    }
                    squares.push_back({mask, n});
                }
            }
        }
    }

    // The sticks of the first pick from a state, or -1 when the generator picks again.
    int32_t sticks(uint32_t state) const {
        RandomSource random;
        random.seed(state);
        uint64_t picked = 0;
        for (const Square& square : squares) {
            if (PuzzleBoard::picksSquare(random.next(), side, square.side)) {
                picked |= square.sticks;
            }
        }
        return picked == 0 || picked == full
                   ? -1
                   : static_cast<int32_t>(std::bitset<64>(picked).count());
    }
    int32_t fullCount() const { return static_cast<int32_t>(std::bitset<64>(full).count()); }

  private:
    struct Square {
        uint64_t sticks;
        int32_t side;
    };
    FieldSize side;
    uint64_t full = 0;
    std::vector<Square> squares;
};

// Whether a state's puzzle may be of the grade, false only when it cannot.
bool mayBeOfGrade(const FirstPick* pick, const CatalogueCell& cell, uint32_t state) {
    if (pick == nullptr) {
        return true;
    }
    const int32_t sticks = pick->sticks(state);
    if (sticks < 0) {
        return true;
    }
    const int32_t changes = cell.kind == AddFromNone ? sticks : pick->fullCount() - sticks;
    return changes >= 2 && changes <= (cell.grade == Easy ? kEasyChanges : kMostChanges);
}

}  // namespace

size_t catalogueCellIndex(Difficulty grade, ActionType kind, FieldSize side) {
    return static_cast<size_t>(((grade - Easy) * kCatalogueKinds + (kind - AddFromNone)) *
                                   kCatalogueSides +
                               (side - kSmallestSide));
}

std::array<CatalogueCell, kCatalogueCells> catalogueCells() {
    std::array<CatalogueCell, kCatalogueCells> cells{};
    for (Difficulty grade : kGrades) {
        for (int32_t k = AddFromNone; k <= RemoveFromSome; ++k) {
            const auto kind = static_cast<ActionType>(k);
            for (FieldSize side = kSmallestSide; side <= kLargestSide; ++side) {
                cells[catalogueCellIndex(grade, kind, side)] = {grade, kind, side};
            }
        }
    }
    return cells;
}

uint32_t catalogueSeriesState(const CatalogueCell& cell, uint64_t at) {
    // SplitMix64 of the cell and the position: every cell has a series of its own.
    uint64_t x =
        (static_cast<uint64_t>(catalogueCellIndex(cell.grade, cell.kind, cell.side)) << 40) + at +
        0x9E3779B97F4A7C15u;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    return static_cast<uint32_t>(x ^ (x >> 31));
}

CellSearch searchCell(const CatalogueCell& cell, int32_t entries, int64_t tries,
                      bool skipByFirstPick) {
    PuzzleBoard board;
    board.configureField(kLargestSide, kLargestSide);
    CellSearch found;
    std::set<std::vector<uint8_t>> seen;
    const bool singlePick =
        skipByFirstPick && (cell.kind == AddFromNone || cell.kind == RemoveFromFull);
    std::optional<FirstPick> firstPick;
    if (singlePick) {
        firstPick.emplace(board, cell.side);
    }
    while (found.tried < tries && static_cast<int32_t>(found.states.size()) < entries) {
        const PuzzleOrigin origin{catalogueSeriesState(cell, static_cast<uint64_t>(found.tried)),
                                  cell.side, cell.side, cell.kind};
        ++found.tried;
        if (!mayBeOfGrade(firstPick ? &*firstPick : nullptr, cell, origin.state)) {
            continue;
        }
        board.newPuzzleFrom(origin);
        if (puzzleMeetsGrade(board, cell.grade) && seen.insert(puzzleKey(board)).second) {
            found.states.push_back(origin.state);
        }
    }
    return found;
}

int64_t catalogueTries(const CatalogueCell& cell) {
    return cell.kind == AddFromNone ? kAddFromNoneTries : kCatalogueTries;
}

namespace {

constexpr uint8_t kCatalogueStart[4] = {'K', 'Z', 'P', 'C'};

uint32_t readNumber(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

void writeNumber(std::vector<uint8_t>& to, uint32_t number) {
    for (int32_t shift = 0; shift < 32; shift += 8) {
        to.push_back(static_cast<uint8_t>(number >> shift));
    }
}

}  // namespace

std::optional<PuzzleCatalogue> PuzzleCatalogue::read(const uint8_t* bytes, size_t size) {
    constexpr size_t kHead = sizeof kCatalogueStart + 4 * kCatalogueCells;
    if (bytes == nullptr || size < kHead || (size - kHead) % 4 != 0 ||
        !std::equal(std::begin(kCatalogueStart), std::end(kCatalogueStart), bytes)) {
        return std::nullopt;
    }
    PuzzleCatalogue catalogue;
    uint32_t first = 0;
    for (size_t cell = 0; cell < kCatalogueCells; ++cell) {
        const uint32_t count = readNumber(bytes + sizeof kCatalogueStart + 4 * cell);
        if (count > static_cast<uint32_t>(kCatalogueEntries)) {
            return std::nullopt;
        }
        catalogue.spans[cell] = {first, count};
        first += count;
    }
    if ((size - kHead) / 4 != first) {
        return std::nullopt;
    }
    catalogue.states.reserve(first);
    for (size_t at = kHead; at < size; at += 4) {
        catalogue.states.push_back(readNumber(bytes + at));
    }
    return catalogue;
}

std::vector<uint8_t> PuzzleCatalogue::write(
    const std::array<std::vector<uint32_t>, kCatalogueCells>& cells) {
    std::vector<uint8_t> bytes(std::begin(kCatalogueStart), std::end(kCatalogueStart));
    for (const std::vector<uint32_t>& states : cells) {
        writeNumber(bytes, static_cast<uint32_t>(states.size()));
    }
    for (const std::vector<uint32_t>& states : cells) {
        for (uint32_t state : states) {
            writeNumber(bytes, state);
        }
    }
    return bytes;
}

int32_t PuzzleCatalogue::count(Difficulty grade, ActionType kind, FieldSize side) const {
    return static_cast<int32_t>(spans[catalogueCellIndex(grade, kind, side)].count);
}

PuzzleOrigin PuzzleCatalogue::puzzle(Difficulty grade, ActionType kind, FieldSize side,
                                     int32_t index) const {
    const CatalogueSpan& span = spans[catalogueCellIndex(grade, kind, side)];
    return {states[span.first + static_cast<uint32_t>(index)], side, side, kind};
}

int32_t cataloguedCount(const PuzzleCatalogue* catalogue, Difficulty grade, ActionType kind,
                        FieldSize side) {
    return catalogue != nullptr ? catalogue->count(grade, kind, side) : 0;
}

}  // namespace kz
