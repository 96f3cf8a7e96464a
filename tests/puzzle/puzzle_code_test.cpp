#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "puzzle/puzzle_code.h"
#include "puzzle/random_source.h"
#include "test_board.h"

namespace kz {
namespace {

constexpr std::string_view kAlphabet = "23456789ABCDEFGHJKMNPQRSTVWXY";

// The origin of the puzzle the settings give from a seed, as the player met it.
PuzzleOrigin playedOrigin(TestBoard& board, FieldSize size, ActionType type, uint32_t seed) {
    board.setFieldSize(size);
    board.setActionType(type);
    board.randomSource().seed(seed);
    board.newPuzzle();
    return board.getOrigin();
}

void expectSamePuzzle(const TestBoard& a, TestBoard& b) {
    EXPECT_EQ(a.getActiveColumns(), b.getActiveColumns());
    EXPECT_EQ(a.getActiveRows(), b.getActiveRows());
    EXPECT_EQ(a.getStartSticks(), b.getStartSticks());
    EXPECT_EQ(a.getSolutionSticks(), b.getSolutionSticks());
    EXPECT_EQ(a.getCurrentSticks(), b.getCurrentSticks());
    EXPECT_EQ(const_cast<TestBoard&>(a).getMode(), b.getMode());
    EXPECT_EQ(const_cast<TestBoard&>(a).getRequiredMoves(), b.getRequiredMoves());
    EXPECT_EQ(const_cast<TestBoard&>(a).getTargetSquares(), b.getTargetSquares());
}

// Codes of puzzles of every setting, and of the origins at the edges of the value range.
std::vector<std::string> sampleCodes() {
    std::vector<std::string> codes;
    TestBoard board;
    for (FieldSize size : {0, 2, 3, 4, 5}) {
        for (int32_t type = Mixed; type <= RemoveFromSome; ++type) {
            for (uint32_t seed : {1u, 977u, 0x80000000u}) {
                codes.push_back(puzzleCode(
                    playedOrigin(board, size, static_cast<ActionType>(type), seed * 31u + 7u)));
            }
        }
    }
    for (PuzzleOrigin edge :
         {PuzzleOrigin{0, 2, 2, AddFromNone}, PuzzleOrigin{0xFFFFFFFFu, 5, 5, RemoveFromSome},
          PuzzleOrigin{0x00010000u, 2, 5, MoveFromSome}}) {
        codes.push_back(puzzleCode(edge));
    }
    return codes;
}

// The check character the format describes: the weighted sum of all ten values is a
// multiple of 29, the check itself weighing 1.
char checkFor(const std::string& nine) {
    int sum = 0;
    for (size_t i = 0; i < nine.size(); ++i) {
        sum += static_cast<int>(10 - i) * static_cast<int>(kAlphabet.find(nine[i]));
    }
    return kAlphabet[static_cast<size_t>((29 - sum % 29) % 29)];
}

TEST(PuzzleCode, EverySettingPlayedBackFromItsCodeIsTheIdenticalPuzzle) {
    TestBoard played;
    TestBoard replayed;
    for (FieldSize size : {0, 2, 3, 4, 5}) {
        for (int32_t type = Mixed; type <= RemoveFromSome; ++type) {
            for (uint32_t seed = 0; seed < 12; ++seed) {
                const uint32_t state = seed * 2654435761u + 12345u;
                SCOPED_TRACE("size " + std::to_string(size) + " type " + std::to_string(type) +
                             " state " + std::to_string(state));
                const PuzzleOrigin origin =
                    playedOrigin(played, size, static_cast<ActionType>(type), state);
                const std::string code = puzzleCode(origin);
                ASSERT_EQ(code.size(), 10u);
                const std::optional<PuzzleOrigin> decoded = puzzleFromCode(code);
                ASSERT_TRUE(decoded.has_value()) << code;
                EXPECT_EQ(*decoded, origin);
                EXPECT_NE(decoded->kind, Mixed);

                // The other board's settings are not those of the code, and stay.
                replayed.setFieldSize(size == 3 ? 4 : 3);
                replayed.setActionType(type == AddFromNone ? RemoveFromSome : AddFromNone);
                replayed.randomSource().seed(~state);
                ASSERT_TRUE(replayed.newPuzzleFrom(*decoded));
                expectSamePuzzle(played, replayed);
                EXPECT_EQ(replayed.getOrigin(), origin);
                EXPECT_EQ(replayed.getFieldSize(), size == 3 ? 4 : 3);
                EXPECT_EQ(replayed.getActionType(),
                          type == AddFromNone ? RemoveFromSome : AddFromNone);
                EXPECT_TRUE(replayed.isActive());
                EXPECT_EQ(replayed.getMovesMade(), 0);
            }
        }
    }
}

TEST(PuzzleCode, RandomSizesAndMixedKindsAreRecordedAsDrawn) {
    TestBoard board;
    std::set<std::pair<int32_t, int32_t>> sizes;
    std::set<int32_t> kinds;
    for (uint32_t seed = 0; seed < 300; ++seed) {
        const PuzzleOrigin origin = playedOrigin(board, 0, Mixed, seed * 7919u);
        EXPECT_EQ(origin.columns, board.getActiveColumns());
        EXPECT_EQ(origin.rows, board.getActiveRows());
        sizes.insert({origin.columns, origin.rows});
        kinds.insert(origin.kind);
    }
    EXPECT_EQ(sizes.size(), 16u);  // 3 x 5 and the like are kept as drawn
    EXPECT_EQ(kinds, (std::set<int32_t>{AddFromNone, AddFromSome, MoveFromSome, RemoveFromFull}));
}

TEST(PuzzleCode, APuzzleFromACodeLeavesThePlayersOwnPuzzlesAsTheyWere) {
    TestBoard without;
    TestBoard with;
    for (TestBoard* board : {&without, &with}) {
        board->setFieldSize(0);
        board->setActionType(Mixed);
    }
    without.randomSource().seed(555);
    without.newPuzzle();
    without.newPuzzle();
    const uint32_t after = without.randomSource().currentState();

    with.randomSource().seed(555);
    with.newPuzzle();
    ASSERT_TRUE(with.newPuzzleFrom({0xC0FFEEu, 4, 3, RemoveFromSome}));
    with.newPuzzle();
    EXPECT_EQ(with.randomSource().currentState(), after);
    expectSamePuzzle(without, with);
}

TEST(PuzzleCode, AnOriginTheBoardCannotBuildChangesNothing) {
    TestBoard board;
    const PuzzleOrigin played = playedOrigin(board, 4, MoveFromSome, 42);
    const StickLayers start = board.getStartSticks();
    for (PuzzleOrigin bad :
         {PuzzleOrigin{1, 6, 3, AddFromNone}, PuzzleOrigin{1, 3, 1, AddFromNone},
          PuzzleOrigin{1, 3, 3, Mixed}, PuzzleOrigin{1, 3, 3, static_cast<ActionType>(6)}}) {
        EXPECT_FALSE(board.newPuzzleFrom(bad));
        EXPECT_TRUE(puzzleCode(bad).empty());
    }
    TestBoard small(3, 3);
    EXPECT_FALSE(small.newPuzzleFrom({1, 4, 3, AddFromNone}));
    EXPECT_TRUE(small.newPuzzleFrom({1, 3, 3, AddFromNone}));
    EXPECT_EQ(board.getOrigin(), played);
    EXPECT_EQ(board.getStartSticks(), start);

    TestBoard fresh;
    EXPECT_TRUE(puzzleCode(fresh.getOrigin()).empty());  // no puzzle yet, no code
}

TEST(PuzzleCode, TheFormatOfOldCodesStaysReadable) {
    // Codes handed out by this release must name the same puzzles in every later one.
    EXPECT_EQ(puzzleCode({0, 2, 2, AddFromNone}), "322222222N");
    EXPECT_EQ(puzzleCode({0x12345678u, 3, 5, MoveFromSome}), "3B8NJGHVYB");
    EXPECT_EQ(puzzleCode({0xFFFFFFFFu, 5, 5, RemoveFromSome}), "3NWMQD8N52");
    for (const std::string& code : sampleCodes()) {
        EXPECT_EQ(code[0], '3');
        EXPECT_EQ(code.back(), checkFor(code.substr(0, 9)));
        EXPECT_EQ(code.find_first_not_of(kAlphabet), std::string::npos) << code;
    }
}

TEST(PuzzleCode, EveryChangeOfOneCharacterIsRefused) {
    for (const std::string& code : sampleCodes()) {
        ASSERT_TRUE(puzzleFromCode(code).has_value()) << code;
        for (size_t i = 0; i < code.size(); ++i) {
            for (int c = 1; c < 256; ++c) {
                const char other = static_cast<char>(c);
                if (other == code[i] || other == ' ' || other == '-' ||
                    other == static_cast<char>(std::tolower(code[i]))) {
                    continue;
                }
                std::string changed = code;
                changed[i] = other;
                EXPECT_FALSE(puzzleFromCode(changed).has_value()) << changed;
            }
        }
    }
}

TEST(PuzzleCode, EverySwapOfTwoNeighboursIsRefused) {
    int swaps = 0;
    for (const std::string& code : sampleCodes()) {
        for (size_t i = 0; i + 1 < code.size(); ++i) {
            if (code[i] == code[i + 1]) {
                continue;  // the same code
            }
            std::string swapped = code;
            std::swap(swapped[i], swapped[i + 1]);
            EXPECT_FALSE(puzzleFromCode(swapped).has_value()) << code << " -> " << swapped;
            ++swaps;
        }
    }
    EXPECT_GT(swaps, 500);
}

TEST(PuzzleCode, ReadingIgnoresCaseAndGroupingAndRefusesGarbage) {
    const std::string code = puzzleCode({0x12345678u, 3, 5, MoveFromSome});
    std::string lower;
    for (char c : code) {
        lower += static_cast<char>(std::tolower(c));
    }
    const PuzzleOrigin expected{0x12345678u, 3, 5, MoveFromSome};
    for (const std::string& typed : {code, lower, code.substr(0, 5) + "-" + code.substr(5),
                                     " " + lower.substr(0, 3) + " " + code.substr(3) + " "}) {
        ASSERT_TRUE(puzzleFromCode(typed).has_value()) << typed;
        EXPECT_EQ(*puzzleFromCode(typed), expected);
    }

    const std::string nine = code.substr(0, 9);
    for (const std::string& garbage :
         {std::string(), std::string("-- --"), nine, code + "2", code + code, code.substr(1),
          std::string("hello world"), code.substr(0, 4) + "_" + code.substr(4),
          code.substr(0, 9) + std::string(1, '\0') + code.substr(9)}) {
        EXPECT_FALSE(puzzleFromCode(garbage).has_value()) << garbage;
    }

    // A well-checked code of a format this release does not know, and one of a value no
    // puzzle has (the largest the eight characters hold).
    const std::string laterFormat = "4" + nine.substr(1);
    EXPECT_FALSE(puzzleFromCode(laterFormat + checkFor(laterFormat)).has_value());
    const std::string tooLarge = "3YYYYYYYY";
    EXPECT_FALSE(puzzleFromCode(tooLarge + checkFor(tooLarge)).has_value());
}

}  // namespace
}  // namespace kz
