#include "app/web/page_extras.h"

#include <vector>

#include "app/common/commands.h"
#include "app/common/records_table.h"
#include "app/web/script_text.h"

namespace kz {

std::string statisticsJson(const Records& records, CalendarDay today) {
    // The page speaks English until it reads the catalogue of a language.
    const English english;
    std::string rows;
    for (const RecordsRow& row : recordsRows(records, english)) {
        rows += (rows.empty() ? "" : ",") +
                scriptStrings(std::vector<std::string>(row.cells.begin(), row.cells.end()));
    }
    std::string grades;
    for (const GradeRow& row : gradeRows(records, english)) {
        grades += (grades.empty() ? "" : ",") +
                  scriptStrings(std::vector<std::string>(row.cells.begin(), row.cells.end()));
    }
    return "{\"columns\":" +
           scriptStrings(std::vector<std::string>(kRecordsColumns.begin(), kRecordsColumns.end())) +
           ",\"firstNumberColumn\":" + std::to_string(kRecordsFirstNumberColumn) + ",\"rows\":[" +
           rows + "],\"gradeColumns\":" +
           scriptStrings(std::vector<std::string>(kGradeColumns.begin(), kGradeColumns.end())) +
           ",\"gradeFirstNumberColumn\":" + std::to_string(kGradeFirstNumberColumn) +
           ",\"gradeRows\":[" + grades + "],\"none\":" + scriptString(kNoRecordsText) +
           ",\"today\":" + scriptString(todaysPuzzleText(english, records, today)) +
           ",\"daysInARow\":" + scriptString(daysInARowText(english, records, today)) +
           ",\"canReset\":" + (recordsEmpty(records) ? "false" : "true") + "}";
}

}  // namespace kz
