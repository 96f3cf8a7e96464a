// The solver the grades rest on, held to every layout of the smaller fields; the measure of a
// puzzle on puzzles worked out by hand; and graded draws, each checked afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "every_solution.h"
#include "puzzle/embedded_catalogue.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/puzzle_grade.h"
#include "puzzle/random_source.h"
#include "puzzle/solution_search.h"
#include "test_board.h"

namespace kz {
namespace {

constexpr ActionType kKinds[] = {AddFromNone, AddFromSome, MoveFromSome, RemoveFromFull,
                                 RemoveFromSome};

using LayoutSet = std::set<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>>;

LayoutSet asSet(const std::vector<StickLayers>& layouts) {
    LayoutSet set;
    for (const StickLayers& l : layouts) {
        set.emplace(l.horizontal, l.vertical);
    }
    return set;
}

// Puzzles of every kind built on a columns x rows field from a few fixed states.
template <typename Check>
void forPuzzlesOn(int32_t columns, int32_t rows, uint32_t states, Check check) {
    TestBoard board;
    for (ActionType kind : kKinds) {
        for (uint32_t state = 1; state <= states; ++state) {
            ASSERT_TRUE(board.newPuzzleFrom({state * 7919u, columns, rows, kind}));
            SCOPED_TRACE(testing::Message() << columns << " x " << rows << " kind " << kind
                                            << " state " << state * 7919u);
            check(board);
        }
    }
}

TEST(SolutionSearch, ListsExactlyTheSolutionsFoundByTryingEveryLayoutOnFieldsUpTo27Slots) {
    int32_t fields = 0;
    for (int32_t columns = 2; columns <= 5; ++columns) {
        for (int32_t rows = 2; rows <= 5; ++rows) {
            if (SlotGrid(columns, rows).slotCount() > 27) {
                continue;
            }
            ++fields;
            TestBoard field;
            field.setActiveField(columns, rows);
            const std::vector<StickLayers> candidates = everyUnionOfSquares(field);
            int64_t most = 0;
            forPuzzlesOn(columns, rows, 6, [&](TestBoard& board) {
                const std::vector<StickLayers> every = solutionsAmong(board, candidates);
                EXPECT_EQ(asSet(every).count({board.getSolutionSticks().horizontal,
                                              board.getSolutionSticks().vertical}),
                          1u)
                    << "the generated solution is one";
                SolutionSearch search(board);
                const auto listed = search.solutionsKeeping(board.getStartSticks(), 1 << 20);
                EXPECT_EQ(listed.size(), asSet(listed).size()) << "each solution once";
                EXPECT_EQ(asSet(listed), asSet(every));
                EXPECT_EQ(search.countSolutionsKeeping(board.getStartSticks(), 1 << 20),
                          static_cast<int64_t>(every.size()));
                // A limit below the count lists that many, all of them solutions.
                if (every.size() > 2) {
                    const auto some = search.solutionsKeeping(board.getStartSticks(), 2);
                    ASSERT_EQ(some.size(), 2u);
                    for (const StickLayers& s : some) {
                        EXPECT_TRUE(solvedByTheRules(board, s));
                    }
                }
                most = std::max(most, static_cast<int64_t>(every.size()));
            });
            EXPECT_GT(most, 2) << columns << " x " << rows << ": some puzzle has many answers";
        }
    }
    EXPECT_EQ(fields, 8);  // 2 x 2 up to 2 x 5 and 3 x 3, each way round
}

TEST(SolutionSearch, TheUnionsOfSquaresHoldEverySolutionOfEveryLayout) {
    // The shortcut the test above takes, checked where every layout can still be tried.
    forPuzzlesOn(2, 2, 8, [](TestBoard& board) {
        EXPECT_EQ(asSet(solutionsAmong(board, everyUnionOfSquares(board))),
                  asSet(everySolution(board)));
    });
}

TEST(SolutionSearch, AFaultPlantedInTheSolvedTestIsCaught) {
    // A solved test that forgets the stick on no square: the oracle built with it no longer
    // agrees with the search, so the comparison above would catch such a fault.
    const SolvedTest strayStickPasses = [](TestBoard& board, const StickLayers& layout) {
        return reachableByTheClicks(board, layout) &&
               board.movesFromStart(layout) == board.getRequiredMoves() &&
               board.squares(layout) == board.getTargetSquares();
    };
    int32_t caught = 0;
    forPuzzlesOn(2, 2, 8, [&](TestBoard& board) {
        const std::vector<StickLayers> layouts = everyLayout(board);
        SolutionSearch search(board);
        const auto listed = asSet(search.solutionsKeeping(board.getStartSticks(), 1 << 20));
        EXPECT_EQ(listed, asSet(solutionsAmong(board, layouts)));
        caught += listed != asSet(solutionsAmong(board, layouts, strayStickPasses)) ? 1 : 0;
    });
    EXPECT_GT(caught, 5);
}

// A 2 x 2 field puzzle set by hand: the start, the rules and what the instruction asks.
struct HandPuzzle {
    BoardMode mode;
    bool fullStart;
    int32_t moves;
    int32_t squares;
};

PuzzleMeasure measureByHand(const HandPuzzle& p) {
    TestBoard board;
    board.setActiveField(2, 2);
    const StickLayers start = p.fullStart ? board.fullLayout() : board.emptyLayout();
    // Any solution will do as the generated one; the measure must not depend on it.
    StickLayers solution = board.emptyLayout();
    board.markSquare(0, 0, 2, solution.horizontal.data(), solution.vertical.data());
    board.setPuzzle(start, p.mode, p.moves, p.squares, solution);
    return measurePuzzle(board);
}

TEST(PuzzleMeasure, CountsSolutionsShapesInsightAndTheChanceOfAGuess) {
    // Add 8 matches to form 1 square: only the large square, one way among C(12, 8) = 495.
    const PuzzleMeasure large = measureByHand({Add, false, 8, 1});
    EXPECT_EQ(large.solutions, 1);
    EXPECT_EQ(large.shapes, 1);
    EXPECT_TRUE(large.everyNeedsLargeSquare);
    EXPECT_EQ(large.changes, 8);
    EXPECT_DOUBLE_EQ(large.randomShare, 1.0 / 495);
    EXPECT_EQ(gradeOf(large), Hard);

    // Add 4 to form 1 square: any of the four cells, one figure moved about.
    const PuzzleMeasure cell = measureByHand({Add, false, 4, 1});
    EXPECT_EQ(cell.solutions, 4);
    EXPECT_EQ(cell.shapes, 1);
    EXPECT_FALSE(cell.everyNeedsLargeSquare);
    EXPECT_DOUBLE_EQ(cell.randomShare, 4.0 / 495);
    EXPECT_EQ(gradeOf(cell), Easy);

    // Remove 2 from the full field to form 3 squares: the L of three cells, turned four ways.
    const PuzzleMeasure ell = measureByHand({Remove, true, 2, 3});
    EXPECT_EQ(ell.solutions, 4);
    EXPECT_EQ(ell.shapes, 1);
    EXPECT_FALSE(ell.everyNeedsLargeSquare);
    EXPECT_DOUBLE_EQ(ell.randomShare, 4.0 / 66);

    // Remove 1 to form 3 squares: any inner stick; a single change is trivial anyway.
    const PuzzleMeasure one = measureByHand({Remove, true, 1, 3});
    EXPECT_EQ(one.solutions, 4);
    EXPECT_TRUE(isTrivial(one));
    EXPECT_EQ(gradeOf(one), AsDesigned);
}

TEST(PuzzleMeasure, TellsFiguresApartUpToTurnsMirrorsAndShifts) {
    // Add 7 to form 2 squares on 3 x 3: two cells side by side, a domino in any place and
    // either way round, is the only figure (two cells apart need 8 sticks).
    TestBoard board;
    board.setActiveField(3, 3);
    StickLayers solution = board.emptyLayout();
    board.markSquare(0, 0, 1, solution.horizontal.data(), solution.vertical.data());
    board.markSquare(1, 0, 1, solution.horizontal.data(), solution.vertical.data());
    board.setPuzzle(board.emptyLayout(), Add, 7, 2, solution);
    const PuzzleMeasure domino = measurePuzzle(board);
    EXPECT_EQ(domino.solutions, 12);  // 6 across and 6 down
    EXPECT_EQ(domino.shapes, 1);
    // Add 8 to form 2 squares: two cells apart, of the 36 pairs the 24 that share no side,
    // touching at a corner, in line with a cell between, a knight's move apart or at
    // opposite corners: four figures.
    board.setPuzzle(board.emptyLayout(), Add, 8, 2, solution);
    const PuzzleMeasure apart = measurePuzzle(board);
    EXPECT_EQ(apart.solutions, 24);
    EXPECT_EQ(apart.shapes, 4);
}

TEST(Grades, AGradedNextMeetsItsGradeCheckedAfreshOnEverySizeAndKind) {
    const PuzzleCatalogue catalogue = embeddedCatalogue().value();
    TestBoard board;
    RandomSource random;
    for (Difficulty grade : kGrades) {
        for (FieldSize size : {2, 3, 4, 5, 0}) {
            for (ActionType kind :
                 {Mixed, AddFromNone, AddFromSome, MoveFromSome, RemoveFromFull, RemoveFromSome}) {
                SCOPED_TRACE(testing::Message()
                             << "grade " << grade << " size " << size << " kind " << kind);
                random.seed(static_cast<uint32_t>(grade * 1000 + size * 10 + kind));
                const GradedPick pick =
                    pickGradedPuzzle(random, grade, size, kind, 5, 5, &catalogue);
                const PuzzleOrigin& o = pick.origin;
                EXPECT_GE(pick.puzzlesMade, 1);
                if (kind != Mixed) {
                    EXPECT_EQ(o.kind, kind);
                }
                EXPECT_EQ(o.columns, o.rows);
                EXPECT_TRUE(hasGradedPuzzles(grade, o.kind, o.columns, &catalogue));
                if (size != 0) {
                    // The size asked for, unless no puzzle of the grade and kind has it.
                    const bool any =
                        kind == Mixed || hasGradedPuzzles(grade, kind, size, &catalogue);
                    const FieldSize played =
                        any ? size : nearestSizeWithPuzzles(grade, kind, size, &catalogue);
                    EXPECT_EQ(o.columns, played);
                    EXPECT_EQ(pick.resize.playedSize, played == size ? 0 : played);
                }
                // The code plays it, and a board built from it measures the grade again.
                EXPECT_EQ(puzzleFromCode(puzzleCode(o)), o);
                ASSERT_TRUE(board.newPuzzleFrom(o));
                const PuzzleMeasure m = measurePuzzle(board);
                EXPECT_EQ(gradeOf(m), grade);
                EXPECT_FALSE(isTrivial(m));
                EXPECT_FALSE(isTedious(m));
            }
        }
    }
}

TEST(Grades, TheQuickTestAgreesWithTheFullMeasure) {
    // The graded draw rejects puzzles before measuring them in full; it must never reject
    // one of the grade, nor accept one that is not.
    TestBoard board;
    int32_t inGrade[4] = {};
    for (FieldSize size : {2, 3, 4}) {
        for (ActionType kind : kKinds) {
            board.setFieldSize(size);
            board.setActionType(kind);
            board.randomSource().seed(static_cast<uint32_t>(size * 31 + kind));
            for (int32_t i = 0; i < 40; ++i) {
                board.newPuzzle();
                const Difficulty grade = gradeOf(measurePuzzle(board));
                ++inGrade[grade];
                for (Difficulty g : kGrades) {
                    ASSERT_EQ(puzzleMeetsGrade(board, g), g == grade)
                        << "grade " << g << " code " << puzzleCode(board.getOrigin());
                }
            }
        }
    }
    for (Difficulty g : {AsDesigned, Easy, Medium, Hard}) {
        EXPECT_GT(inGrade[g], 10) << "grade " << g;
    }
}

TEST(Grades, AsDesignedDrawsExactlyThePuzzlesOfNext) {
    TestBoard board;
    for (FieldSize size : {0, 3, 5}) {
        for (ActionType kind : {Mixed, MoveFromSome, RemoveFromSome}) {
            board.setFieldSize(size);
            board.setActionType(kind);
            board.randomSource().seed(4242);
            std::vector<PuzzleOrigin> next;
            for (int32_t i = 0; i < 20; ++i) {
                board.newPuzzle();
                next.push_back(board.getOrigin());
            }
            const uint32_t after = board.randomSource().currentState();
            RandomSource random;
            random.seed(4242);
            for (const PuzzleOrigin& expected : next) {
                const GradedPick pick =
                    pickGradedPuzzle(random, AsDesigned, size, kind, 5, 5, nullptr);
                EXPECT_EQ(pick.origin, expected);
                EXPECT_EQ(pick.puzzlesMade, 1);
                EXPECT_EQ(pick.resize.playedSize, 0);
            }
            EXPECT_EQ(random.currentState(), after);
        }
    }
}

TEST(Grades, ASearchAheadDrawsWhatNextWouldAndLeavesTheGameRandomSourceAlone) {
    const PuzzleCatalogue catalogue = embeddedCatalogue().value();
    for (Difficulty grade : {Easy, Medium, Hard}) {
        for (FieldSize size : {0, 3, 5}) {
            for (ActionType kind : {Mixed, MoveFromSome, RemoveFromSome}) {
                SCOPED_TRACE(testing::Message()
                             << "grade " << grade << " size " << size << " kind " << kind);
                const uint32_t start = static_cast<uint32_t>(grade * 977 + size * 31 + kind);
                RandomSource random;
                random.seed(start);
                const GradedPick atOnce =
                    pickGradedPuzzle(random, grade, size, kind, 5, 5, &catalogue);
                const uint32_t after = random.currentState();

                // Stepped part of the way, then taken: the same puzzle and the same state.
                random.seed(start);
                GradedPuzzleSearch partly(random, grade, size, kind, 5, 5, &catalogue);
                for (int32_t i = 0; i < atOnce.puzzlesMade / 2; ++i) {
                    ASSERT_TRUE(partly.step());
                    ASSERT_EQ(random.currentState(), start);
                }
                ASSERT_TRUE(partly.answers(random, grade, size, kind, 5, 5));
                const GradedPick taken = partly.take(random);
                EXPECT_EQ(taken.origin, atOnce.origin);
                EXPECT_EQ(taken.puzzlesMade, atOnce.puzzlesMade);
                EXPECT_EQ(taken.resize.playedSize, atOnce.resize.playedSize);
                EXPECT_EQ(random.currentState(), after);

                // Stepped to the end: found, and further steps draw nothing.
                random.seed(start);
                GradedPuzzleSearch whole(random, grade, size, kind, 5, 5, &catalogue);
                int32_t steps = 1;
                while (whole.step()) {
                    ++steps;
                }
                EXPECT_EQ(steps, atOnce.puzzlesMade);
                EXPECT_TRUE(whole.found());
                EXPECT_FALSE(whole.step());
                EXPECT_EQ(random.currentState(), start);
                // Another setting, or a random source moved on, is not what it searched.
                EXPECT_FALSE(whole.answers(random, grade, size, AddFromSome, 5, 5));
                EXPECT_FALSE(whole.answers(random, grade == Hard ? Easy : Hard, size, kind, 5, 5));
                EXPECT_FALSE(whole.answers(random, grade, size == 3 ? 4 : 3, kind, 5, 5));
                random.next();
                EXPECT_FALSE(whole.answers(random, grade, size, kind, 5, 5));
            }
        }
    }
}

TEST(Grades, EverySizeIsPlayedAsAskedUnlessNoPuzzleOfTheGradeHasIt) {
    const PuzzleCatalogue catalogue = embeddedCatalogue().value();
    // Not offered for a search, so from the catalogue, at the size asked for.
    ASSERT_FALSE(offersSize(Hard, MoveFromSome, 5));
    ASSERT_TRUE(hasGradedPuzzles(Hard, MoveFromSome, 5, &catalogue));
    RandomSource random;
    random.seed(99);
    const GradedPick catalogued = pickGradedPuzzle(random, Hard, 5, MoveFromSome, 5, 5, &catalogue);
    EXPECT_EQ(catalogued.origin.columns, 5);
    EXPECT_EQ(catalogued.puzzlesMade, 1);
    EXPECT_FALSE(catalogued.resize.resized());
    // No Easy puzzle removes from a full 5 x 5 field (the catalogue test counts it): the
    // nearest size with one is played and said.
    ASSERT_FALSE(hasGradedPuzzles(Easy, RemoveFromFull, 5, &catalogue));
    EXPECT_EQ(nearestSizeWithPuzzles(Easy, RemoveFromFull, 5, &catalogue), 2);
    const GradedPick pick = pickGradedPuzzle(random, Easy, 5, RemoveFromFull, 5, 5, &catalogue);
    EXPECT_EQ(pick.resize.askedSize, 5);
    EXPECT_EQ(pick.resize.playedSize, 2);
    EXPECT_EQ(pick.origin.columns, 2);
    EXPECT_TRUE(pick.resize.resized());
    // Without a catalogue only the cells searched have puzzles: the nearest of those is
    // played and said, as where a cell has none.
    const GradedPick searched = pickGradedPuzzle(random, Hard, 5, MoveFromSome, 5, 5, nullptr);
    EXPECT_EQ(searched.resize.askedSize, 5);
    EXPECT_EQ(searched.resize.playedSize, 3);
    EXPECT_EQ(searched.origin.columns, 3);
    EXPECT_FALSE(hasGradedPuzzles(Hard, MoveFromSome, 5, nullptr));
    // Every size is offered as designed, and every grade of every kind has a size.
    for (ActionType kind : kKinds) {
        for (FieldSize size = kSmallestSide; size <= kLargestSide; ++size) {
            EXPECT_TRUE(offersSize(AsDesigned, kind, size));
        }
        for (Difficulty grade : kGrades) {
            EXPECT_TRUE(hasGradedPuzzles(
                grade, kind, nearestSizeWithPuzzles(grade, kind, 5, &catalogue), &catalogue));
        }
    }
}

TEST(Grades, ARandomSizeAndMixedKindDrawEvenlyOverTheSizesAndKindsWithPuzzles) {
    const PuzzleCatalogue catalogue = embeddedCatalogue().value();
    for (Difficulty grade : kGrades) {
        SCOPED_TRACE("grade " + std::to_string(grade));
        RandomSource random;
        random.seed(static_cast<uint32_t>(grade) * 7919u);
        std::map<FieldSize, int32_t> sides;
        std::set<ActionType> kinds;
        constexpr int32_t kPicks = 160;
        for (int32_t i = 0; i < kPicks; ++i) {
            const PuzzleOrigin o =
                pickGradedPuzzle(random, grade, 0, Mixed, 5, 5, &catalogue).origin;
            ASSERT_EQ(o.columns, o.rows);
            ++sides[o.columns];
            kinds.insert(o.kind);
        }
        // Every kind, Remove From Some too, and every size about a quarter of the time.
        EXPECT_EQ(kinds.size(), 5u);
        for (FieldSize side = kSmallestSide; side <= kLargestSide; ++side) {
            EXPECT_GT(sides[side], kPicks / 8) << side;
            EXPECT_LT(sides[side], kPicks * 3 / 8) << side;
        }
    }
}

}  // namespace
}  // namespace kz
