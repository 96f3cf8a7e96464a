#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "puzzle/calendar_day.h"
#include "puzzle/embedded_catalogue.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/puzzle_grade.h"
#include "puzzle/todays_puzzle.h"
#include "test_board.h"

namespace kz {
namespace {

TEST(CalendarDay, DatesAndDaysAgree) {
    EXPECT_EQ(dayOfDate({1970, 1, 1}), 0);
    EXPECT_EQ(dayOfDate({1969, 12, 31}), -1);
    EXPECT_EQ(dayOfDate({2000, 3, 1}), 11017);
    EXPECT_EQ(dayOfDate({2026, 12, 8}), 20795);
    EXPECT_EQ(dayOfUnixTime(0), 0);
    EXPECT_EQ(dayOfUnixTime(86399), 0);
    EXPECT_EQ(dayOfUnixTime(-1), -1);             // before 1970 a day starts at its midnight too
    EXPECT_EQ(dayOfUnixTime(1796774400), 20796);  // 2026-12-09 00:00 UTC
    // A clock counting microseconds: the day's last instant is still that day, before 1970 as
    // after it, where dividing toward zero would give the next.
    EXPECT_EQ(dayOfUnixMicroseconds(-1), -1);
    EXPECT_EQ(dayOfUnixMicroseconds(-500000), -1);
    EXPECT_EQ(dayOfUnixMicroseconds(-86400LL * 1000000), -1);
    EXPECT_EQ(dayOfUnixMicroseconds(-86400LL * 1000000 - 1), -2);
    EXPECT_EQ(dayOfUnixMicroseconds(86400LL * 1000000 - 1), 0);
    EXPECT_EQ(dayOfUnixMicroseconds(1796774400LL * 1000000 + 999999), 20796);
    for (CalendarDay day = dayOfDate({1900, 1, 1}); day < dayOfDate({2101, 1, 1}); ++day) {
        ASSERT_EQ(dayOfDate(dateOfDay(day)), day);
        ASSERT_EQ(dayFromText(dayText(day)), day) << dayText(day);
    }
    EXPECT_EQ(dayText(dayOfDate({2028, 2, 29})), "2028-02-29");
}

TEST(CalendarDay, OnlyRealDatesAreRead) {
    for (const char* text :
         {"2027-02-29", "2100-02-29", "2026-13-01", "2026-00-10", "2026-04-31", "2026-12-8",
          "2026-12-08 ", "26-12-08", "2026/12/08", "2026-1a-08", ""}) {
        EXPECT_FALSE(dayFromText(text).has_value()) << text;
    }
    EXPECT_EQ(dayFromText("2000-02-29"), dayOfDate({2000, 2, 29}));
}

TEST(TodaysPuzzle, TheCodesOfPastDaysStayFixed) {
    const PuzzleCatalogue catalogue = embeddedCatalogue().value();
    // Puzzles already played must not change under a later release: the first day of all,
    // and every day from the first puzzle's to the day before the week's spread began.
    EXPECT_EQ(puzzleCode(puzzleOfDay(dayOfDate({1970, 1, 1}), &catalogue).value()), "38AMQ9MEW7");
    const char* const kBeforeTheSpread[] = {
        "3MNWJ7CXSM", "3G2T5858KN", "3FVSVCMMD7", "3EAJ6NK92P", "39E7WTGHD8", "3EEDDWA5HR",
        "3DFFGNPEM5", "3AM8XV8RV3", "3FNBMYXTCR", "3DT9YB4MJC", "3JKTV24DNB", "38AS4F7SHA",
        "3DRNMVQ823", "3D9HHS2CYN", "3G44MVW84W", "3EA7J2425Q", "3G4QX4RTQS", "3DV74634PB",
        "39JKF5TCJB", "3BVFHWRY8W", "3DWD9TCE44", "3A2V28KR68", "3DJVM684AS", "3AJH292E3M"};
    ASSERT_EQ(kFirstPuzzleDay + static_cast<CalendarDay>(std::size(kBeforeTheSpread)),
              kFirstSpreadDay);
    for (CalendarDay day = kFirstPuzzleDay; day < kFirstSpreadDay; ++day) {
        EXPECT_EQ(puzzleCode(puzzleOfDay(day, &catalogue).value()),
                  kBeforeTheSpread[static_cast<size_t>(day - kFirstPuzzleDay)])
            << dayText(day);
        // Those days need no catalogue; the days after them need it.
        EXPECT_EQ(puzzleOfDay(day, nullptr), puzzleOfDay(day, &catalogue));
    }
    EXPECT_FALSE(puzzleOfDay(kFirstSpreadDay, nullptr));
    EXPECT_FALSE(puzzleOfDay(kFirstSpreadDay + 400, nullptr));
    // From the spread's first day on, the days stay fixed the same way. (Before the spread
    // these two were 39A5MWRPNX and 38JM3HJFS5, and before the days were graded 3NGASWCWS4 and
    // 3N9Q5V2A3X.)
    EXPECT_EQ(dayOfDate({2027, 1, 1}), kFirstSpreadDay);
    EXPECT_EQ(puzzleCode(puzzleOfDay(dayOfDate({2027, 1, 1}), &catalogue).value()), "3FBC78FNHV");
    EXPECT_EQ(puzzleCode(puzzleOfDay(dayOfDate({2028, 2, 29}), &catalogue).value()), "38GC47GMXK");
}

TEST(TodaysPuzzle, FromTheFirstGradedDayEveryDayIsOfAGradeAndNeitherTrivialNorTedious) {
    const PuzzleCatalogue catalogue = embeddedCatalogue().value();
    TestBoard board;
    int32_t grades[4] = {};
    for (CalendarDay day = kFirstGradedDay; day < kFirstGradedDay + 150; ++day) {
        SCOPED_TRACE(dayText(day));
        ASSERT_TRUE(board.newPuzzleFrom(puzzleOfDay(day, &catalogue).value()));
        const PuzzleMeasure m = measurePuzzle(board);
        const Difficulty grade = gradeOf(m);
        EXPECT_NE(grade, AsDesigned);
        EXPECT_EQ(gradeOfPuzzle(board), grade);
        EXPECT_FALSE(isTrivial(m));
        EXPECT_FALSE(isTedious(m));
        ++grades[grade];
    }
    // Each grade comes up in a season of days.
    EXPECT_GT(grades[Easy], 5);
    EXPECT_GT(grades[Medium], 5);
    EXPECT_GT(grades[Hard], 5);
}

TEST(TodaysPuzzle, NeighbouringDaysGiveDifferentPuzzlesOfEveryShape) {
    const PuzzleCatalogue catalogue = embeddedCatalogue().value();
    TestBoard board;
    TestBoard yesterday;
    std::set<std::string> codes;
    std::set<std::pair<int32_t, int32_t>> sizes;
    std::set<int32_t> kinds;
    const CalendarDay first = dayOfDate({2026, 1, 1});
    for (CalendarDay day = first; day < kFirstSpreadDay; ++day) {
        const PuzzleOrigin origin = puzzleOfDay(day, &catalogue).value();
        ASSERT_TRUE(isPlayableOrigin(origin));
        EXPECT_GE(origin.columns, 3);
        EXPECT_GE(origin.rows, 3);
        codes.insert(puzzleCode(origin));
        sizes.insert({origin.columns, origin.rows});
        kinds.insert(origin.kind);

        ASSERT_TRUE(board.newPuzzleFrom(origin));
        if (day != first) {
            const bool sameField = board.getActiveColumns() == yesterday.getActiveColumns() &&
                                   board.getActiveRows() == yesterday.getActiveRows();
            EXPECT_FALSE(sameField && board.getStartSticks() == yesterday.getStartSticks() &&
                         board.getSolutionSticks() == yesterday.getSolutionSticks())
                << dayText(day);
        }
        ASSERT_TRUE(yesterday.newPuzzleFrom(origin));
    }
    EXPECT_EQ(codes.size(), static_cast<size_t>(kFirstSpreadDay - first));
    EXPECT_EQ(sizes.size(), 9u);
    EXPECT_EQ(kinds.size(), 5u);
}

TEST(TodaysPuzzle, TheWeekRunsFromSmallToLargeOverEveryKindAndNoPuzzleComesTwiceInAYear) {
    const PuzzleCatalogue catalogue = embeddedCatalogue().value();
    // Monday to Sunday: the side and the grade planned.
    const std::pair<FieldSize, Difficulty> week[7] = {
        {2, Easy}, {3, Easy}, {3, Medium}, {4, Medium}, {4, Hard}, {5, Medium}, {5, Hard}};
    TestBoard board;
    std::map<std::vector<uint8_t>, CalendarDay> lastSeen;
    std::set<std::pair<FieldSize, ActionType>> cells;
    int32_t asPlanned = 0;
    constexpr CalendarDay kDays = 3 * 365;
    for (CalendarDay day = kFirstSpreadDay; day < kFirstSpreadDay + kDays; ++day) {
        SCOPED_TRACE(dayText(day));
        const PuzzleOrigin origin = puzzleOfDay(day, &catalogue).value();
        const auto& [side, planned] = week[static_cast<size_t>((day + 3) % 7)];
        ASSERT_EQ(origin.columns, side);
        ASSERT_EQ(origin.rows, side);
        cells.insert({side, origin.kind});
        ASSERT_TRUE(board.newPuzzleFrom(origin));
        const PuzzleMeasure m = measurePuzzle(board);
        const Difficulty grade = gradeOf(m);
        EXPECT_NE(grade, AsDesigned);
        asPlanned += grade == planned ? 1 : 0;

        // The same start and instruction on the same field is the same puzzle.
        std::vector<uint8_t> key = board.getStartSticks().horizontal;
        key.insert(key.end(), board.getStartSticks().vertical.begin(),
                   board.getStartSticks().vertical.end());
        key.push_back(static_cast<uint8_t>(side));
        key.push_back(static_cast<uint8_t>(board.getMode()));
        key.push_back(static_cast<uint8_t>(board.getRequiredMoves()));
        key.push_back(static_cast<uint8_t>(board.getTargetSquares()));
        const auto seen = lastSeen.find(key);
        if (seen != lastSeen.end()) {
            EXPECT_GE(day - seen->second, 365) << "again after " << dayText(seen->second);
        }
        lastSeen[key] = day;
    }
    // Every kind on every side, and nearly every day the grade planned for its weekday.
    EXPECT_EQ(cells.size(), 4u * 5u);
    EXPECT_GT(asPlanned, kDays * 9 / 10);
}

}  // namespace
}  // namespace kz
