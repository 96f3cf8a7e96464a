// The text of a game kept between runs: what it holds comes back whole, anything else is no
// game, and its moves are played out only as its puzzle allows.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/common/saved_game.h"
#include "puzzle/puzzle_board.h"

namespace kz {
namespace {

constexpr int32_t kLargest = 5;

// A puzzle of an origin on its own board, and the slots its start leaves empty and holds.
struct Puzzle {
    explicit Puzzle(const PuzzleOrigin& origin) {
        board.configureField(kLargest, kLargest);
        EXPECT_TRUE(board.newPuzzleFrom(origin));
        for (StickOrientation o : {Horizontal, Vertical}) {
            for (int32_t i = 0; i < kLargest * (kLargest + 1); ++i) {
                const StickSlot slot{o, i};
                const bool active =
                    o == Horizontal ? board.isActiveHorizontal(i) : board.isActiveVertical(i);
                if (active) {
                    (board.getStartSticks().at(slot) != 0 ? held : empty).push_back(slot);
                }
            }
        }
    }
    SavedGame::Move solution() {
        return changedSlots(board.getStartSticks(), board.getSolutionSticks());
    }

    PuzzleBoard board;
    std::vector<StickSlot> empty;
    std::vector<StickSlot> held;
};

const PuzzleOrigin kAddPuzzle{4242, 3, 3, AddFromSome};
const PuzzleOrigin kMovePuzzle{777, 4, 3, MoveFromSome};

SavedGame sampleGame() {
    SavedGame game;
    game.origin = kMovePuzzle;
    game.table = {0, 3};
    game.day = 20'795;
    game.seconds = 125;
    game.hints = 2;
    game.moves = {{{Horizontal, 4}, {Vertical, 7}}, {{Vertical, 12}, {Horizontal, 0}}};
    game.undone = 1;
    game.hintSolution = SavedGame::Move{{Horizontal, 4}, {Vertical, 29}};
    return game;
}

// The text with the first `from` in it changed to `to`.
std::string changed(const std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.substr(0, at) + to + text.substr(at + from.size());
}

TEST(SavedGameText, WhatIsWrittenReadsBackTheSameLineByLine) {
    const SavedGame game = sampleGame();
    const std::string text = writeSavedGame(game);
    const std::string code = text.substr(text.find("puzzle=") + 7, 10);
    EXPECT_EQ(text, "# Kestrane Zivadorured game in progress\nversion=1\npuzzle=" + code +
                        "\nsize=0\ntype=3\nday=2026-12-08\nclock=125\nhints=2\n"
                        "moves=h4+v7 v12+h0\nundone=1\nhint-solution=h4 v29\nend\n");
    EXPECT_EQ(readSavedGame(text), game);

    SavedGame plain = game;  // no day, no moves, no hint yet
    plain.day.reset();
    plain.moves.clear();
    plain.undone = 0;
    plain.hintSolution.reset();
    const std::string plainText = writeSavedGame(plain);
    EXPECT_NE(plainText.find("\nmoves=\nundone=0\nend\n"), std::string::npos) << plainText;
    EXPECT_EQ(readSavedGame(plainText), plain);
}

TEST(SavedGameText, APastDaysGameSaysSoAfterItsDayAndNowhereElse) {
    SavedGame game = sampleGame();
    game.pastDay = true;
    const std::string text = writeSavedGame(game);
    EXPECT_NE(text.find("\nday=2026-12-08\npast=1\nclock=125\n"), std::string::npos) << text;
    EXPECT_EQ(readSavedGame(text), game);
    EXPECT_FALSE(readSavedGame(writeSavedGame(sampleGame()))->pastDay);

    for (const std::string& bad :
         {changed(text, "past=1", "past=0"), changed(text, "past=1", "past=yes"),
          changed(text, "day=2026-12-08\n", ""),  // a past day's game without its day
          changed(text, "day=2026-12-08\npast=1", "past=1\nday=2026-12-08"),
          changed(text, "past=1\n", "past=1\npast=1\n")}) {
        EXPECT_FALSE(readSavedGame(bad)) << bad;
    }
}

TEST(SavedGameText, TheGradeIsALineOnlyForAGradedGame) {
    SavedGame game = sampleGame();
    game.grade = Hard;
    const std::string text = writeSavedGame(game);
    EXPECT_NE(text.find("\nday=2026-12-08\ngrade=3\nclock=125\n"), std::string::npos) << text;
    EXPECT_EQ(readSavedGame(text), game);
    EXPECT_EQ(writeSavedGame(sampleGame()).find("grade="), std::string::npos);

    for (const char* bad : {"grade=0", "grade=4", "grade=", "grade=03", "grade=x"}) {
        EXPECT_FALSE(readSavedGame(changed(text, "grade=3", bad))) << bad;
    }
    EXPECT_EQ(readSavedGame(changed(text, "grade=3", "grade=1"))->grade, Easy);
    // Its place is after the day.
    std::string moved = text;
    moved.erase(moved.find("grade=3\n"), 8);
    moved.insert(moved.find("day="), "grade=3\n");
    EXPECT_FALSE(readSavedGame(moved));
}

TEST(SavedGameText, ATextCutShortOrChangedAnywhereIsNoGame) {
    const std::string text = writeSavedGame(sampleGame());
    for (size_t length = 0; length < text.size(); ++length) {
        EXPECT_FALSE(readSavedGame(text.substr(0, length))) << "cut at " << length;
    }
    const std::vector<std::string> damaged = {
        changed(text, "version=1", "version=2"),           // a later release's
        changed(text, "# Kestrane", "# Another"),          // another program's
        changed(text, "clock=125", "clock=216000"),        // past the clock's end
        changed(text, "clock=125", "clock=0125"),          // not as written
        changed(text, "clock=125", "clock=-1"),            //
        changed(text, "hints=2\n", ""),                    // a line missing
        changed(text, "hints=2\n", "hints=2\nhints=2\n"),  // or twice
        changed(text, "size=0\ntype=3", "type=3\nsize=0"),
        changed(text, "size=0", "size=1"),  // no table of the menus
        changed(text, "type=3", "type=6"),  //
        changed(text, "day=2026-12-08", "day=2026-13-08"),
        changed(text, "undone=1", "undone=3"),  // more than the moves
        changed(text, "h4+v7", "h30+v7"),       // no slot of the 5 x 5 field
        changed(text, "h4+v7", "h4+v7+h5"),     // three sticks in one move
        changed(text, "h4+v7", "h4+h4"),        //
        changed(text, "h4+v7", "h4+"),          //
        changed(text, "v12+h0", "v12+h0 "),     //
        changed(text, "h4 v29", "h4 v29 h4"),   //
        changed(text, "end\n", "end\nmore\n"),  // something after the end
        changed(text, "end\n", "end"),          //
        changed(text, "\n", "\r\n"),            //
        changed(text, "moves=", "moves=x"),     //
        changed(text, "clock=125\n", "clock=125\ncolour=red\n"),
        std::string(1, '\0') + text,
    };
    for (const std::string& bad : damaged) {
        EXPECT_FALSE(readSavedGame(bad)) << bad;
    }
    // The code's check character is checked too.
    const size_t code = text.find("puzzle=") + 7;
    std::string wrongCode = text;
    wrongCode[code + 9] = wrongCode[code + 9] == '2' ? '3' : '2';
    EXPECT_FALSE(readSavedGame(wrongCode));
}

TEST(SavedGameReplay, MovesArePlayedOutFromTheStartAndTheirDifferencesAreTheMoves) {
    Puzzle puzzle(kAddPuzzle);
    ASSERT_GE(puzzle.empty.size(), 2u);
    SavedGame game;
    game.origin = kAddPuzzle;
    game.table = {3, 2};
    // Added, taken away again, and another added and undone.
    const StickSlot first = puzzle.empty[0];
    const StickSlot second = puzzle.empty[1];
    game.moves = {{first}, {first}, {second}};
    game.undone = 1;
    game.hintSolution = puzzle.solution();

    const std::optional<ReplayedGame> replayed = replaySavedGame(game, kLargest, kLargest);
    ASSERT_TRUE(replayed);
    ASSERT_EQ(replayed->layouts.size(), 4u);
    EXPECT_EQ(replayed->layouts[0], puzzle.board.getStartSticks());
    EXPECT_EQ(replayed->layouts[1].at(first), 1);
    EXPECT_EQ(replayed->layouts[2], replayed->layouts[0]);
    EXPECT_EQ(replayed->layouts[3].at(second), 1);
    EXPECT_EQ(replayed->shown, 2u);
    EXPECT_EQ(replayed->hintSolution, puzzle.board.getSolutionSticks());
    EXPECT_EQ(movesBetween(replayed->layouts), game.moves);
}

TEST(SavedGameReplay, AMoveThePuzzleDoesNotAllowOrThatWouldHaveWonIsNoGame) {
    Puzzle add(kAddPuzzle);
    SavedGame game;
    game.origin = kAddPuzzle;
    game.table = {3, 2};
    const auto replays = [&game] { return replaySavedGame(game, kLargest, kLargest).has_value(); };
    game.moves = {{add.empty[0]}};
    ASSERT_TRUE(replays());

    game.moves = {{add.held[0]}};  // Add takes no start stick away
    EXPECT_FALSE(replays());
    game.moves = {{{Horizontal, 29}}};  // off a 3 x 3 field
    EXPECT_FALSE(replays());
    game.moves = {{add.empty[0], add.empty[1]}};  // two at once
    EXPECT_FALSE(replays());
    game.moves.clear();
    for (const StickSlot& slot : add.solution()) {
        game.moves.push_back({slot});  // the last one would have ended the game
    }
    EXPECT_FALSE(replays());
    game.moves.pop_back();
    EXPECT_TRUE(replays());

    game.moves.clear();
    game.hintSolution = SavedGame::Move{add.empty[0]};  // solves nothing
    EXPECT_FALSE(replays());
    game.hintSolution = add.solution();
    EXPECT_TRUE(replays());

    Puzzle move(kMovePuzzle);
    game = SavedGame{};
    game.origin = kMovePuzzle;
    game.table = {0, 3};
    // A move's slots as they are written: horizontal ones first, each kind by its index.
    SavedGame::Move taken = {move.held[0], move.empty[0]};
    std::sort(taken.begin(), taken.end(), [](const StickSlot& a, const StickSlot& b) {
        return a.orientation != b.orientation ? a.orientation < b.orientation : a.index < b.index;
    });
    game.moves = {taken};
    EXPECT_TRUE(replays());
    game.moves = {{taken[1], taken[0]}};  // the same in another order: not written so
    EXPECT_FALSE(replays());
    game.moves = {{move.held[0], move.held[1]}};  // nothing put down
    EXPECT_FALSE(replays());
    game.moves = {{move.empty[0]}};  // a stick from nowhere
    EXPECT_FALSE(replays());
}

}  // namespace
}  // namespace kz
