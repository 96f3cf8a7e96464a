#include <gtest/gtest.h>

#include <map>
#include <string>

#include "puzzle/puzzle_code.h"
#include "puzzle/puzzle_grade.h"
#include "puzzle/random_source.h"
#include "test_board.h"

namespace kz {
namespace {

bool contains(const StickLayers& outer, const StickLayers& inner) {
    for (size_t i = 0; i < inner.horizontal.size(); ++i) {
        if (inner.horizontal[i] != 0 && outer.horizontal[i] == 0)
            return false;
    }
    for (size_t i = 0; i < inner.vertical.size(); ++i) {
        if (inner.vertical[i] != 0 && outer.vertical[i] == 0)
            return false;
    }
    return true;
}

bool staysInsideActiveField(const TestBoard& board, const StickLayers& layout) {
    for (size_t i = 0; i < layout.horizontal.size(); ++i) {
        if (layout.horizontal[i] != 0 && !board.isActiveHorizontal(static_cast<int32_t>(i))) {
            return false;
        }
    }
    for (size_t i = 0; i < layout.vertical.size(); ++i) {
        if (layout.vertical[i] != 0 && !board.isActiveVertical(static_cast<int32_t>(i))) {
            return false;
        }
    }
    return true;
}

// The kind of a generated puzzle, told from its mode and start layout alone.
ActionType kindOf(TestBoard& board) {
    const StickLayers& start = board.getStartSticks();
    switch (board.getMode()) {
        case Add:
            return board.sticks(start) == 0 ? AddFromNone : AddFromSome;
        case Move:
            return MoveFromSome;
        default:
            return start == board.fullLayout() ? RemoveFromFull : RemoveFromSome;
    }
}

void generate(TestBoard& board, FieldSize size, ActionType type, uint32_t seed) {
    board.setFieldSize(size);
    board.setActionType(type);
    board.randomSource().seed(seed);
    board.newPuzzle();
}

class GeneratorProperties : public ::testing::TestWithParam<std::tuple<FieldSize, ActionType>> {};

TEST_P(GeneratorProperties, EveryPuzzleIsSolvableAndKeepsItsKindsRules) {
    const auto [size, type] = GetParam();
    TestBoard board;
    std::map<ActionType, int> kindsSeen;
    constexpr int kSeeds = 150;
    for (int s = 0; s < kSeeds; ++s) {
        const uint32_t seed = 1000u + static_cast<uint32_t>(s) * 7919u;
        generate(board, size, type, seed);
        SCOPED_TRACE("seed " + std::to_string(seed));

        const int32_t columns = board.getActiveColumns();
        const int32_t rows = board.getActiveRows();
        if (size == 0) {
            ASSERT_TRUE(columns >= 2 && columns <= 5 && rows >= 2 && rows <= 5);
        } else {
            ASSERT_EQ(columns, size);
            ASSERT_EQ(rows, size);
        }
        const int32_t full = SlotGrid(columns, rows).slotCount();
        const StickLayers& start = board.getStartSticks();
        const StickLayers& solution = board.getSolutionSticks();

        EXPECT_GE(board.getRequiredMoves(), 1);
        EXPECT_GE(board.getTargetSquares(), 1);
        EXPECT_GT(board.sticks(solution), 0);
        EXPECT_LT(board.sticks(solution), full);
        EXPECT_TRUE(staysInsideActiveField(board, start));
        EXPECT_TRUE(staysInsideActiveField(board, solution));
        EXPECT_EQ(board.getTargetSquares(), board.squares(solution));

        // The generated solution wins: same moves as required, only complete squares.
        EXPECT_EQ(board.movesFromStart(solution), board.getRequiredMoves());
        EXPECT_TRUE(board.formsTargetSquares(solution));

        // A fresh puzzle shows its start and nothing has been played.
        EXPECT_EQ(board.getCurrentSticks(), start);
        EXPECT_EQ(board.getMovesMade(), 0);
        EXPECT_TRUE(board.isActive());
        EXPECT_FALSE(board.isStickInHand());

        const ActionType kind = kindOf(board);
        ++kindsSeen[kind];
        const int32_t half = board.getSquareCount() / 2;
        switch (kind) {
            case AddFromNone:
                EXPECT_EQ(board.getRequiredMoves(), board.sticks(solution));
                break;
            case AddFromSome:
                EXPECT_GT(board.sticks(start), 0);
                EXPECT_LE(board.squares(start), half);
                EXPECT_TRUE(contains(solution, start));
                EXPECT_EQ(board.getRequiredMoves(), board.sticks(solution) - board.sticks(start));
                break;
            case MoveFromSome:
                EXPECT_EQ(board.sticks(start), board.sticks(solution));
                EXPECT_EQ(board.getRequiredMoves() * 2, board.differences(start, solution));
                break;
            case RemoveFromFull:
                EXPECT_EQ(board.sticks(start), full);
                EXPECT_EQ(board.getRequiredMoves(), full - board.sticks(solution));
                break;
            case RemoveFromSome:
                EXPECT_LE(board.squares(solution), half);
                EXPECT_TRUE(contains(start, solution));
                EXPECT_LT(board.sticks(start), full);
                EXPECT_EQ(board.getRequiredMoves(), board.sticks(start) - board.sticks(solution));
                break;
            default:
                FAIL() << "unknown kind";
        }
    }

    if (type == Mixed) {
        // A mixed game draws four kinds and never RemoveFromSome.
        EXPECT_EQ(kindsSeen.count(RemoveFromSome), 0u);
        for (ActionType k : {AddFromNone, AddFromSome, MoveFromSome, RemoveFromFull}) {
            EXPECT_GT(kindsSeen[k], 0) << "kind " << k;
        }
        // RemoveFromFull comes from two of the five draws.
        EXPECT_GT(kindsSeen[RemoveFromFull], kindsSeen[AddFromNone]);
    } else {
        EXPECT_EQ(kindsSeen.size(), 1u);
        EXPECT_EQ(kindsSeen.begin()->first, type);
    }
}

INSTANTIATE_TEST_SUITE_P(AllSizesAndTypes, GeneratorProperties,
                         ::testing::Combine(::testing::Values(0, 2, 3, 4, 5),
                                            ::testing::Values(Mixed, AddFromNone, AddFromSome,
                                                              MoveFromSome, RemoveFromFull,
                                                              RemoveFromSome)));

TEST(GeneratorDraws, TheTraceOfEverySettingStaysFixed) {
    // Every puzzle people play As Designed, in the Windows program and here, follows from these
    // draws: ten puzzles of every action type and field size from fixed seeds, each puzzle's
    // code and the random source after it, and five As Designed picks of Next, folded into one
    // FNV-1a digest, with the last random-size puzzle of each kind spelled out.
    uint64_t digest = 1469598103934665603u;
    const auto fold = [&](const std::string& text) {
        for (unsigned char c : text) {
            digest = (digest ^ c) * 1099511628211u;
        }
    };
    const char* const lastRandom[] = {"345W32STMT", "35TCD9P8W3", "378MENWPB4",
                                      "3JQ465NKVY", "3AAKG8X8HJ", "3E8XRT2F7D"};
    for (int32_t kind = Mixed; kind <= RemoveFromSome; ++kind) {
        for (FieldSize size : {0, 2, 3, 4, 5}) {
            PuzzleBoard board;
            board.configureField(5, 5);
            board.setFieldSize(size);
            board.setActionType(static_cast<ActionType>(kind));
            board.randomSource().seed(20261211u + static_cast<uint32_t>(kind * 10 + size));
            for (int32_t i = 0; i < 10; ++i) {
                board.newPuzzle();
                fold(puzzleCode(board.getOrigin()));
                fold(std::to_string(board.randomSource().currentState()));
            }
            if (size == 0) {
                EXPECT_EQ(puzzleCode(board.getOrigin()), lastRandom[kind]);
            }
            RandomSource random;
            random.seed(77u + static_cast<uint32_t>(kind * 10 + size));
            for (int32_t i = 0; i < 5; ++i) {
                fold(puzzleCode(pickGradedPuzzle(random, AsDesigned, size,
                                                 static_cast<ActionType>(kind), 5, 5, nullptr)
                                    .origin));
            }
            fold(std::to_string(random.currentState()));
        }
    }
    EXPECT_EQ(digest, 0x382c93cf49540c64u);
}

TEST(GeneratorDraws, RandomSizeDrawsColumnsThenRowsThenTheKind) {
    TestBoard board;
    std::map<std::pair<int32_t, int32_t>, int> sizes;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        RandomSource predictor;
        predictor.seed(seed);
        const int32_t columns = predictor.next() * 4 / 32768 + 2;
        const int32_t rows = predictor.next() * 4 / 32768 + 2;
        const int32_t kindDraw = predictor.next() * 5 / 32768;
        generate(board, 0, Mixed, seed);
        ASSERT_EQ(board.getActiveColumns(), columns) << seed;
        ASSERT_EQ(board.getActiveRows(), rows) << seed;
        ASSERT_EQ(kindOf(board), kindDraw == 0 ? RemoveFromFull : kindDraw) << seed;
        ++sizes[{columns, rows}];
    }
    EXPECT_GT(sizes.count({2, 5}) + sizes.count({5, 2}), 0u);  // not only square fields
}

TEST(GeneratorDraws, FixedSizeMakesNoSizeDraw) {
    TestBoard board;
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        RandomSource predictor;
        predictor.seed(seed);
        const int32_t kindDraw = predictor.next() * 5 / 32768;
        generate(board, 3, Mixed, seed);
        ASSERT_EQ(board.getActiveColumns(), 3);
        ASSERT_EQ(kindOf(board), kindDraw == 0 ? RemoveFromFull : kindDraw) << seed;
    }
}

