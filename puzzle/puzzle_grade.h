#pragma once

#include <cstdint>

#include "puzzle/field_model.h"
#include "puzzle/puzzle_board.h"
#include "puzzle/puzzle_origin.h"
#include "puzzle/random_source.h"

namespace kz {

class PuzzleCatalogue;

// How hard a puzzle is meant to be. AsDesigned plays the generator as it is, every puzzle it
// draws; the others draw with the same generator until a puzzle of the grade comes up.
enum Difficulty : int32_t {
    AsDesigned = 0,
    Easy = 1,
    Medium = 2,
    Hard = 3,
};

constexpr Difficulty kGrades[] = {Easy, Medium, Hard};

// What the solver finds out about a puzzle.
struct PuzzleMeasure {
    // Its solutions, counted up to kSolutionsListed; exact below that.
    int64_t solutions = 0;
    // The solutions as figures, the same figure turned, mirrored or moved counted once;
    // 0 when there are too many solutions to list.
    int32_t shapes = 0;
    // Every solution has a complete square of side 2 or more: the insight the eye misses.
    bool everyNeedsLargeSquare = false;
    // The matches the instruction names.
    int32_t changes = 0;
    // The share of the change sets the clicks allow (the required number of sticks taken
    // away, put down or both) that solve the puzzle: a guess's chance.
    double randomShare = 0;

    bool listed() const { return shapes > 0; }
};

constexpr int64_t kSolutionsListed = 64;

// A guess solves it too often, or it asks for a single change.
constexpr double kTrivialShare = 0.1;
// More changes than this is work, not thought.
constexpr int32_t kMostChanges = 8;

bool isTrivial(const PuzzleMeasure& m);
bool isTedious(const PuzzleMeasure& m);

// Measures the puzzle the board holds now.
PuzzleMeasure measurePuzzle(PuzzleBoard& board);

// The one grade a measured puzzle is of, AsDesigned when none. None is trivial or tedious,
// and each has at most 3 shapes:
//   Hard:   one shape, and every solution needs a square of side 2 or more;
//   Medium: at most 2 shapes, and every solution needs such a square or it takes more than
//           4 changes;
//   Easy:   2 to 4 changes, and some solution needs no such square.
constexpr int32_t kEasyChanges = 4;
constexpr int32_t kFewShapes = 3;
constexpr int32_t kFewerShapes = 2;
Difficulty gradeOf(const PuzzleMeasure& m);

// Every puzzle is AsDesigned; the others are of their own grade only.
bool meetsGrade(Difficulty grade, const PuzzleMeasure& m);

// The grade of the puzzle the board holds, as gradeOf would give it, measured grade by grade
// with puzzleMeetsGrade: quick for the many puzzles of no grade.
Difficulty gradeOfPuzzle(PuzzleBoard& board);
// The same for the puzzle of an origin, built on a board of its own; AsDesigned for an origin
// no puzzle has.
Difficulty gradeOfOrigin(const PuzzleOrigin& origin);

// Measures the puzzle for a grade, stopping as soon as it cannot meet it: first what the
// generated solution shows, then the solver, counting only as far as the grade allows.
bool puzzleMeetsGrade(PuzzleBoard& board, Difficulty grade);

// The field size asked for when no puzzle of the grade and kind exists there, and the size
// played instead; both 0 when the size asked for was played.
struct FieldResize {
    FieldSize askedSize = 0;
    FieldSize playedSize = 0;

    bool resized() const { return askedSize != 0; }
};

// A graded puzzle picked at random for the Next button.
struct GradedPick {
    PuzzleOrigin origin;
    int32_t puzzlesMade = 0;  // by the generator, the one picked included
    FieldResize resize;
};

// Whether puzzles of the kind and grade come up often enough on a size x size field to search
// for one while the player plays; the kind is one of the five. Every size is offered
// AsDesigned. Where a grade is not offered, Next takes a puzzle of the catalogue.
bool offersSize(Difficulty grade, ActionType kind, FieldSize size);
// Whether Next has puzzles of the grade and kind (one of the five) on a size x size field at
// all: offered, or in the catalogue (null when there is none). A few have none, as no puzzle of
// that field is of the grade.
bool hasGradedPuzzles(Difficulty grade, ActionType kind, FieldSize size,
                      const PuzzleCatalogue* catalogue);
// The size with puzzles nearest to a size, the smaller of two as near.
FieldSize nearestSizeWithPuzzles(Difficulty grade, ActionType kind, FieldSize size,
                                 const PuzzleCatalogue* catalogue);

// Picks a graded puzzle with the game's random source and the settings, as Next does, on a
// board of its own, and leaves the source after the pick. A random size or the Mixed kind
// first draws the field (evenly over the sizes with puzzles of the grade) and then the kind
// (over those of the setting with puzzles there). Where the grade is offered, it makes
// puzzles with the generator until one meets the grade; elsewhere it draws one of the
// catalogue's. A fixed size and kind with no puzzle of the grade is played at the nearest size
// that has some. AsDesigned takes the generator's first puzzle, exactly as Next always did.
// Without a catalogue only the cells offered have puzzles.
GradedPick pickGradedPuzzle(RandomSource& random, Difficulty grade, FieldSize fieldSize,
                            ActionType kind, int32_t maxColumns, int32_t maxRows,
                            const PuzzleCatalogue* catalogue);

// The same pick made a puzzle at a time, from the game's random source as it stood when the
// search began, which keeps its own state until the pick is taken: a program can search
// ahead of Next while the player plays, and Next finds the puzzle picked.
class GradedPuzzleSearch {
  public:
    // The catalogue, when there is one, outlives the search.
    GradedPuzzleSearch(const RandomSource& from, Difficulty grade, FieldSize fieldSize,
                       ActionType kind, int32_t maxColumns, int32_t maxRows,
                       const PuzzleCatalogue* catalogue);

    // Makes one more puzzle; false once the grade has come up.
    bool step();
    bool found() const { return isFound; }
    // Whether its pick is the one pickGradedPuzzle would make from the game's source with these
    // settings now: the same settings, and the source still as it stood when the search began.
    bool answers(const RandomSource& game, Difficulty grade, FieldSize fieldSize, ActionType kind,
                 int32_t maxColumns, int32_t maxRows) const;
    // Finishes the search and leaves the game's source after its puzzle, as picking it now
    // would.
    GradedPick take(RandomSource& game);

  private:
    Difficulty grade;
    FieldSize askedSize;
    ActionType kind;
    int32_t maxColumns;
    int32_t maxRows;
    const PuzzleCatalogue* catalogue;
    uint32_t startState;
    PuzzleBoard scratch;
    GradedPick picked;
    // The cell a graded pick plays, and whether it searches live or takes the catalogue's.
    ActionType cellKind = Mixed;
    FieldSize cellSide = 0;
    bool fromCatalogue = false;
    bool isFound = false;
};

}  // namespace kz
