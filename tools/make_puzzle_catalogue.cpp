// Makes the catalogue of graded puzzles: for every grade, action type and square field size,
// the generator's own puzzles of that grade, found by measuring the puzzles of a fixed series
// of random-source states with the solver. The series depends on nothing but the cell, so the
// same build of the generator and the grades always writes the same catalogue.
//
// usage: make_puzzle_catalogue OUTPUT.bin [--entries N] [--tries N] [--only PART-OF-CELL-NAME]
//        make_puzzle_catalogue --table
//
// Writes the catalogue file (see PuzzleCatalogue; resources/puzzle-catalogue.bin is the one
// the programs play from; a cell --only leaves out is written empty) and prints, per cell, the
// states tried, the puzzles found and the figures of what was found to standard error. With
// --table it prints the 60 cells of the catalogue built in: whether Next searches the cell
// live, the puzzles catalogued, and their mean shapes and changes and the share needing a
// large square.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/common/extras_texts.h"
#include "puzzle/embedded_catalogue.h"
#include "puzzle/puzzle_catalogue.h"
#include "puzzle/puzzle_grade.h"

namespace {

using namespace kz;

// The figures of a cell's puzzles, summed.
struct Figures {
    int32_t shapes = 0;
    int32_t changes = 0;
    int32_t largeSquare = 0;
};

Figures measured(const CatalogueCell& cell, const std::vector<uint32_t>& states) {
    PuzzleBoard board;
    board.configureField(kLargestSide, kLargestSide);
    Figures figures;
    for (uint32_t state : states) {
        board.newPuzzleFrom({state, cell.side, cell.side, cell.kind});
        const PuzzleMeasure m = measurePuzzle(board);
        figures.shapes += m.shapes;
        figures.changes += m.changes;
        figures.largeSquare += m.everyNeedsLargeSquare ? 1 : 0;
    }
    return figures;
}

const char* kindName(ActionType kind) {
    switch (kind) {
        case AddFromNone:
            return "AddFromNone";
        case AddFromSome:
            return "AddFromSome";
        case MoveFromSome:
            return "MoveFromSome";
        case RemoveFromFull:
            return "RemoveFromFull";
        default:
            return "RemoveFromSome";
    }
}

std::string cellName(const CatalogueCell& cell) {
    return std::string(difficultyName(cell.grade)) + "/" + kindName(cell.kind) + "/" +
           std::to_string(cell.side);
}

}  // namespace

int printTable() {
    const std::optional<PuzzleCatalogue> catalogue = embeddedCatalogue();
    if (!catalogue) {
        std::fprintf(stderr, "the catalogue built in is not one\n");
        return 1;
    }
    std::printf("%-28s %7s %10s %7s %8s %6s\n", "cell", "search", "catalogue", "shapes", "changes",
                "large");
    for (const CatalogueCell& cell : catalogueCells()) {
        std::vector<uint32_t> states;
        for (int32_t i = 0; i < catalogue->count(cell.grade, cell.kind, cell.side); ++i) {
            states.push_back(catalogue->puzzle(cell.grade, cell.kind, cell.side, i).state);
        }
        const Figures figures = measured(cell, states);
        const double count = states.empty() ? 1.0 : static_cast<double>(states.size());
        std::printf("%-28s %7s %10zu %7.2f %8.2f %6.2f\n", cellName(cell).c_str(),
                    offersSize(cell.grade, cell.kind, cell.side) ? "yes" : "no", states.size(),
                    figures.shapes / count, figures.changes / count, figures.largeSquare / count);
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--table") == 0) {
        return printTable();
    }
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: %s OUTPUT.bin [--entries N] [--tries N] [--only PART-OF-CELL-NAME]\n",
                     argv[0]);
        return 2;
    }
    const char* output = argv[1];
    int32_t entries = kCatalogueEntries;
    int64_t tries = 0;  // each cell's own
    std::string only;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--entries") == 0) {
            entries = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--tries") == 0) {
            tries = std::atoll(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--only") == 0) {
            only = argv[i + 1];
        }
    }

    std::array<std::vector<uint32_t>, kCatalogueCells> cells;
    std::fprintf(stderr, "%-28s %10s %6s %7s %8s %6s %5s\n", "cell", "tried", "found", "shapes",
                 "changes", "large", "s");
    for (const CatalogueCell& cell : catalogueCells()) {
        if (!only.empty() && cellName(cell).find(only) == std::string::npos) {
            continue;
        }
        const std::clock_t start = std::clock();
        const CellSearch found =
            searchCell(cell, entries, tries > 0 ? tries : catalogueTries(cell));
        const Figures figures = measured(cell, found.states);
        const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        const double count = found.states.empty() ? 1.0 : static_cast<double>(found.states.size());
        std::fprintf(stderr, "%-28s %10lld %6zu %7.2f %8.2f %6.2f %5.0f\n", cellName(cell).c_str(),
                     static_cast<long long>(found.tried), found.states.size(),
                     figures.shapes / count, figures.changes / count, figures.largeSquare / count,
                     seconds);
        std::fflush(stderr);
        cells[catalogueCellIndex(cell.grade, cell.kind, cell.side)] = found.states;
    }

    const std::vector<uint8_t> bytes = PuzzleCatalogue::write(cells);
    FILE* out = std::fopen(output, "wb");
    if (out == nullptr) {
        std::perror(output);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
