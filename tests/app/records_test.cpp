#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/common/records.h"
#include "app/common/records_merge.h"
#include "app/common/records_store.h"
#include "app/common/records_text.h"
#include "tests/support/memory_records.h"

namespace kz {
namespace {

using namespace std::string_literals;

constexpr RecordKey kRandomMixed{0, 0};
constexpr RecordKey kFourMove{4, 3};

TEST(Records, EveryWayAGameEndsCountsOnce) {
    Records records;
    EXPECT_FALSE(records.gameWon(10).has_value());  // no game yet: nothing counts
    EXPECT_FALSE(records.gameGivenUp());
    EXPECT_FALSE(records.gameLeft());

    // Won, then Next: the win counted and Next adds nothing.
    EXPECT_FALSE(records.gameStarted(kFourMove));
    ASSERT_TRUE(records.gameWon(30).has_value());
    EXPECT_FALSE(records.gameWon(30).has_value());
    EXPECT_FALSE(records.gameStarted(kFourMove));
    // Given up, then Next.
    EXPECT_TRUE(records.gameGivenUp());
    EXPECT_FALSE(records.gameLeft());
    EXPECT_FALSE(records.gameStarted(kFourMove));
    // Next in the middle of a game: the game left counts as played.
    EXPECT_TRUE(records.gameStarted(kFourMove));
    // Exit in the middle.
    EXPECT_TRUE(records.gameLeft());
    EXPECT_FALSE(records.inGame());

    const TableRecord table = records.table(kFourMove);
    EXPECT_EQ(table.played, 4);
    EXPECT_EQ(table.won, 1);
    EXPECT_EQ(table.givenUp, 1);
    EXPECT_EQ(table.bestSeconds, 30);
    EXPECT_EQ(records.table(kRandomMixed), TableRecord{});
    EXPECT_EQ(records.tables().size(), 1u);
}

TEST(Records, BestTimesStreaksAndHintsKeepToTheirTable) {
    Records records;
    const auto win = [&records](const RecordKey& key, int32_t seconds, int hints = 0) {
        records.gameStarted(key);
        for (int i = 0; i < hints; ++i) {
            records.hintTaken();
        }
        return *records.gameWon(seconds);
    };

    WinReport first = win(kFourMove, 90);
    EXPECT_TRUE(first.newBestTime);
    EXPECT_FALSE(first.previousBest.has_value());
    EXPECT_EQ(first.streak, 1);
    EXPECT_FALSE(win(kFourMove, 120).newBestTime);
    EXPECT_FALSE(win(kFourMove, 90).newBestTime);  // as fast is not faster
    WinReport faster = win(kFourMove, 45, 2);
    EXPECT_TRUE(faster.newBestTime);
    EXPECT_EQ(faster.previousBest, 90);
    EXPECT_EQ(faster.streak, 4);
    // Another table has its own times and streak.
    EXPECT_TRUE(win(kRandomMixed, 200).newBestTime);
    EXPECT_EQ(records.table(kRandomMixed).streak, 1);

    records.gameStarted(kFourMove);
    records.hintTaken();
    records.gameGivenUp();
    EXPECT_EQ(win(kFourMove, 60).streak, 1);
    records.gameStarted(kFourMove);
    records.gameStarted(kFourMove);  // the first one left by Next ends the streak too
    records.gameLeft();

    const TableRecord table = records.table(kFourMove);
    EXPECT_EQ(table.played, 8);
    EXPECT_EQ(table.won, 5);
    EXPECT_EQ(table.bestSeconds, 45);
    EXPECT_EQ(table.hints, 3);
    EXPECT_EQ(table.streak, 0);
    EXPECT_EQ(table.bestStreak, 4);
}

TEST(Records, TodaysPuzzleIsRememberedForItsDay) {
    Records records;
    const CalendarDay day = dayOfDate({2026, 12, 8});
    const auto solveDaily = [&records](CalendarDay on) {
        records.gameStarted({5, 3}, on);
        return *records.gameWon(100);
    };

    EXPECT_FALSE(records.solvedOn(day));
    records.gameStarted({5, 3}, day);
    records.gameGivenUp();  // giving up solves nothing
    EXPECT_FALSE(records.solvedOn(day));

    WinReport report = solveDaily(day);
    EXPECT_TRUE(report.daySolved);
    EXPECT_EQ(report.daysInARow, 1);
    EXPECT_TRUE(records.solvedOn(day));
    report = solveDaily(day);  // the same day again counts as a game, not as a day
    EXPECT_FALSE(report.daySolved);
    EXPECT_EQ(report.daysInARow, 1);
    EXPECT_EQ(records.table({5, 3}).won, 2);

    EXPECT_EQ(solveDaily(day + 1).daysInARow, 2);
    EXPECT_EQ(records.daysInARow(day + 1), 2);
    EXPECT_EQ(records.daysInARow(day + 2), 2);  // today's can still be solved
    EXPECT_EQ(records.daysInARow(day + 3), 0);
    EXPECT_FALSE(solveDaily(day - 5).daySolved);  // an older day finished late moves nothing
    EXPECT_EQ(solveDaily(day + 3).daysInARow, 1);
    EXPECT_EQ(records.daily(), (DailyRecord{day + 3, 1, 2}));
}

TEST(Records, APuzzleFromACodeCountsUnderItsFieldAndKind) {
    EXPECT_EQ(recordKeyOf({1, 4, 4, MoveFromSome}), (RecordKey{4, 3}));
    EXPECT_EQ(recordKeyOf({1, 3, 5, RemoveFromSome}), (RecordKey{0, 5}));
    EXPECT_EQ(recordKeyOf({1, 2, 2, AddFromNone}), (RecordKey{2, 1}));
}

// Records of several tables and a daily run, as stored text.
Records sampleRecords() {
    Records records;
    records.setTable({0, 0}, {10, 7, 2, 45, 3, 2, 4});
    records.setTable({3, 2}, {1, 0, 1, std::nullopt, 0, 0, 0});
    records.setTable({5, 5}, {999999999999, 5, 0, 215999, 12, 5, 5});
    records.setDaily({dayOfDate({2026, 12, 8}), 3, 5});
    return records;
}

constexpr const char* kSampleText =
    "# Kestrane Zivadorured records\n"
    "version=1\n"
    "table size=0 type=0 played=10 won=7 given-up=2 best-time=45 hints=3 streak=2 "
    "best-streak=4\n"
    "table size=3 type=2 played=1 won=0 given-up=1 hints=0 streak=0 best-streak=0\n"
    "table size=5 type=5 played=999999999999 won=5 given-up=0 best-time=215999 hints=12 "
    "streak=5 best-streak=5\n"
    "daily last-solved=2026-12-08 run=3 best-run=5\n";

TEST(RecordsText, WritesTheKnownTextAndReadsItBack) {
    EXPECT_EQ(writeRecordsText(sampleRecords()), kSampleText);
    const RecordsText read = readRecordsText(kSampleText);
    EXPECT_EQ(read.records, sampleRecords());
    EXPECT_FALSE(read.fromNewerVersion());
    EXPECT_EQ(writeRecordsText(Records{}), "# Kestrane Zivadorured records\nversion=1\n");

    std::string crlf;
    for (char c : std::string(kSampleText)) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(readRecordsText(crlf).records, sampleRecords());
}

TEST(RecordsText, ATextCutAnywhereKeepsEveryWholeLine) {
    const std::string text = kSampleText;
    for (size_t cut = 0; cut < text.size(); ++cut) {
        const std::string kept = text.substr(0, text.rfind('\n', cut == 0 ? 0 : cut - 1) + 1);
        const Records expected = readRecordsText(cut == 0 ? "" : kept).records;
        EXPECT_EQ(readRecordsText(text.substr(0, cut)).records, expected) << "cut at " << cut;
    }
    // The expectation above is not empty for a cut after the first table.
    EXPECT_EQ(readRecordsText(text.substr(0, text.find("table size=3"))).records.tables().size(),
              1u);
}

TEST(RecordsText, ADamagedLineLosesOnlyItself) {
    const std::string good =
        "table size=4 type=3 played=5 won=2 given-up=1 best-time=30 hints=0 "
        "streak=1 best-streak=2\n";
    const std::vector<std::string> damaged = {
        "table size=2 type=1 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1\n",
        "table size=2 type=1 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2 colour=red\n",
        "table size=2 type=1 played=5 won=2 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "table size=2 type=1 played=-5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "table size=2 type=1 played=5x won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "table size=2 type=1 played=1 won=2 given-up=0 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "table size=2 type=1 played=5 won=3 given-up=3 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "table size=2 type=1 played=5 won=2 given-up=1 best-time=30 hints=0 streak=3 "
        "best-streak=2\n",
        "table size=2 type=1 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=3\n",
        "table size=2 type=1 played=5 won=2 given-up=1 hints=0 streak=1 best-streak=2\n",
        "table size=2 type=1 played=5 won=0 given-up=1 best-time=30 hints=0 streak=0 "
        "best-streak=0\n",
        "table size=2 type=1 played=5 won=2 given-up=1 best-time=216000 hints=0 streak=1 "
        "best-streak=2\n",
        "table size=1 type=1 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "table size=6 type=1 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "table size=2 type=6 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "table size=2 type=1 played=9999999999999 won=2 given-up=1 best-time=30 hints=0 "
        "streak=1 best-streak=2\n",
        "table size=2 type=1 played=5 =2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "daily last-solved=2026-02-30 run=1 best-run=1\n",
        "daily last-solved=2026-12-08 run=0 best-run=1\n",
        "daily last-solved=2026-12-08 run=2 best-run=1\n",
        "daily run=2 best-run=3\n",
        "\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR\n",
        "tables size=2 type=1\n",
        "[Settings]\ndimensionsRange=3\n",
    };
    std::string text = "version=1\n" + good;
    for (const std::string& line : damaged) {
        text += line;
    }
    text += "daily last-solved=2026-12-08 run=1 best-run=4\n";
    const Records records = readRecordsText(text).records;
    ASSERT_EQ(records.tables().size(), 1u);
    EXPECT_EQ(records.table({4, 3}), (TableRecord{5, 2, 1, 30, 0, 1, 2}));
    EXPECT_EQ(records.daily(), (DailyRecord{dayOfDate({2026, 12, 8}), 1, 4}));

    // Each damaged line alone gives clean records.
    for (const std::string& line : damaged) {
        EXPECT_EQ(readRecordsText(line).records, Records{}) << line;
    }
}

TEST(RecordsText, TheVersionLineTellsARecordsTextOfALaterRelease) {
    EXPECT_FALSE(readRecordsText("").fromNewerVersion());
    EXPECT_FALSE(readRecordsText("version=1\n").fromNewerVersion());
    EXPECT_FALSE(readRecordsText("version=one\n").fromNewerVersion());
    const RecordsText later =
        readRecordsText(std::string("version=2\n") + kSampleText + "trophy name=first-win\n");
    EXPECT_TRUE(later.fromNewerVersion());
    // What this release understands of it is still shown.
    EXPECT_EQ(later.records, sampleRecords());
}

TEST(RecordsText, LinesNotTakenAreWrittenBackAsTheyWere) {
    const std::string foreign =
        "# written by hand\n"
        "medal kind=gold\n"
        "table size=3 type=2 played=1 won=5 given-up=0 best-time=3 hints=0 streak=0 "
        "best-streak=0\n"
        "a NUL \0 and \xff bytes\n"
        "table size=2 type=1 played=1 won=0 given-up=1 hints=0 streak=0 best-streak=0 "
        "from=NotAnId\n"s;
    RecordsText read = readRecordsText(std::string(kSampleText) + foreign + "# cut comment");
    EXPECT_EQ(read.records, sampleRecords());
    EXPECT_EQ(read.keptLines, foreign + "# cut comment\n");
    const std::string written = writeRecordsText(read);
    EXPECT_EQ(written, std::string(kSampleText) + foreign + "# cut comment\n");
    // Read and written again, nothing changes.
    EXPECT_EQ(writeRecordsText(readRecordsText(written)), written);

    // A record line far longer than any written is damage, kept but not taken.
    const std::string longLine = "table" + std::string(kLongestRecordsLine, ' ') +
                                 "size=4 type=3 played=5 won=2 given-up=1 best-time=30 "
                                 "hints=0 streak=1 best-streak=2\n";
    read = readRecordsText(longLine);
    EXPECT_EQ(read.records, Records{});
    EXPECT_EQ(read.keptLines, longLine);
    EXPECT_FALSE(read.anyRecords);
}

TEST(RecordsText, ANulOrAnyByteNeverHidesTheLinesAfterIt) {
    const std::string text = "# \0\0\0\n"s + "\xef\xbb\xbf\x01\n" + kSampleText;
    EXPECT_EQ(readRecordsText(text).records, sampleRecords());
}

TEST(RecordsText, ALargeTextKeepsEveryValidLine) {
    // 10 MB of comments after the records, and a record after them.
    std::string text = kSampleText;
    const std::string comment = "# " + std::string(98, 'x') + "\n";
    while (text.size() < 10'000'000) {
        text += comment;
    }
    text += "table size=2 type=4 played=1 won=0 given-up=1 hints=0 streak=0 best-streak=0\n";
    const RecordsText read = readRecordsText(text);
    EXPECT_EQ(read.records.tables().size(), 4u);
    EXPECT_EQ(read.records.table({2, 4}).played, 1);
    EXPECT_EQ(read.keptLines.size() % comment.size(), 0u);
}

// Games counted since the records were read, the way a session keeps them.
std::vector<FinishedGame> someGames() {
    return {{{3, 2}, std::nullopt, 1, FinishedGame::Outcome::Won, 40},
            {{3, 2}, std::nullopt, 0, FinishedGame::Outcome::GivenUp, 0},
            {{0, 0}, std::nullopt, 0, FinishedGame::Outcome::Won, 20}};
}

std::optional<RecordsText> addGames(TextMedium& medium, const std::vector<FinishedGame>& games) {
    return updateRecords(medium, [&games](RecordsText& text) {
        for (const FinishedGame& game : games) {
            text.records.count(game);
        }
    });
}

TEST(RecordsStore, RecordsComeBackAsTheyWereStored) {
    MemoryMedium medium;
    EXPECT_EQ(loadRecords(medium), Records{});
    ASSERT_TRUE(storeRecords(medium, sampleRecords()));
    EXPECT_EQ(loadRecords(medium), sampleRecords());
    const std::string id = loadRecordsText(medium).id;
    EXPECT_TRUE(isValidRecordsId(id));

    medium.writable = false;
    EXPECT_FALSE(storeRecords(medium, Records{}));  // a failed write says so
    medium.writable = true;
    medium.lockable = false;
    EXPECT_FALSE(storeRecords(medium, Records{}));  // and so does a lock not had
    EXPECT_EQ(loadRecords(medium), sampleRecords());
    medium.lockable = true;
    ASSERT_TRUE(addGames(medium, {}));
    EXPECT_EQ(loadRecordsText(medium).id, id) << "a store keeps its id";
}

TEST(RecordsStore, EachWriterAddsItsGamesToWhatIsStoredNow) {
    // Two windows read the same records; each stores only the games it counted.
    MemoryMedium medium;
    ASSERT_TRUE(storeRecords(medium, sampleRecords()));
    Records expected = sampleRecords();
    for (const FinishedGame& game : someGames()) {
        ASSERT_TRUE(addGames(medium, {game}));
        expected.count(game);
    }
    EXPECT_EQ(loadRecords(medium), expected);
    EXPECT_EQ(loadRecords(medium).table({3, 2}).played, 3);
}

TEST(RecordsStore, ARecordsTextOfALaterReleaseIsUpdatedAndKeepsWhatItHeld) {
    const std::string later = std::string("version=2\n") + kSampleText + "trophy name=first\n";
    MemoryMedium medium(later);
    EXPECT_EQ(loadRecords(medium), sampleRecords());
    ASSERT_TRUE(addGames(medium, someGames()));
    const std::string& written = medium.stored.text;
    EXPECT_NE(written.find("version=2\n"), std::string::npos);
    EXPECT_NE(written.find("\ntrophy name=first\n"), std::string::npos);
    EXPECT_EQ(loadRecords(medium).table({3, 2}).played, 3);
    EXPECT_EQ(loadRecords(medium).table({0, 0}).won, 8);
}

TEST(RecordsStore, WhatCannotBeReadIsLeftAloneAndForeignTextIsKept) {
    MemoryMedium unusable;
    unusable.stored = {TextMedium::State::Unusable, {}};
    EXPECT_EQ(loadRecords(unusable), Records{});
    EXPECT_FALSE(storeRecords(unusable, sampleRecords()));
    EXPECT_EQ(unusable.writes, 0);

    const std::string settings = "[Settings]\ndimensionsRange=3\n";
    MemoryMedium foreign(settings + "\x01\x02");
    EXPECT_EQ(loadRecords(foreign), Records{});
    EXPECT_TRUE(storeRecords(foreign, sampleRecords()));
    EXPECT_EQ(loadRecords(foreign), sampleRecords());
    EXPECT_EQ(foreign.stored.text.substr(foreign.stored.text.size() - settings.size()), settings);
}

// The text a store exports: its records as they are stored, with its id.
std::string exported(MemoryMedium& medium) {
    return writeRecordsText(loadRecordsText(medium));
}

std::optional<RecordsText> import(MemoryMedium& medium, const std::string& file) {
    return updateRecords(
        medium, [&file](RecordsText& text) { importRecords(text, readRecordsText(file)); });
}

TEST(RecordsImport, ImportingTwiceOrOnesOwnRecordsCountsNothingTwice) {
    MemoryMedium home;
    ASSERT_TRUE(storeRecords(home, sampleRecords()));
    const std::string homeFile = exported(home);

    // Its own records brought back change nothing.
    ASSERT_TRUE(import(home, homeFile));
    EXPECT_EQ(loadRecords(home), sampleRecords());

    // Another computer's records add to these, once however often they come.
    MemoryMedium away;
    ASSERT_TRUE(addGames(away, someGames()));
    const std::string awayFile = exported(away);
    ASSERT_TRUE(import(home, awayFile));
    const Records both = loadRecords(home);
    EXPECT_EQ(both.table({3, 2}).played, 3);
    EXPECT_EQ(both.table({0, 0}).played, 11);
    EXPECT_EQ(both.table({0, 0}).bestSeconds, 20);
    EXPECT_EQ(both.table({0, 0}).bestStreak, 4);
    EXPECT_EQ(both.table({0, 0}).streak, 2) << "the streak is this store's own";
    ASSERT_TRUE(import(home, awayFile));
    EXPECT_EQ(loadRecords(home), both);

    // The other computer takes the combined records back: the games come home once each.
    ASSERT_TRUE(import(away, exported(home)));
    for (const RecordKey key : {RecordKey{0, 0}, RecordKey{3, 2}, RecordKey{5, 5}}) {
        EXPECT_EQ(loadRecords(away).table(key).played, both.table(key).played);
    }
    // Later games there come over as the later copy of that store.
    ASSERT_TRUE(addGames(away, {someGames()[0]}));
    ASSERT_TRUE(import(home, exported(away)));
    EXPECT_EQ(loadRecords(home).table({3, 2}).played, 4);
    EXPECT_EQ(loadRecords(home).table({0, 0}).played, 11);

    // A file without an id (written before there were ids) counts once too.
    const std::string plain = writeRecordsText(sampleRecords());
    MemoryMedium fresh;
    ASSERT_TRUE(import(fresh, plain));
    ASSERT_TRUE(import(fresh, plain));
    EXPECT_EQ(loadRecords(fresh), sampleRecords());
}

TEST(RecordsImport, ExportResetImportBringsTheRecordsBack) {
    MemoryMedium medium;
    ASSERT_TRUE(storeRecords(medium, sampleRecords()));
    const std::string file = exported(medium);
    // A reset starts anew under a new id, as the session's does.
    ASSERT_TRUE(updateRecords(medium, [](RecordsText& text) {
        text.records = Records();
        text.imported.clear();
        text.id = newRecordsId();
    }));
    ASSERT_TRUE(addGames(medium, {someGames()[1]}));
    ASSERT_TRUE(import(medium, file));
    ASSERT_TRUE(import(medium, file));
    const Records back = loadRecords(medium);
    EXPECT_EQ(back.table({0, 0}), sampleRecords().table({0, 0}));
    EXPECT_EQ(back.table({3, 2}).played, 2);
    EXPECT_EQ(back.daily(), sampleRecords().daily());
}

// ---- Grades ----

TEST(RecordsGrades, AGameCountsInItsTableAndUnderTheGradeItWasPlayedAt) {
    Records records;
    records.gameStarted(kFourMove, std::nullopt, Hard);
    records.hintTaken();
    ASSERT_TRUE(records.gameWon(50));
    records.gameStarted(kFourMove, std::nullopt, Hard);
    EXPECT_TRUE(records.gameGivenUp());
    records.gameStarted(kRandomMixed, std::nullopt, Hard);
    const std::optional<WinReport> slower = records.gameWon(70);
    ASSERT_TRUE(slower);
    EXPECT_TRUE(slower->newBestTime) << "the best time told is the table's, not the grade's";
    records.gameStarted(kFourMove);  // As designed or a code: no grade
    EXPECT_TRUE(records.gameLeft());

    // played, won, given up, best time, hints, streak, best streak
    EXPECT_EQ(records.grade(Hard), (TableRecord{3, 2, 1, 50, 1, 1, 1}));
    EXPECT_EQ(records.grade(AsDesigned), (TableRecord{1, 0, 0, std::nullopt, 0, 0, 0}));
    EXPECT_EQ(records.grade(Easy), TableRecord{});
    EXPECT_EQ(records.grades().size(), 2u);
    EXPECT_EQ(records.table(kFourMove), (TableRecord{3, 1, 1, 50, 1, 0, 1}));

    // Only the grades there are are taken.
    records.setGrade(4, TableRecord{1, 0, 0, std::nullopt, 0, 0, 0});
    records.setGrade(-1, TableRecord{1, 0, 0, std::nullopt, 0, 0, 0});
    EXPECT_EQ(records.grades().size(), 2u);
}

Records gradedRecords() {
    Records records = sampleRecords();
    records.setGrade(Hard, {4, 3, 1, 52, 1, 0, 2});
    records.setGrade(AsDesigned, {7, 4, 1, 45, 2, 2, 4});
    return records;
}

constexpr const char* kGradeLines =
    "grade difficulty=0 played=7 won=4 given-up=1 best-time=45 hints=2 streak=2 "
    "best-streak=4\n"
    "grade difficulty=3 played=4 won=3 given-up=1 best-time=52 hints=1 streak=0 "
    "best-streak=2\n";

// What a release from before the grade lines writes of a text: the lines it takes, then
// every line it does not take, the grade lines among them, as they were.
std::string writtenByAnOlderRelease(const std::string& text) {
    std::string taken;
    std::string kept;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start) + 1;
        const std::string line = text.substr(start, end - start);
        (line.rfind("grade ", 0) == 0 ? kept : taken) += line;
        start = end;
    }
    return taken + kept;
}

