#include <gtest/gtest.h>

#include <set>
#include <string>

#include "puzzle/calendar_day.h"
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
    // Puzzles already played must not change under a later release.
    EXPECT_EQ(puzzleCode(puzzleOfDay(dayOfDate({1970, 1, 1}))), "38AMQ9MEW7");
    EXPECT_EQ(puzzleCode(puzzleOfDay(dayOfDate({2026, 12, 8}))), "3MNWJ7CXSM");
    EXPECT_EQ(puzzleCode(puzzleOfDay(dayOfDate({2026, 12, 9}))), "3G2T5858KN");
    // From the first graded day on, the graded puzzles stay fixed the same way. (Before the
    // days were graded, these two were 3NGASWCWS4 and 3N9Q5V2A3X.)
    EXPECT_EQ(puzzleCode(puzzleOfDay(dayOfDate({2027, 1, 1}))), "39A5MWRPNX");
    EXPECT_EQ(puzzleCode(puzzleOfDay(dayOfDate({2028, 2, 29}))), "38JM3HJFS5");
}

TEST(TodaysPuzzle, FromTheFirstGradedDayEveryDayIsOfAGradeAndNeitherTrivialNorTedious) {
    TestBoard board;
    int32_t grades[4] = {};
    for (CalendarDay day = kFirstGradedDay; day < kFirstGradedDay + 150; ++day) {
        SCOPED_TRACE(dayText(day));
        ASSERT_TRUE(board.newPuzzleFrom(puzzleOfDay(day)));
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
    TestBoard board;
    TestBoard yesterday;
    std::set<std::string> codes;
    std::set<std::pair<int32_t, int32_t>> sizes;
    std::set<int32_t> kinds;
    const CalendarDay first = dayOfDate({2026, 1, 1});
    constexpr int kDays = 2 * 366;
    for (CalendarDay day = first; day < first + kDays; ++day) {
        const PuzzleOrigin origin = puzzleOfDay(day);
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
    EXPECT_EQ(codes.size(), static_cast<size_t>(kDays));
    EXPECT_EQ(sizes.size(), 9u);
    EXPECT_EQ(kinds.size(), 5u);
}

}  // namespace
}  // namespace kz
