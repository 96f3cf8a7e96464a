// The catalogue of graded puzzles: every entry measured afresh, the tool's series behind it,
// and the cells it leaves empty shown empty by counting every layout they could have.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "puzzle/embedded_catalogue.h"
#include "puzzle/hint.h"
#include "puzzle/puzzle_catalogue.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/puzzle_grade.h"
#include "test_board.h"

namespace kz {
namespace {

// The catalogue the programs play from.
PuzzleCatalogue builtIn() {
    return embeddedCatalogue().value();
}

std::string nameOf(const CatalogueCell& cell) {
    return "grade " + std::to_string(cell.grade) + " kind " + std::to_string(cell.kind) + " side " +
           std::to_string(cell.side);
}

TEST(Catalogue, EveryEntryIsADifferentPuzzleOfItsGradeMeasuredAfresh) {
    const PuzzleCatalogue catalogue = builtIn();
    TestBoard board;
    int32_t entries = 0;
    for (const CatalogueCell& cell : catalogueCells()) {
        SCOPED_TRACE(nameOf(cell));
        std::set<std::vector<uint8_t>> seen;
        for (int32_t i = 0; i < catalogue.count(cell.grade, cell.kind, cell.side); ++i) {
            const PuzzleOrigin origin = catalogue.puzzle(cell.grade, cell.kind, cell.side, i);
            EXPECT_EQ(puzzleFromCode(puzzleCode(origin)), origin);
            ASSERT_TRUE(board.newPuzzleFrom(origin));
            EXPECT_EQ(board.getActiveColumns(), cell.side);
            EXPECT_EQ(board.getActiveRows(), cell.side);
            const PuzzleMeasure m = measurePuzzle(board);
            EXPECT_EQ(gradeOf(m), cell.grade) << puzzleCode(origin);
            EXPECT_FALSE(isTrivial(m));
            EXPECT_FALSE(isTedious(m));
            std::vector<uint8_t> key = board.getStartSticks().horizontal;
            key.insert(key.end(), board.getStartSticks().vertical.begin(),
                       board.getStartSticks().vertical.end());
            key.push_back(static_cast<uint8_t>(board.getRequiredMoves()));
            key.push_back(static_cast<uint8_t>(board.getTargetSquares()));
            EXPECT_TRUE(seen.insert(key).second) << puzzleCode(origin);
            ++entries;
        }
        EXPECT_LE(catalogue.count(cell.grade, cell.kind, cell.side), kCatalogueEntries);
    }
    EXPECT_GT(entries, 25 * kCatalogueEntries);
}

TEST(Catalogue, ItIsWhatTheToolFindsInTheSeriesOfEachCell) {
    const PuzzleCatalogue catalogue = builtIn();
    // Cells quick to search, of each grade; the whole catalogue takes the tool far longer.
    for (const CatalogueCell& cell :
         {CatalogueCell{Hard, RemoveFromSome, 3}, CatalogueCell{Medium, MoveFromSome, 3},
          CatalogueCell{Easy, RemoveFromSome, 3}}) {
        SCOPED_TRACE(nameOf(cell));
        const CellSearch found = searchCell(cell, kCatalogueEntries, catalogueTries(cell));
        ASSERT_EQ(static_cast<int32_t>(found.states.size()),
                  catalogue.count(cell.grade, cell.kind, cell.side));
        for (size_t i = 0; i < found.states.size(); ++i) {
            EXPECT_EQ(
                found.states[i],
                catalogue.puzzle(cell.grade, cell.kind, cell.side, static_cast<int32_t>(i)).state);
        }
    }
}

TEST(Catalogue, PassingOverStatesByTheirFirstPickLosesNoPuzzle) {
    // The quick search of the single-pick kinds finds exactly what building every puzzle finds.
    size_t found = 0;
    for (const CatalogueCell& cell :
         {CatalogueCell{Hard, RemoveFromFull, 3}, CatalogueCell{Medium, RemoveFromFull, 2},
          CatalogueCell{Hard, AddFromNone, 2}, CatalogueCell{Easy, AddFromNone, 3}}) {
        SCOPED_TRACE(nameOf(cell));
        const CellSearch quick = searchCell(cell, kCatalogueEntries, 4000);
        const CellSearch built = searchCell(cell, kCatalogueEntries, 4000, false);
        EXPECT_EQ(quick.states, built.states);
        EXPECT_EQ(quick.tried, built.tried);
        found += quick.states.size();
    }
    EXPECT_GE(found, 3u);
}

// The sticks of every possible square of a full side x side field, a bit per active slot.
std::vector<uint64_t> squareMasks(TestBoard& board, const std::vector<StickSlot>& slots,
                                  int32_t side, int32_t smallest) {
    std::vector<uint64_t> masks;
    for (int32_t n = smallest; n <= side; ++n) {
        for (int32_t x = 0; x + n <= side; ++x) {
            for (int32_t y = 0; y + n <= side; ++y) {
                StickLayers layout = board.getStartSticks();
                std::fill(layout.horizontal.begin(), layout.horizontal.end(), 0);
                std::fill(layout.vertical.begin(), layout.vertical.end(), 0);
                board.markSquare(x, y, n, layout.horizontal.data(), layout.vertical.data());
                uint64_t mask = 0;
                for (size_t i = 0; i < slots.size(); ++i) {
                    mask |= layout.at(slots[i]) != 0 ? uint64_t{1} << i : 0;
                }
                masks.push_back(mask);
            }
        }
    }
    return masks;
}

TEST(Catalogue, NoEasyPuzzleRemovesFromAFullFieldLargerThanThreeByThree) {
    const PuzzleCatalogue catalogue = builtIn();
    // Easy asks for 2 to 4 changes and a solution with no complete square of side 2 or more.
    // Taking 2 to 4 sticks from a full field of 4 x 4 or 5 x 5 never leaves one in which every
    // stick is on a square and no such square is complete: counted here over every choice.
    TestBoard board;
    for (FieldSize side = 2; side <= kLargestSide; ++side) {
        SCOPED_TRACE(side);
        board.setFieldSize(side);
        board.setActionType(RemoveFromFull);
        board.newPuzzle();
        const std::vector<StickSlot> slots = activeSlots(board);
        ASSERT_LE(slots.size(), 64u);
        const std::vector<uint64_t> every = squareMasks(board, slots, side, 1);
        const std::vector<uint64_t> large = squareMasks(board, slots, side, 2);
        const uint64_t full = slots.size() == 64 ? ~uint64_t{0} : (uint64_t{1} << slots.size()) - 1;
        int64_t withoutLarge = 0;
        const auto count = [&](uint64_t layout) {
            for (uint64_t s : large) {
                if ((layout & s) == s) {
                    return;
                }
            }
            uint64_t covered = 0;
            for (uint64_t s : every) {
                covered |= (layout & s) == s ? s : 0;
            }
            withoutLarge += covered == layout && layout != 0 ? 1 : 0;
        };
        const size_t n = slots.size();
        for (size_t a = 0; a < n; ++a) {
            for (size_t b = a + 1; b < n; ++b) {
                const uint64_t two = full & ~(uint64_t{1} << a) & ~(uint64_t{1} << b);
                count(two);
                for (size_t c = b + 1; c < n; ++c) {
                    const uint64_t three = two & ~(uint64_t{1} << c);
                    count(three);
                    for (size_t d = c + 1; d < n; ++d) {
                        count(three & ~(uint64_t{1} << d));
                    }
                }
            }
        }
        // On 2 x 2 some are left (three unit squares of the four), and on 3 x 3 (the middle
        // sticks of two opposite sides taken), though there every such puzzle is guessed too
        // often to be Easy (the test above).
        if (side <= 3) {
            EXPECT_GT(withoutLarge, 0);
            EXPECT_EQ(hasGradedPuzzles(Easy, RemoveFromFull, side, &catalogue), side == 2);
        } else {
            EXPECT_EQ(withoutLarge, 0);
            EXPECT_FALSE(hasGradedPuzzles(Easy, RemoveFromFull, side, &catalogue));
        }
    }
}

// The layout of the field's squares whose bits are set, in the generator's order of squares.
StickLayers unionOfSquares(TestBoard& board, uint32_t chosen) {
    const int32_t squares = board.getSquareCount();
    SquareList list(static_cast<size_t>(squares), 0);
    for (int32_t i = 0; i < squares; ++i) {
        list[static_cast<size_t>(i)] = (chosen >> i) & 1u;
    }
    StickLayers layout = board.emptyLayout();
    board.squaresToSticks(list.data(), layout.horizontal.data(), layout.vertical.data());
    return layout;
}

TEST(Catalogue, NoEasyPuzzleRemovesFromAFullThreeByThreeField) {
    // A Remove From Full puzzle is only its instruction, and its solution a union of the
    // field's squares. Every instruction the 14 squares of 3 x 3 can give, set up with one of
    // its solutions: none is Easy. Those taking 2 to 4 matches are guessed too often.
    TestBoard board;
    board.setFieldSize(3);
    board.setActionType(RemoveFromFull);
    board.newPuzzle();
    const int32_t squares = board.getSquareCount();
    ASSERT_EQ(squares, 14);
    const StickLayers full = board.fullLayout();
    const int32_t fullCount = board.sticks(full);
    std::set<std::pair<int32_t, int32_t>> instructions;
    int32_t fewChanges = 0;
    for (uint32_t picked = 1; picked < (1u << squares); ++picked) {
        const StickLayers solution = unionOfSquares(board, picked);
        const int32_t removed = fullCount - board.sticks(solution);
        const int32_t formed = board.squares(solution);
        if (removed == 0 || !instructions.insert({removed, formed}).second) {
            continue;
        }
        board.setPuzzle(full, Remove, removed, formed, solution);
        EXPECT_FALSE(puzzleMeetsGrade(board, Easy))
            << "remove " << removed << " to form " << formed;
        fewChanges += removed >= 2 && removed <= 4 ? 1 : 0;
    }
    EXPECT_GT(instructions.size(), 30u);
    EXPECT_GE(fewChanges, 10);
}

TEST(Catalogue, NoMediumPuzzleAddsToSomeOnTwoByTwo) {
    const PuzzleCatalogue catalogue = builtIn();
    // Every Add From Some puzzle the generator can build on 2 x 2: a start that is a union of
    // squares with at most 2 of the 5 complete, and a solution adding at least one more
    // square to those, not the full field. None is Medium.
    TestBoard board;
    board.setFieldSize(2);
    board.setActionType(AddFromSome);
    board.newPuzzle();
    const int32_t squares = board.getSquareCount();
    const auto unionOf = [&](uint32_t chosen) { return unionOfSquares(board, chosen); };
    const StickLayers full = board.fullLayout();
    int32_t puzzles = 0;
    int32_t grades[4] = {};
    for (uint32_t picked = 1; picked < (1u << squares); ++picked) {
        const StickLayers start = unionOf(picked);
        SquareList complete(static_cast<size_t>(squares), 0);
        if (start == full || board.squares(start, complete.data()) > squares / 2) {
            continue;
        }
        uint32_t completeBits = 0;
        for (int32_t i = 0; i < squares; ++i) {
            completeBits |= complete[static_cast<size_t>(i)] != 0 ? 1u << i : 0;
        }
        for (uint32_t added = 1; added < (1u << squares); ++added) {
            if ((added & completeBits) != 0) {
                continue;
            }
            const StickLayers solution = unionOf(completeBits | added);
            if (solution == full) {
                continue;
            }
            board.setPuzzle(start, Add, board.sticks(solution) - board.sticks(start),
                            board.squares(solution), solution);
            ++grades[gradeOf(measurePuzzle(board))];
            ++puzzles;
        }
    }
    EXPECT_GT(puzzles, 20);
    EXPECT_GT(grades[Easy] + grades[Hard], 0);
    EXPECT_EQ(grades[Medium], 0);
    EXPECT_FALSE(hasGradedPuzzles(Medium, AddFromSome, 2, &catalogue));
}

// The help's table of the sizes with puzzles of each grade, row by row.
std::string gradeTableRows(const PuzzleCatalogue& catalogue) {
    const std::pair<ActionType, const char*> kinds[] = {{AddFromNone, "Add From None"},
                                                        {AddFromSome, "Add From Some"},
                                                        {MoveFromSome, "Move From Some"},
                                                        {RemoveFromFull, "Remove From Full"},
                                                        {RemoveFromSome, "Remove From Some"}};
    std::string rows;
    for (const auto& [kind, name] : kinds) {
        rows += std::string("<tr><td>") + name + "</td>";
        for (Difficulty grade : kGrades) {
            std::string sides;
            int32_t count = 0;
            for (FieldSize side = kSmallestSide; side <= kLargestSide; ++side) {
                if (hasGradedPuzzles(grade, kind, side, &catalogue)) {
                    sides += (count++ == 0 ? "" : ", ") + std::to_string(side);
                }
            }
            rows += "<td>" + (count == kCatalogueSides ? std::string("2 to 5") : sides) + "</td>";
        }
        rows += "</tr>\n";
    }
    return rows;
}

TEST(Catalogue, TheHelpListsTheSizesWithPuzzlesOfEachGrade) {
    std::ifstream in(std::string(KZ_SOURCE_ROOT) + "/resources/help-extra/grades.html",
                     std::ios::binary);
    std::stringstream page;
    page << in.rdbuf();
    const std::string rows = gradeTableRows(builtIn());
    EXPECT_NE(page.str().find(rows), std::string::npos) << rows;
}

// The cells' states of a catalogue, as the tool hands them to the file.
std::array<std::vector<uint32_t>, kCatalogueCells> statesOf(const PuzzleCatalogue& catalogue) {
    std::array<std::vector<uint32_t>, kCatalogueCells> cells;
    for (const CatalogueCell& cell : catalogueCells()) {
        for (int32_t i = 0; i < catalogue.count(cell.grade, cell.kind, cell.side); ++i) {
            cells[catalogueCellIndex(cell.grade, cell.kind, cell.side)].push_back(
                catalogue.puzzle(cell.grade, cell.kind, cell.side, i).state);
        }
    }
    return cells;
}

std::optional<PuzzleCatalogue> readBytes(const std::vector<uint8_t>& bytes) {
    // A copy of exactly that size, so that a read past its end is caught.
    const std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    return PuzzleCatalogue::read(bytes.empty() ? nullptr : exact.get(), bytes.size());
}

TEST(CatalogueFile, WrittenAndReadBackItIsTheSameAndAnyDamageIsRefused) {
    const std::array<std::vector<uint32_t>, kCatalogueCells> cells = statesOf(builtIn());
    const std::vector<uint8_t> file = PuzzleCatalogue::write(cells);
    std::ifstream in(std::string(KZ_SOURCE_ROOT) + "/resources/puzzle-catalogue.bin",
                     std::ios::binary);
    EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}), file);
    const std::optional<PuzzleCatalogue> again = readBytes(file);
    ASSERT_TRUE(again);
    EXPECT_EQ(statesOf(*again), cells);

    // Where a cell's count stands: after the start, four bytes a cell.
    const auto countAt = [](const CatalogueCell& cell) {
        return 4 + 4 * catalogueCellIndex(cell.grade, cell.kind, cell.side);
    };
    const size_t hardMove5 = countAt({Hard, MoveFromSome, 5});
    std::vector<std::vector<uint8_t>> damaged;
    damaged.emplace_back();                                         // empty
    damaged.emplace_back(file.begin(), file.begin() + 4 + 4 * 59);  // cut in the counts
    damaged.emplace_back(file.begin(), file.end() - 4);             // a state short
    damaged.emplace_back(file.begin(), file.end() - 1);             // a byte short
    damaged.push_back(file);
    damaged.back().insert(damaged.back().end(), {1, 2, 3, 4});  // a state too many
    damaged.push_back(file);
    damaged.back()[0] = 'X';  // another start
    damaged.push_back(file);
    damaged.back()[hardMove5] = 1;  // counts for fewer
    damaged.push_back(file);
    damaged.back()[hardMove5 + 3] = 0x80;  // a count beyond any cell
    // A count over the most a cell keeps, with the states it asks for.
    std::array<std::vector<uint32_t>, kCatalogueCells> tooMany = cells;
    tooMany[catalogueCellIndex(Easy, MoveFromSome, 3)].resize(kCatalogueEntries + 1, 7);
    damaged.push_back(PuzzleCatalogue::write(tooMany));
    for (size_t i = 0; i < damaged.size(); ++i) {
        EXPECT_FALSE(readBytes(damaged[i])) << "damage " << i;
    }
    EXPECT_FALSE(PuzzleCatalogue::read(nullptr, file.size()));

    // Empty cells are a catalogue: the one that holds nothing plays the searched cells alone.
    const std::optional<PuzzleCatalogue> empty =
        readBytes(PuzzleCatalogue::write(std::array<std::vector<uint32_t>, kCatalogueCells>{}));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->count(Hard, MoveFromSome, 5), 0);
}

}  // namespace
}  // namespace kz