TEST(GeneratorDraws, FirstPickDrawsOncePerSquareInEnumerationOrder) {
    TestBoard board;
    int compared = 0;
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        // AddFromNone on 2 x 2: the 2 x 2 square first (chance 1/2), then four unit squares
        // (chance 1/4 each, the longer side being 2).
        RandomSource predictor;
        predictor.seed(seed);
        SquareList list(5);
        list[0] = predictor.next() * 1 * 2 < 32767 ? 1 : 0;
        for (int i = 1; i < 5; ++i)
            list[i] = predictor.next() * 2 * 2 < 32767 ? 1 : 0;
        board.setActiveField(2, 2);
        StickLayers predicted = board.emptyLayout();
        board.squaresToSticks(list.data(), predicted.horizontal.data(), predicted.vertical.data());
        const int32_t sticks = board.sticks(predicted);
        if (sticks == 0 || sticks == 12)
            continue;  // the generator would draw again

        generate(board, 2, AddFromNone, seed);
        EXPECT_EQ(board.getSolutionSticks(), predicted) << seed;
        EXPECT_EQ(board.getRequiredMoves(), sticks) << seed;
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

TEST(GeneratorSettings, SizesTheMenuNeverOffersCountAsRandom) {
    TestBoard board;
    for (FieldSize odd : {-3, 1, 6, 7, 1000}) {
        for (uint32_t seed = 1; seed <= 20; ++seed) {
            generate(board, odd, RemoveFromFull, seed);
            const StickLayers start = board.getStartSticks();
            const int32_t columns = board.getActiveColumns();
            const int32_t rows = board.getActiveRows();
            generate(board, 0, RemoveFromFull, seed);
            EXPECT_EQ(board.getStartSticks(), start);
            EXPECT_EQ(board.getActiveColumns(), columns);
            EXPECT_EQ(board.getActiveRows(), rows);
        }
    }
}

TEST(GeneratorSettings, ASmallerBoardNeverLeavesItsArrays) {
    TestBoard board(3, 3);
    for (FieldSize size : {0, 4, 5}) {
        for (uint32_t seed = 1; seed <= 50; ++seed) {
            generate(board, size, Mixed, seed);
            EXPECT_LE(board.getActiveColumns(), 3);
            EXPECT_LE(board.getActiveRows(), 3);
            EXPECT_TRUE(board.formsTargetSquares(board.getSolutionSticks()));
        }
    }
}

TEST(GeneratorSettings, UnknownActionTypesBuildRemoveFromFull) {
    TestBoard board;
    for (ActionType odd : {static_cast<ActionType>(6), static_cast<ActionType>(-1)}) {
        generate(board, 4, odd, 77);
        EXPECT_EQ(board.getMode(), Remove);
        EXPECT_EQ(board.getStartSticks(), board.fullLayout());
        EXPECT_EQ(board.getActionType(), odd);  // the setting itself is kept
    }
}

TEST(GeneratorState, APreviousPuzzleLeavesNoTrace) {
    TestBoard used;
    generate(used, 5, RemoveFromFull, 99);  // fills the start layout
    used.setFieldSize(2);
    used.setActionType(AddFromNone);
    used.randomSource().seed(4242);
    used.newPuzzle();

    TestBoard fresh;
    generate(fresh, 2, AddFromNone, 4242);
    EXPECT_EQ(used.getStartSticks(), fresh.getStartSticks());
    EXPECT_EQ(used.getSolutionSticks(), fresh.getSolutionSticks());
    EXPECT_EQ(used.getRequiredMoves(), fresh.getRequiredMoves());
    EXPECT_EQ(used.getTargetSquares(), fresh.getTargetSquares());
}

}  // namespace
}  // namespace kz

