#include "app/web/page_extras.h"

#include <vector>

#include "app/common/commands.h"
#include "app/common/records_table.h"
#include "app/web/script_text.h"
#include "app/web/stored_records.h"
#include "app/web/web_program.h"

namespace kz {

std::string statisticsJson(const Records& records, CalendarDay today) {
    std::string rows;
    for (const RecordsRow& row : recordsRows(records)) {
        rows += (rows.empty() ? "" : ",") +
                scriptStrings(std::vector<std::string>(row.cells.begin(), row.cells.end()));
    }
    std::string grades;
    for (const GradeRow& row : gradeRows(records)) {
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
           ",\"today\":" + scriptString(todaysPuzzleText(records, today)) +
           ",\"daysInARow\":" + scriptString(daysInARowText(records, today)) +
           ",\"canReset\":" + (recordsEmpty(records) ? "false" : "true") + "}";
}

// The extra play's side of the page program: the live region and the canvas's description,
// the greyed menu items, the clipboard, the boxes, sharing, and the records in the page's
// storage.

void WebProgram::commandsChanged(const CommandStates& states) {
    for (const uint16_t id : kGreyableCommands) {
        page_.enableCommand(id, states.enabled(id));
    }
}

RecordsMedium::Stored WebProgram::readRecords() {
    return StoredRecords(page_).read();
}

bool WebProgram::writeRecords(const std::string& text) {
    return StoredRecords(page_).write(text);
}

std::optional<std::string> WebProgram::readGame() {
    gameClaimed_ = page_.claimGame();
    if (!gameClaimed_) {
        return std::nullopt;
    }
    std::optional<std::string> text = page_.loadText(kGameStorageName);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    return text;
}

bool WebProgram::writeGame(const std::string& text) {
    // A tab that did not take the kept game up leaves it to the tab that did.
    return gameClaimed_ && page_.saveText(kGameStorageName, text);
}

void WebProgram::recordsUnsaved(bool unsaved) {
    page_.recordsUnsaved(unsaved);
}

void WebProgram::exportRecords(const std::string& text) {
    page_.exportRecords(text);
}

void WebProgram::askRecordsFile() {
    page_.askRecordsFile();
}

void WebProgram::announce(const std::string& text) {
    page_.announce(text);
}

void WebProgram::describe(const std::string& text) {
    page_.describe(text);
}

void WebProgram::copyText(const std::string& text, const std::string& copied) {
    page_.copyText(text, copied);
}

void WebProgram::askPuzzleCode() {
    page_.askPuzzleCode();
}

void WebProgram::askDay(CalendarDay first, CalendarDay today) {
    page_.askDay(dayText(first), dayText(today));
}

std::string WebProgram::pageAddress() {
    return page_.address();
}

void WebProgram::showStatistics(const Records& records, CalendarDay today) {
    page_.showStatistics(statisticsJson(records, today));
}

void WebProgram::share(const std::string& code) {
    page_.share(code);
}

void WebProgram::puzzleChanged(const std::string& code) {
    page_.puzzleChanged(code);
}

void WebProgram::puzzleDated(std::optional<CalendarDay> day) {
    page_.puzzleDated(day ? dayText(*day) : std::string());
}

void WebProgram::puzzleGraded(const std::string& grade, const std::string& note) {
    page_.puzzleGraded(grade);
    if (!note.empty()) {
        page_.notify(note);
    }
}

void WebProgram::newBestTime(const WinReport& report) {
    page_.notify(newBestTimeText(report));
}

CalendarDay WebProgram::today() {
    return dayOfUnixTime(page_.unixTime());
}

}  // namespace kz
