// The session with its extras on: puzzle codes, today's puzzle and the records of each way a
// game ends, as the Linux program and the page drive them.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/game_session.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/random_source.h"
#include "puzzle/todays_puzzle.h"
#include "tests/support/headless_game.h"

namespace kz {
namespace {

class RecordingExtrasShell : public ExtrasShell {
  public:
    void announce(const std::string& text) override { heard.push_back(text); }
    void commandsChanged() override {}
    void copyText(const std::string& text) override { copied = text; }
    void askPuzzleCode() override { ++asked; }
    void showStatistics(const Records& records, CalendarDay day) override {
        shownPlayed = 0;
        for (const auto& entry : records.tables()) {
            shownPlayed += entry.second.played;
        }
        shownDay = day;
    }
    void share(const std::string& code) override { shared = code; }
    void saveRecords(const Records& records) override {
        saved = records;
        ++saves;
    }
    void puzzleChanged(const std::string& code) override { titles.push_back(code); }
    void newBestTime(const WinReport& report) override { bests.push_back(report.seconds); }
    CalendarDay today() override { return dayOfUnixTime(now); }

    std::vector<std::string> heard;
    std::string copied;
    std::string shared;
    int asked = 0;
    int64_t shownPlayed = -1;
    CalendarDay shownDay{};
    Records saved;
    int saves = 0;
    std::vector<std::string> titles;
    std::vector<int32_t> bests;
    int64_t now = 1796731200;  // 2026-12-08 12:00 UTC
};

class SessionExtrasTest : public ::testing::Test {
  protected:
    SessionExtrasTest() : game(KZ_SOURCE_ROOT, GameSettings{3, AddFromSome}) {
        game.session().enableExtras(shell, Records());
        game.paintAll();
    }

    void next() {
        auto [x, y] = HeadlessGame::centreOf(*game.screen().getNextButton());
        game.click(x, y);
    }
    void giveUp() {
        auto [x, y] = HeadlessGame::centreOf(*game.screen().getGiveUpButton());
        game.click(x, y);
    }
    TableRecord table() { return shell.saved.table(RecordKey{3, AddFromSome}); }