namespace kz {
namespace {

TEST(PickOperations, ListsAndLayoutsAgree) {
    TestBoard board;
    for (auto [columns, rows] : {std::pair{2, 2}, std::pair{5, 3}, std::pair{5, 5}}) {
        board.setActiveField(columns, rows);
        const size_t count = static_cast<size_t>(board.getSquareCount());
        board.randomSource().seed(static_cast<uint32_t>(columns * 100 + rows));
        for (int attempt = 0; attempt < 50; ++attempt) {
            SquareList picked(count, 9);
            StickLayers layout = board.fullLayout();
            const int32_t k = board.pickRandomSquares(picked.data(), layout.horizontal.data(),
                                                      layout.vertical.data());
            EXPECT_EQ(k, board.sticks(layout));
            EXPECT_GT(k, 0);
            EXPECT_LT(k, SlotGrid(columns, rows).slotCount());
            StickLayers fromList = board.emptyLayout();
            board.squaresToSticks(picked.data(), fromList.horizontal.data(),
                                  fromList.vertical.data());
            EXPECT_EQ(fromList, layout);

            // Grow the way the generator does: from the complete squares of a layout that
            // has at most half of them (a list with more can leave no square to add).
            if (board.squares(layout, picked.data()) > board.getSquareCount() / 2)
                continue;
            SquareList grown = picked;
            board.addRandomSquares(grown.data(), layout.horizontal.data(), layout.vertical.data());
            int added = 0;
            for (size_t i = 0; i < count; ++i) {
                ASSERT_TRUE(grown[i] == 0 || grown[i] == 1);
                if (picked[i] != 0) {
                    EXPECT_EQ(grown[i], 1);  // the given squares stay
                } else {
                    added += grown[i];
                }
            }
            EXPECT_GE(added, 1);
            board.squaresToSticks(grown.data(), fromList.horizontal.data(),
                                  fromList.vertical.data());
            EXPECT_EQ(fromList, layout);
            EXPECT_LT(board.sticks(layout), SlotGrid(columns, rows).slotCount());
        }
    }
}

}  // namespace
}  // namespace kz