TEST(RecordsText, GradeLinesComeAfterTheTablesAndSurviveAnOlderRelease) {
    const std::string sample = kSampleText;
    const size_t daily = sample.find("daily ");
    const std::string expected = sample.substr(0, daily) + kGradeLines + sample.substr(daily);
    EXPECT_EQ(writeRecordsText(gradedRecords()), expected);
    EXPECT_EQ(readRecordsText(expected).records, gradedRecords());
    EXPECT_TRUE(readRecordsText(expected).keptLines.empty());
    EXPECT_TRUE(readRecordsText(kSampleText).records.grades().empty());

    // An older release keeps the grade lines at the end; read here again they count as
    // before, and the text is written as this release writes it.
    const std::string older = writtenByAnOlderRelease(expected);
    ASSERT_NE(older, expected);
    const RecordsText back = readRecordsText(older);
    EXPECT_EQ(back.records, gradedRecords());
    EXPECT_EQ(writeRecordsText(back), expected);
    EXPECT_EQ(readRecordsText(writtenByAnOlderRelease(expected + "grade difficulty=1 played=1 "
                                                                 "won=0 given-up=1 hints=0 "
                                                                 "streak=0 best-streak=0 "
                                                                 "from=77ab01\n"))
                  .imported.at("77ab01")
                  .grade(Easy)
                  .givenUp,
              1);
}

