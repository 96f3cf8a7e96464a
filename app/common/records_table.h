#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/common/menu_text.h"
#include "app/common/records.h"
#include "app/common/translation.h"

namespace kz {

// The records as every program shows them to the player: a table with one row per field
// size and action type that has games, and two lines on today's puzzles.
constexpr int32_t kRecordsColumnCount = 9;
constexpr std::array<const char*, kRecordsColumnCount> kRecordsColumns = {
    N_("Field size"), N_("Action type"), N_("Played"), N_("Won"),        N_("Given up"),
    N_("Best time"),  N_("Hints"),       N_("Streak"), N_("Best streak")};
// The columns after the first two are numbers, set flush right.
constexpr int32_t kRecordsFirstNumberColumn = 2;

struct RecordsRow {
    RecordKey key;
    std::array<std::string, kRecordsColumnCount> cells;
};

// The tables played, in the order the menus list their field sizes and action types; the
// names are the menus' own.
std::vector<RecordsRow> recordsRows(const Records& records, const Translation& translation);

// The grades played, one row each beside the tables: the same counts, under the grade's
// name, Easy to Hard, then the puzzles of no grade (As Designed, codes).
constexpr int32_t kGradeColumnCount = 1 + kRecordsColumnCount - kRecordsFirstNumberColumn;
constexpr std::array<const char*, kGradeColumnCount> kGradeColumns = {
    N_("Grade"),     N_("Played"), N_("Won"),    N_("Given up"),
    N_("Best time"), N_("Hints"),  N_("Streak"), N_("Best streak")};
constexpr int32_t kGradeFirstNumberColumn = 1;
constexpr const char* kNoGradeName = N_("Ungraded");

struct GradeRow {
    Difficulty grade = AsDesigned;
    std::array<std::string, kGradeColumnCount> cells;
};

std::vector<GradeRow> gradeRows(const Records& records, const Translation& translation);

// Shown instead of the table before any game has ended.
constexpr const char* kNoRecordsText =
    N_("No games played yet. A game counts here once it ends: won, given up, or left for "
       "the next one.");

// "Today's puzzle: solved." or "Today's puzzle: not solved yet."
std::string todaysPuzzleText(const Translation& translation, const Records& records,
                             CalendarDay today);
// "Days in a row: 3 (best 5)."
std::string daysInARowText(const Translation& translation, const Records& records,
                           CalendarDay today);

// Nothing worth keeping: no table has a game and no day's puzzle was solved.
bool recordsEmpty(const Records& records);

// What a program tells the player when a win beat every earlier one of its table.
std::string newBestTimeText(const Translation& translation, const WinReport& report);

}  // namespace kz
