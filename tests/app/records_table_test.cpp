#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/common/clock_text.h"
#include "app/common/commands.h"
#include "app/common/records_table.h"
#include "puzzle/field_model.h"

namespace kz {
namespace {

TEST(RecordsTable, RowsFollowTheMenusAndNameWhatTheyShow) {
    Records records;
    // played, won, given up, best time, hints, streak, best streak
    const TableRecord threeAdd{5, 3, 1, 83, 2, 2, 3};
    TableRecord once;
    once.played = 1;
    records.setTable({0, Mixed}, once);
    records.setTable({3, MoveFromSome}, once);
    records.setTable({3, RemoveFromFull}, once);
    records.setTable({3, AddFromNone}, threeAdd);
    records.setTable({2, AddFromSome}, TableRecord{});  // never played: no row

    const std::vector<RecordsRow> rows = recordsRows(records, English{});
    ASSERT_EQ(rows.size(), 4u);
    using Cells = std::array<std::string, kRecordsColumnCount>;
    EXPECT_EQ(rows[0].cells,
              (Cells{"3 x 3", "Add From None", "5", "3", "1", "01:23", "2", "2", "3"}));
    // The menu lists Remove before Move, and Random after the sizes.
    EXPECT_EQ(rows[1].cells[1], "Remove From Full");
    EXPECT_EQ(rows[2].cells[1], "Move From Some");
    EXPECT_EQ(rows[3].cells[0], "Random");
    EXPECT_EQ(rows[3].cells[1], "Mixed");
    EXPECT_EQ(rows[3].cells[5], "\u2013") << "no best time before a win";
}

TEST(RecordsTable, GradeRowsGoFromEasyToHardThenTheUngraded) {
    Records records;
    TableRecord once;
    once.played = 1;
    records.setGrade(AsDesigned, once);
    records.setGrade(Hard, TableRecord{4, 3, 1, 52, 1, 0, 2});
    records.setGrade(Easy, once);
    records.setGrade(Medium, TableRecord{});  // never played: no row

    const std::vector<GradeRow> rows = gradeRows(records, English{});
    ASSERT_EQ(rows.size(), 3u);
    using Cells = std::array<std::string, kGradeColumnCount>;
    EXPECT_EQ(rows[0].cells, (Cells{"Easy", "1", "0", "0", "\u2013", "0", "0", "0"}));
    EXPECT_EQ(rows[1].cells, (Cells{"Hard", "4", "3", "1", "00:52", "1", "0", "2"}));
    EXPECT_EQ(rows[2].grade, AsDesigned);
    EXPECT_EQ(rows[2].cells[0], "Ungraded");
    // The counts stand under the same titles as the table's.
    for (int32_t column = kGradeFirstNumberColumn; column < kGradeColumnCount; ++column) {
        EXPECT_STREQ(kGradeColumns[static_cast<size_t>(column)],
                     kRecordsColumns[static_cast<size_t>(column - kGradeFirstNumberColumn +
                                                         kRecordsFirstNumberColumn)]);
    }

    // Grades alone are records worth keeping, and a reset worth offering.
    Records gradesOnly;
    EXPECT_TRUE(recordsEmpty(gradesOnly));
    gradesOnly.setGrade(Easy, once);
    EXPECT_FALSE(recordsEmpty(gradesOnly));
}

TEST(ClockText, HasMinutesAndSecondsAndHoursOnlyWhenReached) {
    EXPECT_EQ(clockText(0), "00:00");
    EXPECT_EQ(clockText(59), "00:59");
    EXPECT_EQ(clockText(3599), "59:59");
    EXPECT_EQ(clockText(3600), "1:00:00");
    EXPECT_EQ(clockText(59 * 3600 + 59 * 60 + 59), "59:59:59");
    EXPECT_EQ(clockText(-5), "00:00");
}

TEST(RecordsTable, TodaysPuzzleAndTheDaysInARow) {
    const CalendarDay today = 20430;
    Records records;
    EXPECT_TRUE(recordsEmpty(records));
    EXPECT_EQ(todaysPuzzleText(English{}, records, today), "Today's puzzle: not solved yet.");
    EXPECT_EQ(daysInARowText(English{}, records, today), "Days in a row: 0 (best 0).");

    DailyRecord daily;
    daily.lastSolved = today - 1;  // yesterday's keeps the run going today
    daily.run = 3;
    daily.bestRun = 5;
    records.setDaily(daily);
    EXPECT_FALSE(recordsEmpty(records));
    EXPECT_EQ(todaysPuzzleText(English{}, records, today), "Today's puzzle: not solved yet.");
    EXPECT_EQ(daysInARowText(English{}, records, today), "Days in a row: 3 (best 5).");
    EXPECT_EQ(todaysPuzzleText(English{}, records, today - 1), "Today's puzzle: solved.");
    EXPECT_EQ(daysInARowText(English{}, records, today + 1), "Days in a row: 0 (best 5).");
}

TEST(RecordsTable, MenuLabelsLoseOnlyTheirMnemonicMark) {
    EXPECT_EQ(menuLabel(command::RemoveFromSome), "Remove From Some");
    EXPECT_EQ(menuLabel(command::Exit), "Exit");
    EXPECT_EQ(menuLabel(command::FieldSize5), "5 x 5");
    EXPECT_EQ(menuLabel(0), "") << "popups and separators are not items";
}

}  // namespace
}  // namespace kz