    RecordingExtrasShell shell;
    HeadlessGame game;
};

TEST_F(SessionExtrasTest, EachWayAGameEndsCountsAndIsSavedAtOnce) {
    randomSource().seed(7);
    next();
    ASSERT_TRUE(game.board().isActive());
    EXPECT_EQ(shell.saves, 0) << "a game is stored when it ends, not when it starts";

    for (int second = 0; second < 5; ++second) {
        game.tick();
    }
    ASSERT_TRUE(game.playSolution());
    EXPECT_EQ(table().played, 1);
    EXPECT_EQ(table().won, 1);
    EXPECT_EQ(table().bestSeconds, 5);
    EXPECT_EQ(shell.bests, std::vector<int32_t>{5}) << "the first win is a new best";

    next();
    giveUp();
    EXPECT_EQ(table().played, 2);
    EXPECT_EQ(table().givenUp, 1);
    EXPECT_EQ(table().streak, 0);

    // Next is hidden while a game runs; a puzzle started from the menu leaves it.
    next();
    game.command(command::TodaysPuzzle);
    EXPECT_EQ(table().played, 3);
    EXPECT_EQ(table().won, 1);

    game.session().end();  // Exit in the middle of today's puzzle
    const RecordKey daily = recordKeyOf(game.board().getOrigin());
    EXPECT_EQ(shell.saved.table(daily).played, 1);
    EXPECT_EQ(shell.saved.table(daily).won, 0);
    const int saves = shell.saves;
    game.session().end();
    EXPECT_EQ(shell.saves, saves) << "a game counts once";
}

TEST_F(SessionExtrasTest, HintsTakenCountInTheRecords) {
    randomSource().seed(3);
    next();
    game.command(command::Hint);
    game.command(command::Hint);
    giveUp();
    EXPECT_EQ(table().hints, 2);
}

TEST_F(SessionExtrasTest, ACopiedCodePlaysTheSamePuzzleAgainAndAWrongOneChangesNothing) {
    randomSource().seed(11);
    next();
    game.command(command::CopyPuzzleCode);
    ASSERT_EQ(shell.copied.size(), 10u);
    EXPECT_EQ(shell.titles.back(), shell.copied);
    const StickLayers start = game.board().getStartSticks();
    const StickLayers solution = game.board().getSolutionSticks();
    const int32_t moves = game.board().getRequiredMoves();

    giveUp();
    next();
    ASSERT_FALSE(game.board().getStartSticks() == start);
    const StickLayers other = game.board().getStartSticks();
    std::string mistyped = shell.copied;
    mistyped[4] = mistyped[4] == 'A' ? 'B' : 'A';
    EXPECT_FALSE(game.session().playPuzzleCode(mistyped));
    EXPECT_FALSE(game.session().playPuzzleCode("hello"));
    EXPECT_TRUE(game.board().getStartSticks() == other);

    std::string lower = shell.copied;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    ASSERT_TRUE(game.session().playPuzzleCode(lower));
    EXPECT_TRUE(game.board().getStartSticks() == start);
    EXPECT_TRUE(game.board().getSolutionSticks() == solution);
    EXPECT_EQ(game.board().getRequiredMoves(), moves);
    // The player's own settings stay.
    EXPECT_EQ(game.session().settings(), (GameSettings{3, AddFromSome}));

    game.command(command::PlayPuzzleCode);
    EXPECT_EQ(shell.asked, 1);
    game.command(command::Share);
    EXPECT_EQ(shell.shared, shell.copied);
}

TEST_F(SessionExtrasTest, TodaysPuzzleIsTheDaysAndItsWinIsRememberedForTheDay) {
    game.command(command::TodaysPuzzle);
    const CalendarDay day = dayOfUnixTime(shell.now);
    EXPECT_EQ(puzzleCode(game.board().getOrigin()), puzzleCode(puzzleOfDay(day)));
    ASSERT_TRUE(game.playSolution());
    EXPECT_TRUE(shell.saved.solvedOn(day));
    EXPECT_EQ(shell.saved.daysInARow(day), 1);

    game.command(command::Statistics);
    EXPECT_EQ(shell.shownPlayed, 1);
    EXPECT_EQ(shell.shownDay, day);
    EXPECT_TRUE(game.session().resetRecords());
    EXPECT_TRUE(shell.saved.tables().empty());
    EXPECT_FALSE(shell.saved.solvedOn(day));
}

TEST_F(SessionExtrasTest, OnlyTheKeysOfTheExtraPlayAreTakenFromTheProgram) {
    next();
    EXPECT_TRUE(game.session().key(msg::KeyDown, 0x27, 1));  // Right arrow: the focus
    EXPECT_TRUE(game.session().keyTaken());
    EXPECT_TRUE(game.session().key(msg::KeyDown, 0x70, 1));  // F1 stays the menus'
    EXPECT_FALSE(game.session().keyTaken());
    EXPECT_TRUE(game.session().key(msg::KeyDown, 'H', 1, keyflag::Alt));  // a mnemonic
    EXPECT_FALSE(game.session().keyTaken());
}

TEST(SessionExtrasOff, TheExtraCommandsDoNothingWithoutThem) {
    HeadlessGame game(KZ_SOURCE_ROOT);
    game.paintAll();
    EXPECT_EQ(game.session().extras(), nullptr);
    for (uint16_t id : {command::Undo, command::Hint, command::CopyPuzzleCode,
                        command::TodaysPuzzle, command::Statistics}) {
        EXPECT_TRUE(game.command(id));
    }
    EXPECT_FALSE(game.board().isActive());
    EXPECT_FALSE(game.session().playPuzzleCode("322222222N"));
    EXPECT_EQ(game.screen().getChildCount(), 22);
    EXPECT_TRUE(game.session().key(msg::KeyDown, 0x27, 1));
    EXPECT_FALSE(game.session().keyTaken()) << "without the extras every key is the program's";
}

}  // namespace
}  // namespace kz
