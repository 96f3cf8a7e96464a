#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "puzzle/calendar_day.h"
#include "puzzle/puzzle_grade.h"
#include "puzzle/puzzle_origin.h"

namespace kz {

// The table a game counts in: the field size and action type as the menus name them (0 and
// 2..5; 0..5), since those are what a player picks and compares, Random and Mixed included.
struct RecordKey {
    int32_t fieldSize = 0;
    int32_t actionType = 0;

    bool operator==(const RecordKey& o) const {
        return fieldSize == o.fieldSize && actionType == o.actionType;
    }
    bool operator<(const RecordKey& o) const {
        return fieldSize != o.fieldSize ? fieldSize < o.fieldSize : actionType < o.actionType;
    }
};

bool isValidRecordKey(const RecordKey& key);

// The table of a puzzle started from a code, which knows the field and kind it was built
// with but not the settings: an N x N field counts as N, any other as Random (only a random
// size makes one), and the kind as the action type of its own name.
RecordKey recordKeyOf(const PuzzleOrigin& origin);

// The grades a game counts under besides its table: the grade Next drew the puzzle for, or
// the one today's puzzle says, and AsDesigned for every puzzle of no grade.
bool isValidGrade(int32_t grade);

// What the games of one table, or of one grade, came to. A game counts once, when it ends.
struct TableRecord {
    int64_t played = 0;                  // every game that ended: won, given up or left
    int64_t won = 0;                     // ended with YOU WIN!
    int64_t givenUp = 0;                 // ended with Give Up
    std::optional<int32_t> bestSeconds;  // the fastest win, in seconds of the game clock
    int64_t hints = 0;                   // hints taken in all these games together
    int64_t streak = 0;                  // wins since the last game that was not won
    int64_t bestStreak = 0;

    bool operator==(const TableRecord& o) const {
        return played == o.played && won == o.won && givenUp == o.givenUp &&
               bestSeconds == o.bestSeconds && hints == o.hints && streak == o.streak &&
               bestStreak == o.bestStreak;
    }
};

// Today's puzzles solved: the last day solved and the run of days in a row that ends there.
struct DailyRecord {
    std::optional<CalendarDay> lastSolved;
    int64_t run = 0;
    int64_t bestRun = 0;

    bool operator==(const DailyRecord& o) const {
        return lastSolved == o.lastSolved && run == o.run && bestRun == o.bestRun;
    }
};

// What a win changed, for the program to tell the player.
struct WinReport {
    int32_t seconds = 0;
    // Faster than every earlier win of the table; the first win of a table is one too.
    bool newBestTime = false;
    std::optional<int32_t> previousBest;
    int64_t streak = 0;
    // The puzzle of a day that had not been solved yet; for a day's puzzle, the days in a
    // row now.
    bool daySolved = false;
    int64_t daysInARow = 0;
};

// A game as it ended: all the records take from it. Counted again onto records read afresh
// (another window of the program may have added to them since), it changes them as it
// changed the ones in memory.
struct FinishedGame {
    enum class Outcome { Won, GivenUp, Left };

    RecordKey key;
    std::optional<CalendarDay> day;
    int64_t hints = 0;
    Outcome outcome = Outcome::Left;
    int32_t seconds = 0;  // of a win
    Difficulty grade = AsDesigned;
};

// The records of every table and of today's puzzles, and the game being played. The
// program reports the events of a game; each one that ends a game changes the records,
// which the program then stores at once. A game in progress is never stored: a game that
// never ends (the program killed outright) does not count.
class Records {
  public:
    // A game has started: a new puzzle from the settings, or one from a code, then with the
    // day when it is that day's puzzle, and the grade it was drawn for. A game still running
    // is first counted as left. True when that changed the records.
    bool gameStarted(const RecordKey& key, std::optional<CalendarDay> day = std::nullopt,
                     Difficulty grade = AsDesigned);
    // The player took a hint in the running game.
    void hintTaken();
    // The running game ended with YOU WIN! after that many seconds of the clock. Nothing
    // when no game was running (the win is then already counted).
    std::optional<WinReport> gameWon(int32_t seconds);
    // The running game ended with Give Up; false when no game was running.
    bool gameGivenUp();
    // The running game was left unsolved: Next, Exit, a signal or the end of the session.
    // It counts as played, not won. False when no game was running.
    bool gameLeft();

    bool inGame() const { return current_.has_value(); }

    // Counts a game that ended, in its table and its grade; for a win, what it changed in
    // its table.
    std::optional<WinReport> count(const FinishedGame& game);
    // The games ended through the calls above since the last take, oldest first.
    std::vector<FinishedGame> takeFinished();

    // The record of a table; all zero for one never played.
    TableRecord table(const RecordKey& key) const;
    const std::map<RecordKey, TableRecord>& tables() const { return tables_; }
    // The record of a grade; all zero for one never played.
    TableRecord grade(Difficulty grade) const;
    const std::map<Difficulty, TableRecord>& grades() const { return grades_; }
    const DailyRecord& daily() const { return daily_; }
    bool solvedOn(CalendarDay day) const { return daily_.lastSolved == day; }
    // The run of days in a row as it stands on a day: it lasts while yesterday's or
    // today's puzzle is solved.
    int64_t daysInARow(CalendarDay today) const;

    // For reading stored records. Keys that are not valid are not taken.
    void setTable(const RecordKey& key, const TableRecord& record);
    void setGrade(int32_t grade, const TableRecord& record);
    void setDaily(const DailyRecord& record) { daily_ = record; }
    // Takes the tables, grades and the day's run of other records; the running game stays.
    void setCounts(const Records& counts);

    bool operator==(const Records& o) const {
        return tables_ == o.tables_ && grades_ == o.grades_ && daily_ == o.daily_;
    }

  private:
    struct Game {
        RecordKey key;
        std::optional<CalendarDay> day;
        int64_t hints = 0;
        Difficulty grade = AsDesigned;
    };

    // Ends the running game that way, counts it and keeps it for takeFinished.
    std::optional<WinReport> endGame(FinishedGame::Outcome outcome, int32_t seconds);

    std::optional<Game> current_;
    std::vector<FinishedGame> finished_;
    std::map<RecordKey, TableRecord> tables_;
    std::map<Difficulty, TableRecord> grades_;
    DailyRecord daily_;
};

}  // namespace kz
