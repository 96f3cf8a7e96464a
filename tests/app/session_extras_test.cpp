// The session with its extras on: puzzle codes, today's puzzle and the records of each way a
// game ends, as the Linux program and the page drive them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "app/common/clock_text.h"
#include "app/common/commands.h"
#include "app/common/day_result.h"
#include "app/common/extras_texts.h"
#include "app/common/game_session.h"
#include "app/common/next_puzzle_search.h"
#include "app/common/session_records.h"
#include "display/messages.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/puzzle_grade.h"
#include "puzzle/random_source.h"
#include "puzzle/todays_puzzle.h"
#include "tests/support/extra_play_inspection.h"
#include "tests/support/headless_game.h"

namespace kz {
namespace {

class SessionExtrasTest : public ::testing::Test {
  protected:
    SessionExtrasTest()
        : game(KZ_SOURCE_ROOT, GameSettings{3, AddFromSome}, 1, HeadlessGame::withExtras()) {
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
    TableRecord table() { return shell.savedRecords().table(RecordKey{3, AddFromSome}); }
    // The window's title for the puzzle on show.
    std::string titleOf(std::optional<CalendarDay> day, Difficulty grade) {
        return windowTitleText(English{}, puzzleCode(game.board().getOrigin()), day, grade);
    }

    HeadlessGame game;
    RecordingShell& shell = game.shell();
};

TEST_F(SessionExtrasTest, EachWayAGameEndsCountsAndIsSavedAtOnce) {
    game.board().randomSource().seed(7);
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
    const std::string best = "New best time: 00:05.";
    EXPECT_EQ(shell.window().note, best) << "the first win is a new best";
    EXPECT_TRUE(shell.wasHeard(best));

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
    EXPECT_EQ(shell.savedRecords().table(daily).played, 1);
    EXPECT_EQ(shell.savedRecords().table(daily).won, 0);
    const int saves = shell.saves;
    game.session().end();
    EXPECT_EQ(shell.saves, saves) << "a game counts once";
}

TEST_F(SessionExtrasTest, AChosenGradeIsDrawnByNextAndShownWhileItIsPlayed) {
    EXPECT_EQ(shell.marked(kDifficultyGroup), command::DifficultyAsDesigned);
    game.session().command(command::DifficultyHard);
    EXPECT_EQ(shell.marked(kDifficultyGroup), command::DifficultyHard);
    EXPECT_EQ(game.session().settings(), (GameSettings{3, AddFromSome, Hard}));
    ASSERT_FALSE(shell.changes.empty());
    EXPECT_EQ(shell.changes.back().difficulty, Hard);

    game.board().randomSource().seed(7);
    next();
    ASSERT_TRUE(game.board().isActive());
    EXPECT_EQ(gradeOf(measurePuzzle(game.board())), Hard);
    EXPECT_EQ(game.board().getActiveColumns(), 3);
    EXPECT_EQ(shell.title(), titleOf(std::nullopt, Hard));
    EXPECT_EQ(shell.window().note, "");
    EXPECT_EQ(shell.window().link, "#p=" + puzzleCode(game.board().getOrigin()));
    EXPECT_EQ(game.shell().description().rfind("Hard puzzle: Add ", 0), 0u);

    // A size the generator seldom makes the grade on is played all the same.
    game.session().command(command::DifficultyEasy);
    game.session().command(command::FieldSize5);
    giveUp();
    next();
    EXPECT_EQ(gradeOf(measurePuzzle(game.board())), Easy);
    EXPECT_EQ(game.board().getActiveColumns(), 5);
    EXPECT_EQ(shell.title(), titleOf(std::nullopt, Easy));
    EXPECT_EQ(shell.window().note, "");

    // No Easy puzzle removes from a full 5 x 5 field: the nearest size with one is played,
    // and the player hears why.
    game.session().command(command::RemoveFromFull);
    giveUp();
    next();
    EXPECT_EQ(gradeOf(measurePuzzle(game.board())), Easy);
    EXPECT_EQ(game.board().getActiveColumns(), 2);
    const std::string note = "Next has no Easy puzzle of this kind on 5 x 5: playing 2 x 2.";
    EXPECT_EQ(shell.title(), titleOf(std::nullopt, Easy));
    EXPECT_EQ(shell.window().note, note);
    EXPECT_EQ(shell.window().titleWithNote(), titleOf(std::nullopt, Easy) + " \u2014 " + note);
    ASSERT_FALSE(shell.heard.empty());
    EXPECT_NE(shell.heard.back().find(note), std::string::npos) << shell.heard.back();

    // As designed again: the generator's own next puzzle, no grade claimed.
    game.session().command(command::DifficultyAsDesigned);
    giveUp();
    next();
    EXPECT_EQ(game.board().getActiveColumns(), 5);
    EXPECT_EQ(shell.title(), titleOf(std::nullopt, AsDesigned));
    EXPECT_EQ(shell.window().note, "") << "the note goes with its puzzle";
    EXPECT_EQ(game.shell().description().rfind("Remove ", 0), 0u);
}

TEST_F(SessionExtrasTest, AGameCountsUnderTheGradeItWasPlayedAtAndKeepsItInTheNextRun) {
    game.session().command(command::DifficultyHard);
    game.board().randomSource().seed(7);
    next();
    for (int second = 0; second < 4; ++second) {
        game.tick();
    }
    ASSERT_TRUE(game.playSolution());
    EXPECT_EQ(shell.savedRecords().grade(Hard), (TableRecord{1, 1, 0, 4, 0, 1, 1}));
    EXPECT_EQ(table().won, 1) << "and in its table";

    // A puzzle from a code claims no grade, even one of Hard.
    ASSERT_TRUE(game.session().playPuzzle(puzzleCode(game.board().getOrigin())));
    giveUp();
    EXPECT_EQ(shell.savedRecords().grade(AsDesigned).givenUp, 1);
    EXPECT_EQ(shell.savedRecords().grade(Hard).played, 1);

    // A Hard game kept at the end counts as Hard when the next run ends it.
    next();
    shell.keepsGames = true;
    game.session().end();
    ASSERT_TRUE(shell.keptGame);
    EXPECT_NE(shell.keptGame->find("\ngrade=3\n"), std::string::npos) << *shell.keptGame;
    HeadlessGame run(KZ_SOURCE_ROOT, GameSettings{3, AddFromSome}, 1, HeadlessGame::withExtras(),
                     [&](RecordingShell& next) {
                         next.keepsGames = true;
                         next.keptGame = shell.keptGame;
                         next.shareRecordsWith(shell);
                     });
    ASSERT_TRUE(run.paintAll());
    EXPECT_EQ(run.shell().title(),
              windowTitleText(English{}, puzzleCode(run.board().getOrigin()), std::nullopt, Hard))
        << "the title says it again";
    ASSERT_TRUE(run.playSolution());
    EXPECT_EQ(shell.savedRecords().grade(Hard).won, 2);
    EXPECT_EQ(shell.savedRecords().grade(AsDesigned).played, 1);
}

TEST_F(SessionExtrasTest, TheNextGradedPuzzleIsSearchedWhileThePlayerPlays) {
    RecordingHost& host = game.host();
    const auto searching = [&] { return host.timers.count(NextPuzzleSearch::kSearchTimerId) > 0; };
    EXPECT_FALSE(searching()) << "nothing is searched as designed";

    game.session().command(command::DifficultyHard);
    game.session().command(command::FieldSize4);
    ASSERT_TRUE(searching());
    EXPECT_EQ(host.timers[NextPuzzleSearch::kSearchTimerId], NextPuzzleSearch::kSearchPeriodMs);
    const uint32_t state = game.board().randomSource().currentState();
    const size_t presented = shell.presented.size();
    int32_t ticks = 0;
    while (searching() && ticks < 100000) {
        game.session().timer(NextPuzzleSearch::kSearchTimerId);
        ++ticks;
        ASSERT_EQ(game.board().randomSource().currentState(), state)
            << "the game's random source moved";
    }
    EXPECT_FALSE(searching()) << "the timer stops once the puzzle is found";
    EXPECT_EQ(shell.presented.size(), presented) << "searching draws nothing";

    // Next plays exactly the puzzle a search at Next would have drawn.
    RandomSource random;
    random.seed(state);
    const GradedPick expected =
        pickGradedPuzzle(random, Hard, 4, AddFromSome, 5, 5, &game.catalogue());
    next();
    EXPECT_EQ(game.board().getOrigin(), expected.origin);
    EXPECT_EQ(game.board().randomSource().currentState(), random.currentState());
    EXPECT_EQ(shell.title(), titleOf(std::nullopt, Hard));
    // The game started, so the search for the one after it has begun.
    EXPECT_TRUE(searching());

    // A random source moved on since the search began: Next searches afresh and still plays
    // the puzzle it draws.
    game.session().timer(NextPuzzleSearch::kSearchTimerId);
    giveUp();
    random.seed(12345);
    const GradedPick fresh =
        pickGradedPuzzle(random, Hard, 4, AddFromSome, 5, 5, &game.catalogue());
    game.board().randomSource().seed(12345);
    next();
    EXPECT_EQ(game.board().getOrigin(), fresh.origin);

    // As designed again: the search and its timer end.
    game.session().command(command::DifficultyAsDesigned);
    EXPECT_FALSE(searching());
}

TEST_F(SessionExtrasTest, HintsTakenCountInTheRecords) {
    game.board().randomSource().seed(3);
    next();
    game.command(command::Hint);
    game.command(command::Hint);
    giveUp();
    EXPECT_EQ(table().hints, 2);
}

TEST_F(SessionExtrasTest, ACopiedCodePlaysTheSamePuzzleAgainAndAWrongOneChangesNothing) {
    game.board().randomSource().seed(11);
    next();
    game.command(command::CopyPuzzleCode);
    ASSERT_EQ(shell.copied.size(), 10u);
    EXPECT_EQ(shell.title(), "Kestrane Zivadorured \u2014 " + shell.copied);
    EXPECT_EQ(shell.toldCopied, "Puzzle code " + shell.copied + " copied.");
    const StickLayers start = game.board().getStartSticks();
    const StickLayers solution = game.board().getSolutionSticks();
    const int32_t moves = game.board().getRequiredMoves();

    giveUp();
    next();
    ASSERT_FALSE(game.board().getStartSticks() == start);
    const StickLayers other = game.board().getStartSticks();
    std::string mistyped = shell.copied;
    mistyped[4] = mistyped[4] == 'A' ? 'B' : 'A';
    EXPECT_FALSE(game.session().playPuzzle(mistyped));
    EXPECT_FALSE(game.session().playPuzzle("hello"));
    EXPECT_TRUE(game.board().getStartSticks() == other);

    std::string lower = shell.copied;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    ASSERT_TRUE(game.session().playPuzzle(lower));
    EXPECT_TRUE(game.board().getStartSticks() == start);
    EXPECT_TRUE(game.board().getSolutionSticks() == solution);
    EXPECT_EQ(game.board().getRequiredMoves(), moves);
    // The player's own settings stay.
    EXPECT_EQ(game.session().settings(), (GameSettings{3, AddFromSome}));

    game.command(command::PlayPuzzleCode);
    EXPECT_EQ(shell.asked(Question::PuzzleCode), 1u);
    game.command(command::Share);
    EXPECT_EQ(shell.shared, shell.copied);
    EXPECT_EQ(shell.sharedAddress, "") << "a program with no page has no link";
    shell.address = "https://example.org/game/";
    game.command(command::Share);
    EXPECT_EQ(shell.sharedAddress, "https://example.org/game/#p=" + shell.copied);
}

TEST_F(SessionExtrasTest, TodaysPuzzleIsTheDaysAndItsWinIsRememberedForTheDay) {
    game.command(command::TodaysPuzzle);
    const CalendarDay day = dayOfUnixTime(shell.now);
    EXPECT_EQ(puzzleCode(game.board().getOrigin()),
              puzzleCode(puzzleOfDay(day, &game.catalogue()).value()));
    ASSERT_TRUE(game.playSolution());
    EXPECT_TRUE(shell.savedRecords().solvedOn(day));
    EXPECT_EQ(shell.savedRecords().daysInARow(day), 1);

    game.command(command::Statistics);
    EXPECT_EQ(shell.shownPlayed, 1);
    EXPECT_EQ(shell.shownDay, day);
    EXPECT_TRUE(game.session().resetRecords());
    EXPECT_TRUE(shell.savedRecords().tables().empty());
    EXPECT_FALSE(shell.savedRecords().solvedOn(day));
}

TEST_F(SessionExtrasTest, AResetInTheMiddleOfTodaysPuzzleLeavesItCountingForItsTableAndDay) {
    game.command(command::TodaysPuzzle);
    game.command(command::Hint);
    EXPECT_TRUE(game.session().resetRecords());
    ASSERT_TRUE(game.playSolution());
    const RecordKey key = recordKeyOf(game.board().getOrigin());
    ASSERT_FALSE(key == (RecordKey{3, AddFromSome})) << "the day's puzzle has a table of its own";
    EXPECT_EQ(shell.savedRecords().table(key).won, 1);
    EXPECT_EQ(shell.savedRecords().table(key).hints, 0) << "hints before the reset are gone";
    EXPECT_TRUE(shell.savedRecords().solvedOn(dayOfUnixTime(shell.now)));
}

TEST(DayResult, TellsHowTheDayWentAndNothingOfTheSolution) {
    DayResult result{dayOfDate({2026, 12, 10}), Hard, 83, 5, 0, 3, "3FVSVCMMD7"};
    EXPECT_EQ(dayResultText(result),
              "Kestrane Zivadorured, puzzle of 2026-12-10 (Hard)\n"
              "Solved in 01:23: 5 changes, no hints\n3 days in a row\nPuzzle code 3FVSVCMMD7");
    // On the page a last line links to the day.
    result = {dayOfDate({2026, 12, 9}), AsDesigned, 4000, 1, 1, 1, "3G2T5858KN"};
    EXPECT_EQ(dayResultText(result, "https://example.org/game/"),
              "Kestrane Zivadorured, puzzle of 2026-12-09\nSolved in 1:06:40: 1 change, 1 hint\n"
              "Puzzle code 3G2T5858KN\nhttps://example.org/game/#d=2026-12-09");
}

TEST_F(SessionExtrasTest, TodaysResultIsCopiedOnceItIsSolvedWithItsHints) {
    game.command(command::CopyTodaysResult);
    EXPECT_TRUE(shell.copied.empty());
    EXPECT_TRUE(shell.wasHeard("Solve today's puzzle to share its result."));

    shell.now += 2 * 86400;
    const CalendarDay day = dayOfUnixTime(shell.now);
    game.command(command::TodaysPuzzle);
    game.tick();
    game.tick();
    game.command(command::Hint);
    ASSERT_TRUE(game.playSolution());
    const std::string code = puzzleCode(game.board().getOrigin());
    game.command(command::CopyTodaysResult);
    const DayResult expected{
        day, gradeOf(measurePuzzle(game.board())), 2, game.board().getRequiredMoves(), 1, 1, code};
    EXPECT_EQ(shell.copied, dayResultText(expected));
    EXPECT_NE(shell.copied.find(dayText(day)), std::string::npos);
    EXPECT_EQ(shell.toldCopied, "Today's result copied.");

    // A puzzle of Next won afterwards leaves today's result as it was.
    shell.copied.clear();
    next();
    ASSERT_TRUE(game.playSolution());
    game.command(command::CopyTodaysResult);
    EXPECT_EQ(shell.copied, dayResultText(expected));
    // The next day it is no longer today's.
    shell.now += 86400;
    shell.copied.clear();
    game.command(command::CopyTodaysResult);
    EXPECT_TRUE(shell.copied.empty());
}

TEST_F(SessionExtrasTest, TodaysPuzzleSaysItsGradeAndACodeClaimsNone) {
    shell.now += 2 * 86400;  // a day of a grade for sure
    ASSERT_GE(dayOfUnixTime(shell.now), kFirstGradedDay);
    game.command(command::TodaysPuzzle);
    const Difficulty grade = gradeOf(measurePuzzle(game.board()));
    ASSERT_NE(grade, AsDesigned);
    EXPECT_EQ(shell.title(), titleOf(dayOfUnixTime(shell.now), grade));
    EXPECT_EQ(shell.window().link, "#d=" + dayText(dayOfUnixTime(shell.now)));
    EXPECT_EQ(game.shell().description().rfind(difficultyName(grade), 0), 0u);

    giveUp();
    ASSERT_TRUE(game.session().playPuzzle(puzzleCode(game.board().getOrigin())));
    EXPECT_EQ(shell.title(), titleOf(std::nullopt, AsDesigned));
}

// ---- Past days' puzzles ----

TEST_F(SessionExtrasTest, PastPuzzleAsksForADayFromTheFirstPuzzlesToToday) {
    shell.now += 5 * 86400;
    EXPECT_EQ(shell.titles, std::vector<std::string>{"Kestrane Zivadorured"});
    game.command(command::PastPuzzle);
    const std::vector<std::pair<CalendarDay, CalendarDay>> asked = {
        {dayFromText("2026-12-08").value(), dayOfUnixTime(shell.now)}};
    ASSERT_EQ(shell.questions.size(), 1u);
    EXPECT_EQ(shell.questions[0].kind, Question::Day);
    EXPECT_EQ(std::make_pair(shell.questions[0].first, shell.questions[0].today), asked[0]);
    EXPECT_EQ(shell.titles.size(), 1u) << "asking starts no puzzle";
}

TEST_F(SessionExtrasTest, APastDayPlaysThatDaysPuzzleWithItsDayAndGrade) {
    shell.now += 5 * 86400;  // 2026-12-13
    const CalendarDay day = dayFromText("2026-12-10").value();
    ASSERT_TRUE(game.session().playDay(day));
    const PuzzleOrigin origin = game.board().getOrigin();
    EXPECT_EQ(puzzleCode(origin), puzzleCode(puzzleOfDay(day, &game.catalogue()).value()));
    EXPECT_EQ(shell.title(), titleOf(day, gradeOfOrigin(origin)));

    // The day before the graded days keeps the puzzle it had, and no grade.
    const CalendarDay first = dayFromText("2026-12-08").value();
    ASSERT_TRUE(game.session().playDay(first));
    EXPECT_EQ(puzzleCode(game.board().getOrigin()), "3MNWJ7CXSM");
    EXPECT_EQ(shell.title(), titleOf(first, AsDesigned));
    EXPECT_EQ(shell.window().link, "#d=2026-12-08");

    // A puzzle of Next has no day.
    giveUp();
    next();
    EXPECT_EQ(shell.title(), titleOf(std::nullopt, AsDesigned));
}

TEST_F(SessionExtrasTest, ADayStillToComeOrBeforeTheFirstPuzzleIsRefused) {
    const CalendarDay today = dayOfUnixTime(shell.now);
    next();
    const size_t started = shell.titles.size();
    const PuzzleOrigin shown = game.board().getOrigin();
    EXPECT_FALSE(game.session().playDay(today + 1));
    EXPECT_FALSE(game.session().playDay(dayFromText("2026-12-07").value()));
    EXPECT_EQ(shell.titles.size(), started);
    EXPECT_EQ(game.board().getOrigin(), shown);
    EXPECT_EQ(table().played, 0) << "the game on show goes on";
}

TEST_F(SessionExtrasTest, APastDayCountsInItsTableButNeitherExtendsNorBreaksTheDaysInARow) {
    // Solved on 2026-12-08, not on 2026-12-09; it is 2026-12-10 now.
    game.command(command::TodaysPuzzle);
    ASSERT_TRUE(game.playSolution());
    const CalendarDay first = dayOfUnixTime(shell.now);
    shell.now += 2 * 86400;
    const CalendarDay today = dayOfUnixTime(shell.now);
    const DailyRecord before = shell.savedRecords().daily();
    ASSERT_EQ(before.lastSolved, std::optional<CalendarDay>(first));
    ASSERT_EQ(before.run, 1);

    // 2026-12-09 solved late would have joined the two days.
    ASSERT_TRUE(game.session().playDay(today - 1));
    const RecordKey key = recordKeyOf(game.board().getOrigin());
    const TableRecord tableBefore = shell.savedRecords().table(key);
    ASSERT_TRUE(game.playSolution());
    EXPECT_EQ(shell.savedRecords().table(key).played, tableBefore.played + 1);
    EXPECT_EQ(shell.savedRecords().table(key).won, tableBefore.won + 1);
    EXPECT_EQ(shell.savedRecords().daily(), before);
    EXPECT_FALSE(shell.savedRecords().solvedOn(today - 1));
    // Nor is it today's result to share.
    game.command(command::CopyTodaysResult);
    EXPECT_TRUE(shell.copied.empty());

    // Today's own puzzle starts a run of its own; a past day won after it leaves it be.
    game.command(command::TodaysPuzzle);
    ASSERT_TRUE(game.playSolution());
    EXPECT_EQ(shell.savedRecords().daysInARow(today), 1);
    ASSERT_TRUE(game.session().playDay(today - 1));
    ASSERT_TRUE(game.playSolution());
    EXPECT_EQ(shell.savedRecords().daysInARow(today), 1);
    EXPECT_TRUE(shell.savedRecords().solvedOn(today));
    game.command(command::CopyTodaysResult);
    EXPECT_NE(shell.copied.find(dayText(today)), std::string::npos) << "today's result stays";
}

TEST_F(SessionExtrasTest, TodayChosenAmongThePastDaysIsTodaysPuzzle) {
    shell.now += 86400;
    const CalendarDay today = dayOfUnixTime(shell.now);
    ASSERT_TRUE(game.session().playDay(today));
    EXPECT_EQ(puzzleCode(game.board().getOrigin()),
              puzzleCode(puzzleOfDay(today, &game.catalogue()).value()));
    ASSERT_TRUE(game.playSolution());
    EXPECT_TRUE(shell.savedRecords().solvedOn(today));
    EXPECT_EQ(shell.savedRecords().daysInARow(today), 1);
}

TEST_F(SessionExtrasTest, APastDaysGameKeptForTheNextRunStillLeavesTheDaysInARowAlone) {
    shell.keepsGames = true;
    shell.now += 86400;
    const CalendarDay today = dayOfUnixTime(shell.now);
    ASSERT_TRUE(game.session().playDay(today - 1));
    game.tick();
    game.session().end();
    ASSERT_TRUE(shell.keptGame);
    EXPECT_NE(shell.keptGame->find("\npast=1\n"), std::string::npos) << *shell.keptGame;

    HeadlessGame run(KZ_SOURCE_ROOT, GameSettings{3, AddFromSome}, 1, HeadlessGame::withExtras(),
                     [&](RecordingShell& next) {
                         next.now = shell.now;
                         next.keepsGames = true;
                         next.keptGame = shell.keptGame;
                         *next.store = *shell.store;
                     });
    ASSERT_TRUE(run.paintAll());
    EXPECT_EQ(puzzleCode(run.board().getOrigin()),
              puzzleCode(puzzleOfDay(today - 1, &run.catalogue()).value()));
    EXPECT_EQ(run.shell().title(),
              windowTitleText(English{}, puzzleCode(run.board().getOrigin()), today - 1,
                              gradeOfOrigin(run.board().getOrigin())));
    ASSERT_TRUE(run.playSolution());
    const Records records = run.shell().savedRecords();
    EXPECT_EQ(records.table(recordKeyOf(run.board().getOrigin())).won, 1);
    EXPECT_EQ(records.daily(), DailyRecord{});
}

TEST_F(SessionExtrasTest, TwoWindowsOfTheProgramLoseNoGameOfEither) {
    // The second window starts while the first one runs, on the same records.
    HeadlessGame other(KZ_SOURCE_ROOT, GameSettings{3, AddFromSome}, 1, HeadlessGame::withExtras(),
                       [&](RecordingShell& next) { next.shareRecordsWith(shell); });
    other.paintAll();

    game.board().randomSource().seed(11);
    other.board().randomSource().seed(12);
    next();
    ASSERT_TRUE(game.playSolution());
    auto [x, y] = HeadlessGame::centreOf(*other.screen().getNextButton());
    other.click(x, y);
    ASSERT_TRUE(other.playSolution());
    EXPECT_EQ(table().played, 2);
    EXPECT_EQ(table().won, 2);
    EXPECT_EQ(table().streak, 2);

    // Each window shows what the other added.
    game.command(command::Statistics);
    EXPECT_EQ(shell.shownPlayed, 2);
}

TEST_F(SessionExtrasTest, RecordsThatCannotBeWrittenAreKeptToldOnceAndWrittenLater) {
    shell.writable = false;
    game.board().randomSource().seed(5);
    next();
    ASSERT_TRUE(game.playSolution());
    EXPECT_EQ(shell.unsavedNotices, std::vector<bool>{true});
    next();
    giveUp();
    EXPECT_EQ(shell.unsavedNotices, std::vector<bool>{true}) << "told once";
    game.command(command::Statistics);
    EXPECT_EQ(shell.shownPlayed, 2) << "the games are kept meanwhile";
    EXPECT_EQ(shell.savedRecords().tables().size(), 0u);

    shell.writable = true;
    next();  // the next change stores them
    EXPECT_EQ((std::vector<bool>{true, false}), shell.unsavedNotices);
    EXPECT_EQ(table().played, 2);
    EXPECT_EQ(table().won, 1);
    EXPECT_EQ(table().givenUp, 1);
}

TEST_F(SessionExtrasTest, RecordsThatCannotBeWrittenAreTriedAgainOnATimerOnlyWhileTheyWait) {
    const uint32_t retry = SessionRecords::kRetryTimerId;
    RecordingHost& host = game.host();
    game.board().randomSource().seed(5);
    next();
    giveUp();
    ASSERT_EQ(table().played, 1);
    EXPECT_EQ(host.timers.count(retry), 0u) << "records written need no retry";

    shell.writable = false;
    next();
    giveUp();
    ASSERT_EQ(shell.unsavedNotices, std::vector<bool>{true});
    ASSERT_EQ(host.timers.count(retry), 1u) << "no retry while the records wait";
    EXPECT_EQ(host.timers[retry], SessionRecords::kRetryMs);
    const int saves = shell.saves;
    const int32_t clock = game.screen().getClockCounter()->getValue();
    game.session().timer(retry);
    EXPECT_EQ(shell.saves, saves);
    EXPECT_EQ(host.timers.count(retry), 1u) << "a retry that fails stops retrying";
    EXPECT_EQ(shell.unsavedNotices, std::vector<bool>{true}) << "told once";

    shell.writable = true;
    EXPECT_EQ(shell.saves, saves) << "written before the tick";
    game.session().timer(retry);
    EXPECT_EQ(shell.saves, saves + 1) << "the tick writes the waiting records";
    EXPECT_EQ(table().played, 2);
    EXPECT_EQ(table().givenUp, 2);
    EXPECT_EQ((std::vector<bool>{true, false}), shell.unsavedNotices) << "the notice goes";
    EXPECT_EQ(host.timers.count(retry), 0u) << "the retry goes on once the records are written";
    EXPECT_EQ(game.screen().getClockCounter()->getValue(), clock)
        << "the retry's ticks moved the game clock";

    // A tick that was on its way when the write succeeded writes nothing more.
    game.session().timer(retry);
    EXPECT_EQ(shell.saves, saves + 1);
    EXPECT_EQ(host.timers.count(retry), 0u);
}

TEST_F(SessionExtrasTest, ExportedRecordsComeBackAfterAResetAndCountOnce) {
    game.board().randomSource().seed(9);
    next();
    ASSERT_TRUE(game.playSolution());
    next();
    giveUp();
    game.command(command::ExportRecords);
    ASSERT_EQ(shell.asked(Question::SaveRecords), 1u);
    const std::string file = shell.questions.back().text;
    const TableRecord before = table();
    ASSERT_EQ(before.played, 2);

    EXPECT_EQ(game.session().importRecords(file), RecordsImport::Imported);
    EXPECT_EQ(table(), before) << "its own records brought back change nothing";
    game.session().resetRecords();
    EXPECT_EQ(table(), TableRecord{});
    for (int times = 0; times < 2; ++times) {
        EXPECT_EQ(game.session().importRecords(file), RecordsImport::Imported);
        EXPECT_EQ(table(), before);
    }
    EXPECT_EQ(game.session().importRecords("[Settings]\ndimensionsRange=3\n"),
              RecordsImport::NotRecords);
    shell.writable = false;
    EXPECT_EQ(game.session().importRecords(file), RecordsImport::NotStored);
    game.command(command::ImportRecords);
    EXPECT_EQ(shell.asked(Question::RecordsFile), 1u);
}

TEST_F(SessionExtrasTest, OnlyTheKeysOfTheExtraPlayAreTakenFromTheProgram) {
    next();
    EXPECT_TRUE(game.session().key(msg::KeyDown, 0x27));                // Right: the focus
    EXPECT_FALSE(game.session().key(msg::KeyDown, 0x70));               // F1 stays the menus'
    EXPECT_FALSE(game.session().key(msg::KeyDown, 'H', keyflag::Alt));  // a mnemonic
    EXPECT_FALSE(game.session().failed());
}

TEST_F(SessionExtrasTest, TheStateOfEveryGreyableCommandIsPushedOnceWhenItChanges) {
    // Before the first puzzle nothing can be undone, hinted, copied or shared.
    ASSERT_EQ(shell.commandChanges, 0) << "they stand greyed from the first push";
    for (uint16_t id : kGreyableCommands) {
        EXPECT_FALSE(shell.commandStates().enabled(id)) << id;
    }
    game.board().randomSource().seed(5);
    next();
    EXPECT_EQ(shell.commandChanges, 1);
    EXPECT_TRUE(shell.commandStates().hint);
    EXPECT_TRUE(shell.commandStates().enabled(command::CopyPuzzleCode));
    EXPECT_TRUE(shell.commandStates().enabled(command::Share));
    EXPECT_FALSE(shell.commandStates().undo);

    // A move makes Undo usable; pointer moves over the field change nothing and push nothing.
    const int before = shell.commandChanges;
    auto [x, y] = HeadlessGame::centreOf(*game.screen().getGiveUpButton());
    game.mouse(msg::MouseMove, 0, x, y);
    game.mouse(msg::MouseMove, 0, x + 1, y);
    EXPECT_EQ(shell.commandChanges, before);
    game.command(command::Hint);
    const auto hinted = ExtraPlayInspection::blinker(game.session()).getHintedStick();
    ASSERT_TRUE(hinted.has_value());
    const auto [sx, sy] = game.stickCentre(hinted->orientation, hinted->index);
    game.click(sx, sy);
    EXPECT_TRUE(shell.commandStates().undo) << "a stick changed or in hand can be taken back";

    giveUp();
    EXPECT_FALSE(shell.commandStates().undo);
    EXPECT_FALSE(shell.commandStates().hint);
    EXPECT_TRUE(shell.commandStates().puzzleOnShow) << "the puzzle given up can still be copied";
}

TEST_F(SessionExtrasTest, EveryPlaceTheFocusReachesIsPushedWithTheNameTheArrowsSay) {
    // Before the first puzzle: Quit and Next, the focus on Next.
    ASSERT_EQ(shell.focusPlaces.places.size(), 2u);
    EXPECT_EQ(shell.focusPlaces.places[0].name, "Quit");
    EXPECT_EQ(shell.focusPlaces.places[1].name, "Next");
    EXPECT_EQ(shell.focusPlaces.focused, 1u);

    game.board().randomSource().seed(11);
    next();
    const int32_t columns = game.board().getActiveColumns();
    const int32_t rows = game.board().getActiveRows();
    const std::vector<FocusPlace>& places = shell.focusPlaces.places;
    ASSERT_EQ(places.size(), static_cast<size_t>(2 + columns * (rows + 1) + (columns + 1) * rows));
    EXPECT_EQ(places[0].name, "Restart");
    EXPECT_EQ(places[1].name, "Give Up");
    EXPECT_EQ(places[2].name.rfind("horizontal match, row 1, column 1, ", 0), 0u) << places[2].name;
    EXPECT_EQ(
        places[2 + static_cast<size_t>(columns)].name.rfind("vertical match, row 1, column 1, ", 0),
        0u);
    for (const FocusPlace& place : places) {
        const bool onBoard = place.area.left >= game.board().getX() &&
                             place.area.right <= game.board().getX() + game.board().getWidth();
        EXPECT_EQ(place.isStick, onBoard) << place.name;
        EXPECT_EQ(
            place.isStick && place.holdsMatch,
            place.name.size() > 8 && place.name.compare(place.name.size() - 7, 7, "present") == 0)
            << place.name;
    }

    // Each arrow puts the focus on the place whose name it says.
    for (uint32_t arrow : {0x27u, 0x28u, 0x28u, 0x27u, 0x26u, 0x25u, 0x25u, 0x25u, 0x27u}) {
        game.key(msg::KeyDown, arrow);
        ASSERT_LT(shell.focusPlaces.focused, shell.focusPlaces.places.size());
        EXPECT_EQ(shell.focusPlaces.places[shell.focusPlaces.focused].name, shell.heard.back());
    }

    // A place asked for by a screen reader takes the focus; Space then adds a match there.
    const auto empty = std::find_if(places.begin(), places.end(),
                                    [](const FocusPlace& p) { return p.isStick && !p.holdsMatch; });
    ASSERT_NE(empty, places.end());
    const auto stick = static_cast<size_t>(empty - places.begin());
    ASSERT_TRUE(game.session().focusOn(stick));
    EXPECT_EQ(shell.focusPlaces.focused, stick);
    const std::string before = shell.focusPlaces.places[stick].name;
    game.key(msg::KeyDown, ' ');
    EXPECT_NE(shell.focusPlaces.places[stick].name, before) << "the state is part of the name";
    EXPECT_TRUE(shell.focusPlaces.places[stick].holdsMatch);
    // Pressed by a reader, as Space: the match goes again.
    ASSERT_TRUE(game.session().focusOn(0));
    ASSERT_TRUE(game.session().focusOn(stick, true));
    EXPECT_EQ(shell.focusPlaces.places[stick].name, before);
    EXPECT_EQ(game.screen().getMovesCounter()->getValue(), 0);
    EXPECT_FALSE(game.session().focusOn(places.size() + 5)) << "no such place";

    // Pointer moves that change nothing push nothing.
    const int pushed = shell.focusPlaceChanges;
    auto [x, y] = HeadlessGame::centreOf(*game.screen().getMovesCounter());
    game.mouse(msg::MouseMove, 0, x, y);
    game.mouse(msg::MouseMove, 0, x + 1, y);
    EXPECT_EQ(shell.focusPlaceChanges, pushed);
}

TEST_F(SessionExtrasTest, TheDescriptionKeepsTheClockCurrent) {
    game.board().randomSource().seed(3);
    next();
    for (int second = 1; second <= 3; ++second) {
        game.tick();
        const std::string clock = "time " + clockText(second) + ".";
        ASSERT_FALSE(shell.descriptions.empty());
        EXPECT_NE(shell.descriptions.back().find(clock), std::string::npos)
            << shell.descriptions.back();
    }
    giveUp();
    const size_t described = shell.descriptions.size();
    game.tick();
    EXPECT_EQ(shell.descriptions.size(), described) << "a stopped clock changes nothing";
}

TEST(SessionExtrasOff, TheExtraCommandsDoNothingWithoutThem) {
    HeadlessGame game(KZ_SOURCE_ROOT);
    game.paintAll();
    for (uint16_t id : {command::Undo, command::Hint, command::CopyPuzzleCode,
                        command::TodaysPuzzle, command::Statistics}) {
        EXPECT_TRUE(game.command(id));
    }
    EXPECT_FALSE(game.board().isActive());
    EXPECT_FALSE(game.session().playPuzzle("322222222N"));
    EXPECT_FALSE(game.session().key(msg::KeyDown, 0x27))
        << "without the extras every key is the program's";
    EXPECT_EQ(game.shell().commandChanges, 0) << "and no command is greyed";
    EXPECT_TRUE(game.shell().heard.empty());
    EXPECT_TRUE(game.shell().descriptions.empty());
    EXPECT_TRUE(game.shell().focusPlaces.places.empty());
    EXPECT_EQ(game.shell().marked(kDifficultyGroup), 0) << "no grade is offered";
    EXPECT_EQ(game.screen().getChildCount(), 22) << "the screen keeps its own children alone";
}

}  // namespace
}  // namespace kz
