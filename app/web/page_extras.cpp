#include "app/web/page_extras.h"

#include <vector>

#include "app/common/commands.h"
#include "app/common/records_store.h"
#include "app/common/records_table.h"
#include "app/web/script_text.h"
#include "app/web/stored_records.h"

namespace kz {

std::string statisticsJson(const Records& records, CalendarDay today) {
    std::string rows;
    for (const RecordsRow& row : recordsRows(records)) {
        rows += (rows.empty() ? "" : ",") +
                scriptStrings(std::vector<std::string>(row.cells.begin(), row.cells.end()));
    }
    return "{\"columns\":" +
           scriptStrings(std::vector<std::string>(kRecordsColumns.begin(), kRecordsColumns.end())) +
           ",\"firstNumberColumn\":" + std::to_string(kRecordsFirstNumberColumn) + ",\"rows\":[" +
           rows + "],\"none\":" + scriptString(kNoRecordsText) +
           ",\"today\":" + scriptString(todaysPuzzleText(records, today)) +
           ",\"daysInARow\":" + scriptString(daysInARowText(records, today)) +
           ",\"canReset\":" + (recordsEmpty(records) ? "false" : "true") + "}";
}

Records PageExtras::storedRecords() {
    StoredRecords stored(page_);
    return loadRecords(stored);
}

ExtraPlay* PageExtras::play() {
    SessionExtras* extras = session_ != nullptr ? session_->extras() : nullptr;
    return extras != nullptr ? &extras->play() : nullptr;
}

void PageExtras::announce(const std::string& text) {
    page_.announce(text);
}

void PageExtras::commandsChanged() {
    if (ExtraPlay* extraPlay = play()) {
        page_.enableCommand(command::Undo, extraPlay->canUndo());
        page_.enableCommand(command::Redo, extraPlay->canRedo());
        page_.enableCommand(command::Hint, extraPlay->canHint());
    }
}

void PageExtras::descriptionChanged() {
    if (ExtraPlay* extraPlay = play()) {
        page_.describe(extraPlay->description());
    }
}

void PageExtras::copyText(const std::string& text) {
    page_.copyText(text);
}

void PageExtras::askPuzzleCode() {
    page_.askPuzzleCode();
}

void PageExtras::showStatistics(const Records& records, CalendarDay today) {
    page_.showStatistics(statisticsJson(records, today));
}

void PageExtras::share(const std::string& code) {
    page_.share(code);
}

void PageExtras::saveRecords(const Records& records) {
    StoredRecords stored(page_);
    kz::saveRecords(stored, records);
}

void PageExtras::puzzleChanged(const std::string& code) {
    page_.puzzleChanged(code);
}

void PageExtras::newBestTime(const WinReport& report) {
    page_.notify(newBestTimeText(report));
}

CalendarDay PageExtras::today() {
    return dayOfUnixTime(page_.unixTime());
}

}  // namespace kz
