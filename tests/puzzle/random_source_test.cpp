#include <gtest/gtest.h>

#include "puzzle/puzzle_board.h"
#include "puzzle/random_source.h"

namespace kz {
namespace {

TEST(RandomSource, SeedOneGivesTheKnownSequence) {
    RandomSource random;
    random.seed(1);
    for (int32_t expected : {41, 18467, 6334, 26500, 19169}) {
        EXPECT_EQ(random.next(), expected);
    }
}

TEST(RandomSource, StaysWithinFifteenBitsAndReseedsExactly) {
    RandomSource random;
    random.seed(0xDEADBEEF);
    int32_t highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int32_t r = random.next();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        highest = std::max(highest, r);
    }
    EXPECT_GT(highest, 32000);  // the whole range is reached, not a narrower one

    random.seed(12345);
    const int32_t first = random.next();
    random.next();
    random.seed(12345);
    EXPECT_EQ(random.next(), first);
}

TEST(RandomSource, CountsEveryDrawWithoutChangingTheValues) {
    RandomSource used;
    used.seed(99);
    for (int i = 0; i < 1000; ++i) {
        used.next();
    }
    ASSERT_EQ(used.drawCount(), 1000u);

    // Reseeding a source with a history gives the same values as a fresh one; the count goes
    // on from where it was, one per draw.
    RandomSource fresh;
    used.seed(1);
    fresh.seed(1);
    EXPECT_EQ(fresh.drawCount(), 0u);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(used.next(), fresh.next());
        EXPECT_EQ(used.drawCount(), 1000u + static_cast<uint64_t>(i));
        EXPECT_EQ(fresh.drawCount(), static_cast<uint64_t>(i));
    }
}

TEST(RandomSource, EachBoardDrawsFromItsOwn) {
    // A board's puzzles depend on its own draws alone, whatever another board draws between.
    PuzzleBoard first;
    PuzzleBoard second;
    for (PuzzleBoard* board : {&first, &second}) {
        board->configureField(5, 5);
        board->setFieldSize(0);
        board->setActionType(Mixed);
        board->randomSource().seed(7);
    }
    first.newPuzzle();
    const PuzzleOrigin firstPuzzle = first.getOrigin();
    first.newPuzzle();
    second.newPuzzle();
    EXPECT_EQ(second.getOrigin(), firstPuzzle);
    EXPECT_NE(first.getOrigin(), firstPuzzle);
}

}  // namespace
}  // namespace kz