TEST(RecordsText, ADamagedOrLaterGradeLineIsKeptAndLosesOnlyItself) {
    const std::string good =
        "grade difficulty=2 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n";
    const std::vector<std::string> notTaken = {
        "grade difficulty=4 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "grade difficulty=-1 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "grade played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 best-streak=2\n",
        "grade difficulty=1 size=3 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "grade difficulty=1 played=5 won=6 given-up=0 best-time=30 hints=0 streak=1 "
        "best-streak=2\n",
        "grade difficulty=1 played=5 won=0 given-up=1 best-time=30 hints=0 streak=0 "
        "best-streak=0\n",
        "grade difficulty=1 played=5 won=2 given-up=1 hints=0 streak=1 best-streak=2\n",
        // A later release's field: not this release's to take, so kept as it is.
        "grade difficulty=1 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2 moves=40\n",
        "grade difficulty=1 played=5 won=2 given-up=1 best-time=30 hints=0 streak=1 "
        "best-streak=2 from=NotAnId\n",
    };
    std::string text = std::string(kSampleText) + good;
    std::string kept;
    for (const std::string& line : notTaken) {
        text += line;
        kept += line;
        EXPECT_EQ(readRecordsText(line).records, Records{}) << line;
    }
    const RecordsText read = readRecordsText(text);
    Records expected = sampleRecords();
    expected.setGrade(Medium, {5, 2, 1, 30, 0, 1, 2});
    EXPECT_EQ(read.records, expected);
    EXPECT_EQ(read.keptLines, kept);
    EXPECT_NE(writeRecordsText(read).find(kept), std::string::npos);
    // A line not taken names no store either, though its from= is good.
    for (const char* kind : {"grade difficulty=9", "table size=9 type=1"}) {
        const std::string line = std::string(kind) +
                                 " played=1 won=0 given-up=1 hints=0 streak=0 best-streak=0 "
                                 "from=77ab01\n";
        EXPECT_TRUE(readRecordsText(line).imported.empty()) << line;
    }
}

