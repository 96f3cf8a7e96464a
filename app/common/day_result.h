#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "puzzle/calendar_day.h"
#include "puzzle/puzzle_grade.h"

namespace kz {

// A day's puzzle solved, as the player shares it: how it went, and nothing of the solution.
struct DayResult {
    CalendarDay day = 0;
    Difficulty grade = AsDesigned;  // AsDesigned: a day of no grade
    int32_t seconds = 0;
    int32_t changes = 0;
    int64_t hints = 0;
    int64_t daysInARow = 0;
    std::string code;
};

// A few lines to paste anywhere, e.g.
//   Kestrane Zivadorured, puzzle of 2026-12-10 (Hard)
//   Solved in 01:23: 5 changes, no hints
//   3 days in a row
//   Puzzle code 3FVSVCMMD7
// pageAddress: the address of the game's page; when given, a last line is the link that plays
// the day's puzzle there, e.g. https://example.org/game/#d=2026-12-10.
std::string dayResultText(const DayResult& result, const std::string& pageAddress = "");

// What a day's game records while it runs, so that its win can be shared.
class DayResultKeeper {
  public:
    // The day of the puzzle about to start, or nothing for any other puzzle.
    void starting(std::optional<CalendarDay> day) { startingDay_ = day; }
    // A game started: of the day given to starting, if any.
    void gameStarted();
    void hintTaken() { ++hints_; }
    // The game on show was won; when it was a day's, its result is kept.
    void won(const DayResult& shown);
    std::optional<CalendarDay> playingDay() const { return day_; }
    int64_t hintsTaken() const { return hints_; }
    // The result of the latest day's puzzle won, if any.
    const std::optional<DayResult>& latest() const { return result_; }

  private:
    std::optional<CalendarDay> startingDay_;
    std::optional<CalendarDay> day_;
    int64_t hints_ = 0;
    std::optional<DayResult> result_;
};

}  // namespace kz
