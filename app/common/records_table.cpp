#include "app/common/records_table.h"

#include <algorithm>

#include "app/common/clock_text.h"
#include "app/common/commands.h"
#include "app/common/extras_texts.h"
#include "app/common/menu_table.h"

namespace kz {
namespace {

// Where a command stands in the menus, so rows follow the order the player knows.
size_t menuPosition(uint16_t command) {
    for (size_t i = 0; i < kMenuTable.size(); ++i) {
        if (kMenuTable[i].command == command) {
            return i;
        }
    }
    return kMenuTable.size();
}

// No best time before the first win.
constexpr const char* kNoTime = "\u2013";

// The cells of a record's counts, the columns after a row's names.
std::array<std::string, kRecordsColumnCount - kRecordsFirstNumberColumn> countCells(
    const TableRecord& table) {
    return {std::to_string(table.played),
            std::to_string(table.won),
            std::to_string(table.givenUp),
            table.bestSeconds ? clockText(*table.bestSeconds) : kNoTime,
            std::to_string(table.hints),
            std::to_string(table.streak),
            std::to_string(table.bestStreak)};
}

}  // namespace

std::string newBestTimeText(const Translation& translation, const WinReport& report) {
    if (report.previousBest) {
        return filled(
            translation.text(N_("New best time: {time} (the best was {best}).")),
            {{"time", clockText(report.seconds)}, {"best", clockText(*report.previousBest)}});
    }
    return filled(translation.text(N_("New best time: {time}.")),
                  {{"time", clockText(report.seconds)}});
}

std::vector<RecordsRow> recordsRows(const Records& records, const Translation& translation) {
    std::vector<RecordsRow> rows;
    for (const auto& [key, table] : records.tables()) {
        if (table.played == 0) {
            continue;
        }
        RecordsRow row;
        row.key = key;
        row.cells[0] = menuLabel(commandForFieldSize(key.fieldSize), translation);
        row.cells[1] = menuLabel(commandForActionType(key.actionType), translation);
        const auto counts = countCells(table);
        std::copy(counts.begin(), counts.end(), row.cells.begin() + 2);
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const RecordsRow& a, const RecordsRow& b) {
        const auto place = [](const RecordKey& k) {
            return std::make_pair(menuPosition(commandForFieldSize(k.fieldSize)),
                                  menuPosition(commandForActionType(k.actionType)));
        };
        return place(a.key) < place(b.key);
    });
    return rows;
}

std::vector<GradeRow> gradeRows(const Records& records, const Translation& translation) {
    std::vector<GradeRow> rows;
    for (const Difficulty grade : {Easy, Medium, Hard, AsDesigned}) {
        const TableRecord table = records.grade(grade);
        if (table.played == 0) {
            continue;
        }
        GradeRow row;
        row.grade = grade;
        row.cells[0] = translation.text(grade == AsDesigned ? kNoGradeName : difficultyName(grade));
        const auto counts = countCells(table);
        std::copy(counts.begin(), counts.end(), row.cells.begin() + 1);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string todaysPuzzleText(const Translation& translation, const Records& records,
                             CalendarDay today) {
    return translation.text(records.solvedOn(today) ? N_("Today's puzzle: solved.")
                                                    : N_("Today's puzzle: not solved yet."));
}

std::string daysInARowText(const Translation& translation, const Records& records,
                           CalendarDay today) {
    return filled(translation.text(N_("Days in a row: {days} (best {best}).")),
                  {{"days", std::to_string(records.daysInARow(today))},
                   {"best", std::to_string(records.daily().bestRun)}});
}

bool recordsEmpty(const Records& records) {
    return recordsRows(records, English{}).empty() && gradeRows(records, English{}).empty() &&
           !records.daily().lastSolved && records.daily().bestRun == 0;
}

}  // namespace kz