TEST(RecordsImport, GradesAddUpAcrossStoresAndComeOnceHoweverOftenImported) {
    MemoryMedium home;
    ASSERT_TRUE(storeRecords(home, gradedRecords()));
    MemoryMedium away;
    ASSERT_TRUE(
        addGames(away, {{{3, 2}, std::nullopt, 0, FinishedGame::Outcome::Won, 30, Hard},
                        {{0, 0}, std::nullopt, 1, FinishedGame::Outcome::GivenUp, 0, Easy}}));
    const std::string awayFile = exported(away);
    ASSERT_NE(awayFile.find("\ngrade difficulty=3 played=1 won=1 "), std::string::npos) << awayFile;

    ASSERT_TRUE(import(home, awayFile));
    const Records both = loadRecords(home);
    // Hard: the games of both, the best time of either, the streak this store's own.
    EXPECT_EQ(both.grade(Hard), (TableRecord{5, 4, 1, 30, 1, 0, 2}));
    EXPECT_EQ(both.grade(Easy), (TableRecord{1, 0, 1, std::nullopt, 1, 0, 0}));
    EXPECT_EQ(both.grade(AsDesigned), gradedRecords().grade(AsDesigned));
    ASSERT_TRUE(import(home, awayFile));
    ASSERT_TRUE(import(home, exported(home)));
    EXPECT_EQ(loadRecords(home), both);

    // A file of an older release, with no grade, adds its tables and no grade.
    MemoryMedium fresh;
    ASSERT_TRUE(import(fresh, kSampleText));
    EXPECT_EQ(loadRecords(fresh), sampleRecords());
    EXPECT_TRUE(loadRecords(fresh).grades().empty());
}

}  // namespace
}  // namespace kz
