#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "test_board.h"

namespace kz {
namespace {

TEST(FieldCounts, FormulaMatchesTheTableAndTheSumForEverySize) {
    struct Row {
        int32_t columns, rows, squares, sticks;
    };
    const std::vector<Row> table = {{2, 2, 5, 12},  {2, 3, 8, 17},  {2, 4, 11, 22}, {2, 5, 14, 27},
                                    {3, 3, 14, 24}, {3, 4, 20, 31}, {3, 5, 26, 38}, {4, 4, 30, 40},
                                    {4, 5, 40, 49}, {5, 5, 55, 60}};
    for (const Row& r : table) {
        for (auto [c, w] : {std::pair{r.columns, r.rows}, std::pair{r.rows, r.columns}}) {
            const int32_t s = std::min(c, w);
            const int32_t l = std::max(c, w);
            EXPECT_EQ(squareCountFor(s, l), r.squares) << c << "x" << w;
            EXPECT_EQ(SlotGrid(c, w).slotCount(), r.sticks) << c << "x" << w;
            int32_t sum = 0;
            for (int32_t n = 1; n <= s; ++n)
                sum += (c - n + 1) * (w - n + 1);
            EXPECT_EQ(sum, r.squares);
        }
    }
}

TEST(FieldIndexes, StridesFollowTheLargestField) {
    TestBoard board;  // 5 x 5 arrays
    board.setActiveField(2, 2);
    StickLayers layout = board.emptyLayout();
    // Square (1, 1, 1): top (1, 1), bottom (1, 2), left (1, 1), right (2, 1).
    board.markSquare(1, 1, 1, layout.horizontal.data(), layout.vertical.data());
    EXPECT_EQ(layout.horizontal[6], 1);
    EXPECT_EQ(layout.horizontal[11], 1);  // horizontal stick (1, 2)
    EXPECT_EQ(layout.vertical[6], 1);
    EXPECT_EQ(layout.vertical[11], 1);  // vertical stick (2, 1)
    EXPECT_EQ(board.sticks(layout), 4);

    StickLayers corner = board.emptyLayout();
    board.markSquare(0, 0, 1, corner.horizontal.data(), corner.vertical.data());
    EXPECT_EQ(corner.horizontal[5], 1);  // row 1 starts at maxColumns, not at 2
    EXPECT_EQ(corner.horizontal[2], 0);
    EXPECT_EQ(corner.vertical[5], 1);
}

TEST(FieldEnumeration, ThreeByTwoListsLargestSquaresFirstWithYFastest) {
    TestBoard board;
    board.setActiveField(3, 2);
    ASSERT_EQ(board.getSquareCount(), 8);
    const std::vector<std::tuple<int32_t, int32_t, int32_t>> order = {
        {0, 0, 2}, {1, 0, 2}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 1}, {2, 0, 1}, {2, 1, 1}};
    for (size_t i = 0; i < order.size(); ++i) {
        auto [x, y, n] = order[i];
        SquareList list(8, 0);
        list[i] = 1;
        StickLayers fromList = board.emptyLayout();
        board.squaresToSticks(list.data(), fromList.horizontal.data(), fromList.vertical.data());
        StickLayers expected = board.emptyLayout();
        board.markSquare(x, y, n, expected.horizontal.data(), expected.vertical.data());
        EXPECT_EQ(fromList, expected) << "entry " << i;

        SquareList found(8, 9);
        EXPECT_EQ(board.squares(expected, found.data()), 1) << "entry " << i;
        EXPECT_EQ(found, list) << "entry " << i;
    }
}

TEST(SquaresToSticks, ClearsFirstAndMarksTheUnionOfListedPerimeters) {
    TestBoard board;
    board.setActiveField(5, 5);
    StickLayers layout = board.fullLayout();  // stale content must be cleared
    SquareList none(55, 0);
    board.squaresToSticks(none.data(), layout.horizontal.data(), layout.vertical.data());
    EXPECT_EQ(layout, board.emptyLayout());

    SquareList unit(55, 0);
    unit[55 - 25] = 1;  // (0, 0, 1): the first unit square, after the 30 larger ones
    board.squaresToSticks(unit.data(), layout.horizontal.data(), layout.vertical.data());
    StickLayers expected = board.emptyLayout();
    expected.horizontal[0] = expected.horizontal[5] = 1;
    expected.vertical[0] = expected.vertical[5] = 1;
    EXPECT_EQ(layout, expected);
}

TEST(FindSquares, CountsEveryCompleteSquareIncludingUnlistedOnes) {
    TestBoard board;
    board.setActiveField(2, 2);
    SquareList units = {0, 1, 1, 1, 1};  // the four unit squares, not the 2 x 2 one
    StickLayers layout = board.emptyLayout();
    board.squaresToSticks(units.data(), layout.horizontal.data(), layout.vertical.data());
    EXPECT_EQ(board.sticks(layout), 12);
    SquareList found(5, 0);
    EXPECT_EQ(board.squares(layout, found.data()), 5);
    EXPECT_EQ(found, SquareList(5, 1));

    board.setActiveField(5, 5);
    SquareList all(55, 7);
    EXPECT_EQ(board.squares(board.fullLayout(), all.data()), 55);
    EXPECT_EQ(all, SquareList(55, 1));
    EXPECT_EQ(board.squares(board.emptyLayout(), all.data()), 0);
    EXPECT_EQ(all, SquareList(55, 0));
    EXPECT_EQ(board.squares(board.emptyLayout(), nullptr), 0);
}

TEST(FindSquares, OneMissingStickBreaksEverySquareThroughIt) {
    TestBoard board;
    board.setActiveField(3, 3);
    StickLayers layout = board.fullLayout();
    layout.horizontal[1 * 5 + 1] = 0;  // middle horizontal (1, 1)
    // It lies on unit squares (1,0) and (1,1), on the 2x2 squares (0,0), (1,0) and on the 3x3
    // square only as an inner stick: 14 - 2 - 2 = 10 remain.
    EXPECT_EQ(board.squares(layout), 10);
    EXPECT_FALSE(board.isSquareComplete(1, 0, 1, layout.horizontal.data(), layout.vertical.data()));
    EXPECT_TRUE(board.isSquareComplete(0, 0, 3, layout.horizontal.data(), layout.vertical.data()));
}

TEST(CountDifferences, CountsSticksInOneLayoutOnly) {
    TestBoard board;
    board.setActiveField(4, 3);
    const StickLayers empty = board.emptyLayout();
    const StickLayers full = board.fullLayout();
    EXPECT_EQ(board.differences(full, full), 0);
    EXPECT_EQ(board.differences(empty, full), SlotGrid(4, 3).slotCount());
    EXPECT_EQ(board.differences(full, empty), board.sticks(full));

    StickLayers moved = full;
    moved.horizontal[0] = 0;
    StickLayers partial = moved;
    EXPECT_EQ(board.differences(full, moved), 1);
    partial.vertical[5 * 5 + 1] = 1;  // column 5 lies outside the active field: still compared
    EXPECT_EQ(board.differences(moved, partial), 1);
    StickLayers start = empty;
    start.horizontal[0] = 1;
    StickLayers after = empty;
    after.vertical[3] = 1;
    EXPECT_EQ(board.differences(start, after), 2);  // one stick moved to an empty slot
}

}  // namespace
}  // namespace kz
