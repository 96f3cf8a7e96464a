#include "puzzle/puzzle_grade.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>
#include <vector>

#include "puzzle/figure_turns.h"
#include "puzzle/hint.h"
#include "puzzle/move_rules.h"
#include "puzzle/puzzle_catalogue.h"
#include "puzzle/solution_search.h"

namespace kz {

namespace {

// The same figure wherever it stands and however it is turned or mirrored gives the same
// list: the smallest of its eight turns and mirrors, each moved to the corner.
std::vector<Joint> figureOf(const PuzzleBoard& board, const StickLayers& layout) {
    std::vector<Joint> joints;
    for (StickSlot slot : activeSlots(board)) {
        if (layout.at(slot) != 0) {
            joints.push_back(jointOf(board.slotGrid().placeOf(slot)));
        }
    }
    std::vector<Joint> smallest;
    for (int32_t turn = 0; turn < kFigureTurns; ++turn) {
        std::vector<Joint> turned =
            turnedFigure(joints, turn, board.getActiveColumns(), board.getActiveRows());
        // A turn may leave the field; the corner is where the figure starts.
        int32_t left = turned.empty() ? 0 : turned.front().x0;
        int32_t top = turned.empty() ? 0 : turned.front().y0;
        for (const Joint& j : turned) {
            left = std::min(left, j.x0);
            top = std::min(top, j.y0);
        }
        for (Joint& j : turned) {
            j = {j.x0 - left, j.y0 - top, j.x1 - left, j.y1 - top};
        }
        std::sort(turned.begin(), turned.end());
        if (turn == 0 || turned < smallest) {
            smallest = turned;
        }
    }
    return smallest;
}

bool hasLargeSquare(PuzzleBoard& board, const StickLayers& layout) {
    const int32_t columns = board.getActiveColumns();
    const int32_t rows = board.getActiveRows();
    for (int32_t n = 2; n <= std::min(columns, rows); ++n) {
        for (int32_t x = 0; x + n <= columns; ++x) {
            for (int32_t y = 0; y + n <= rows; ++y) {
                if (board.isSquareComplete(x, y, n, layout.horizontal.data(),
                                           layout.vertical.data())) {
                    return true;
                }
            }
        }
    }
    return false;
}

double ways(int32_t n, int32_t k) {
    double c = 1;
    for (int32_t i = 0; i < k; ++i) {
        c = c * (n - i) / (i + 1);
    }
    return c;
}

// The change sets the clicks allow: the required number of start sticks taken away, of
// empty slots filled, or both when moving.
double changeSets(PuzzleBoard& board) {
    int32_t present = 0;
    int32_t empty = 0;
    for (StickSlot slot : activeSlots(board)) {
        (board.getStartSticks().at(slot) != 0 ? present : empty) += 1;
    }
    const int32_t moves = board.getRequiredMoves();
    const BoardMode mode = board.getMode();
    return (takesAway(mode) ? ways(present, moves) : 1) * (putsDown(mode) ? ways(empty, moves) : 1);
}

// The measure, listing at most limit solutions; the shapes are known below the limit.
PuzzleMeasure measureUpTo(PuzzleBoard& board, int64_t limit) {
    PuzzleMeasure m;
    m.changes = board.getRequiredMoves();
    SolutionSearch search(board);
    const std::vector<StickLayers> solutions =
        search.solutionsKeeping(board.getStartSticks(), limit);
    m.solutions = static_cast<int64_t>(solutions.size());
    m.randomShare = static_cast<double>(m.solutions) / changeSets(board);
    if (m.solutions >= limit) {
        return m;
    }
    std::set<std::vector<Joint>> figures;
    m.everyNeedsLargeSquare = true;
    for (const StickLayers& s : solutions) {
        figures.insert(figureOf(board, s));
        m.everyNeedsLargeSquare = m.everyNeedsLargeSquare && hasLargeSquare(board, s);
    }
    m.shapes = static_cast<int32_t>(figures.size());
    return m;
}

}  // namespace

bool isTrivial(const PuzzleMeasure& m) {
    return m.changes < 2 || m.randomShare > kTrivialShare;
}

bool isTedious(const PuzzleMeasure& m) {
    return m.changes > kMostChanges;
}

PuzzleMeasure measurePuzzle(PuzzleBoard& board) {
    return measureUpTo(board, kSolutionsListed);
}

Difficulty gradeOf(const PuzzleMeasure& m) {
    if (!m.listed() || isTrivial(m) || isTedious(m) || m.shapes > kFewShapes) {
        return AsDesigned;
    }
    if (m.everyNeedsLargeSquare) {
        return m.shapes == 1 ? Hard : m.shapes <= kFewerShapes ? Medium : AsDesigned;
    }
    if (m.changes > kEasyChanges) {
        return m.shapes <= kFewerShapes ? Medium : AsDesigned;
    }
    return Easy;
}

bool meetsGrade(Difficulty grade, const PuzzleMeasure& m) {
    return grade == AsDesigned || gradeOf(m) == grade;
}

bool puzzleMeetsGrade(PuzzleBoard& board, Difficulty grade) {
    if (grade == AsDesigned) {
        return true;
    }
    // What the instruction and the generated solution, itself a solution, already tell.
    const int32_t changes = board.getRequiredMoves();
    if (changes < 2 || changes > (grade == Easy ? kEasyChanges : kMostChanges) ||
        (grade == Hard && !hasLargeSquare(board, board.getSolutionSticks()))) {
        return false;
    }
    // Beyond this many solutions a guess solves it too often.
    const auto mostSolutions = static_cast<int64_t>(changeSets(board) * kTrivialShare);
    if (mostSolutions < 1) {
        return false;
    }
    const PuzzleMeasure m = measureUpTo(board, std::min(mostSolutions, kSolutionsListed - 1) + 1);
    return m.solutions <= mostSolutions && meetsGrade(grade, m);
}

Difficulty gradeOfPuzzle(PuzzleBoard& board) {
    for (Difficulty grade : {Hard, Medium, Easy}) {
        if (puzzleMeetsGrade(board, grade)) {
            return grade;
        }
    }
    return AsDesigned;
}

Difficulty gradeOfOrigin(const PuzzleOrigin& origin) {
    PuzzleBoard board;
    board.configureField(kLargestSide, kLargestSide);
    return board.newPuzzleFrom(origin) ? gradeOfPuzzle(board) : AsDesigned;
}

namespace {

// The kind a setting or an origin builds: anything outside the five builds RemoveFromFull.
size_t kindIndex(ActionType kind) {
    const bool named = kind >= AddFromNone && kind <= RemoveFromSome;
    return static_cast<size_t>((named ? kind : RemoveFromFull) - AddFromNone);
}

// One bit per square field size 2 to 5 (bit n for n x n).
constexpr uint32_t sizes(std::initializer_list<int32_t> sides) {
    uint32_t bits = 0;
    for (int32_t n : sides) {
        bits |= 1u << n;
    }
    return bits;
}

// Measured over a thousand puzzles of each kind and size: the sizes where at least one puzzle
// in about seventy is of the grade, searched while the player plays. Larger fields ask for more
// changes and allow more answers, and a 2 x 2 field has few figures to choose from. Hard Move
// From Some on 4 x 4 comes up that often but takes the solver too long to find at once (over
// 100 ms in one Next of a hundred), so it comes from the catalogue like the rarer ones.
constexpr uint32_t kOffered[3][5] = {
    // AddFromNone, AddFromSome, MoveFromSome, RemoveFromFull, RemoveFromSome
    {sizes({2, 3}), sizes({2, 3}), sizes({2, 3}), sizes({2}), sizes({2, 3})},
    {sizes({2}), sizes({3, 4, 5}), sizes({2, 3}), sizes({2, 3}), sizes({2, 3, 4, 5})},
    {sizes({2, 3}), sizes({2, 3, 4, 5}), sizes({2, 3}), sizes({2, 3}), sizes({2, 3, 4, 5})},
};

uint32_t offeredSizes(Difficulty grade, ActionType kind) {
    if (grade == AsDesigned) {
        return sizes({2, 3, 4, 5});
    }
    return kOffered[static_cast<size_t>(grade - Easy)][kindIndex(kind)];
}

constexpr ActionType kKinds[] = {AddFromNone, AddFromSome, MoveFromSome, RemoveFromFull,
                                 RemoveFromSome};

// One of count choices, evenly, by the formula of the generator's size draw.
int32_t drawOne(RandomSource& random, int32_t count) {
    return random.next() * count / 32768;
}

// The kinds a setting plays with puzzles of the grade on a side x side field.
std::vector<ActionType> kindsWithPuzzles(Difficulty grade, ActionType setting, FieldSize side,
                                         const PuzzleCatalogue* catalogue) {
    std::vector<ActionType> kinds;
    for (ActionType kind : kKinds) {
        if ((setting == Mixed || kindIndex(setting) == kindIndex(kind)) &&
            hasGradedPuzzles(grade, kind, side, catalogue)) {
            kinds.push_back(kind);
        }
    }
    return kinds;
}

}  // namespace

bool offersSize(Difficulty grade, ActionType kind, FieldSize size) {
    return size >= kSmallestSide && size <= kLargestSide &&
           ((offeredSizes(grade, kind) >> size) & 1u) != 0;
}

bool hasGradedPuzzles(Difficulty grade, ActionType kind, FieldSize size,
                      const PuzzleCatalogue* catalogue) {
    return offersSize(grade, kind, size) ||
           (size >= kSmallestSide && size <= kLargestSide && grade != AsDesigned &&
            cataloguedCount(catalogue, grade, kKinds[kindIndex(kind)], size) > 0);
}

FieldSize nearestSizeWithPuzzles(Difficulty grade, ActionType kind, FieldSize size,
                                 const PuzzleCatalogue* catalogue) {
    // The smaller of two as near: it is quicker to play.
    for (int32_t distance = 0; distance <= kLargestSide - kSmallestSide; ++distance) {
        for (FieldSize n : {size - distance, size + distance}) {
            if (hasGradedPuzzles(grade, kind, n, catalogue)) {
                return n;
            }
        }
    }
    return size;
}

GradedPick pickGradedPuzzle(RandomSource& random, Difficulty grade, FieldSize fieldSize,
                            ActionType kind, int32_t maxColumns, int32_t maxRows,
                            const PuzzleCatalogue* catalogue) {
    return GradedPuzzleSearch(random, grade, fieldSize, kind, maxColumns, maxRows, catalogue)
        .take(random);
}

GradedPuzzleSearch::GradedPuzzleSearch(const RandomSource& from, Difficulty searchedGrade,
                                       FieldSize fieldSize, ActionType searchedKind,
                                       int32_t columns, int32_t rows,
                                       const PuzzleCatalogue* searchedCatalogue)
    : grade(searchedGrade),
      askedSize(fieldSize),
      kind(searchedKind),
      maxColumns(columns),
      maxRows(rows),
      catalogue(searchedCatalogue),
      startState(from.currentState()) {
    scratch.configureField(maxColumns, maxRows);
    scratch.randomSource().seed(startState);
    if (grade == AsDesigned) {
        scratch.setActionType(kind);
        scratch.setFieldSize(fieldSize);
        return;
    }
    // The cell first, from the scratch board's source: the draws belong to this pick.
    RandomSource& random = scratch.randomSource();
    const bool fixedSize = fieldSize >= kSmallestSide && fieldSize <= kLargestSide;
    FieldSize side = fieldSize;
    if (!fixedSize) {
        std::vector<FieldSize> sides;
        for (FieldSize n = kSmallestSide; n <= kLargestSide; ++n) {
            if (!kindsWithPuzzles(grade, kind, n, catalogue).empty()) {
                sides.push_back(n);
            }
        }
        side = sides[static_cast<size_t>(drawOne(random, static_cast<int32_t>(sides.size())))];
    } else if (kindsWithPuzzles(grade, kind, side, catalogue).empty()) {
        picked.resize.askedSize = fieldSize;
        picked.resize.playedSize = nearestSizeWithPuzzles(grade, kind, fieldSize, catalogue);
        side = picked.resize.playedSize;
    }
    const std::vector<ActionType> kinds = kindsWithPuzzles(grade, kind, side, catalogue);
    cellKind =
        kinds.size() == 1
            ? kinds.front()
            : kinds[static_cast<size_t>(drawOne(random, static_cast<int32_t>(kinds.size())))];
    cellSide = side;
    fromCatalogue = !offersSize(grade, cellKind, side);
    scratch.setActionType(cellKind);
    scratch.setFieldSize(side);
}

bool GradedPuzzleSearch::step() {
    if (isFound) {
        return false;
    }
    ++picked.puzzlesMade;
    if (fromCatalogue) {
        // Only a cell with catalogued puzzles is taken from the catalogue.
        const int32_t count = catalogue->count(grade, cellKind, cellSide);
        picked.origin =
            catalogue->puzzle(grade, cellKind, cellSide, drawOne(scratch.randomSource(), count));
        isFound = true;
        return false;
    }
    // The scratch board draws from its own source; the game's stays as it is.
    scratch.newPuzzle();
    picked.origin = scratch.getOrigin();
    isFound = grade == AsDesigned || puzzleMeetsGrade(scratch, grade);
    return !isFound;
}

bool GradedPuzzleSearch::answers(const RandomSource& game, Difficulty askedGrade,
                                 FieldSize fieldSize, ActionType askedKind, int32_t columns,
                                 int32_t rows) const {
    return askedGrade == grade && fieldSize == askedSize && askedKind == kind &&
           columns == maxColumns && rows == maxRows && game.currentState() == startState;
}

GradedPick GradedPuzzleSearch::take(RandomSource& game) {
    // Like the generator's own loops, this one runs until its puzzle comes up; the sizes
    // offered keep that to a few dozen draws, and the catalogue answers at once elsewhere.
    while (step()) {
    }
    game.seed(scratch.randomSource().currentState());
    return picked;
}

}  // namespace kz
