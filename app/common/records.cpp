#include "app/common/records.h"

#include <algorithm>

#include "app/common/settings.h"

namespace kz {

bool isValidRecordKey(const RecordKey& key) {
    return isValidFieldSize(key.fieldSize) && isValidActionType(key.actionType);
}

RecordKey recordKeyOf(const PuzzleOrigin& origin) {
    return {origin.columns == origin.rows ? origin.columns : 0, origin.kind};
}

bool Records::gameStarted(const RecordKey& key, std::optional<CalendarDay> day) {
    const bool left = gameLeft();
    current_ = Game{key, day, 0};
    return left;
}

void Records::hintTaken() {
    if (current_) {
        ++current_->hints;
    }
}

TableRecord& Records::endGame() {
    TableRecord& record = tables_[current_->key];
    ++record.played;
    record.hints += current_->hints;
    current_.reset();
    return record;
}

std::optional<WinReport> Records::gameWon(int32_t seconds) {
    if (!current_) {
        return std::nullopt;
    }
    const std::optional<CalendarDay> day = current_->day;
    TableRecord& record = endGame();
    ++record.won;
    ++record.streak;
    record.bestStreak = std::max(record.bestStreak, record.streak);

    WinReport report;
    report.seconds = std::max(seconds, 0);
    report.previousBest = record.bestSeconds;
    report.newBestTime = !record.bestSeconds || report.seconds < *record.bestSeconds;
    if (report.newBestTime) {
        record.bestSeconds = report.seconds;
    }
    report.streak = record.streak;

    // Only a day later than the last one solved moves the run; an earlier day's puzzle
    // finished late changes nothing.
    if (day && (!daily_.lastSolved || *day > *daily_.lastSolved)) {
        daily_.run = daily_.lastSolved && *day == *daily_.lastSolved + 1 ? daily_.run + 1 : 1;
        daily_.bestRun = std::max(daily_.bestRun, daily_.run);
        daily_.lastSolved = day;
        report.daySolved = true;
    }
    if (day) {
        report.daysInARow = daysInARow(*day);
    }
    return report;
}

bool Records::gameGivenUp() {
    if (!current_) {
        return false;
    }
    TableRecord& record = endGame();
    ++record.givenUp;
    record.streak = 0;
    return true;
}

bool Records::gameLeft() {
    if (!current_) {
        return false;
    }
    endGame().streak = 0;
    return true;
}

TableRecord Records::table(const RecordKey& key) const {
    const auto found = tables_.find(key);
    return found == tables_.end() ? TableRecord{} : found->second;
}

int64_t Records::daysInARow(CalendarDay today) const {
    const bool lasting =
        daily_.lastSolved && (*daily_.lastSolved == today || *daily_.lastSolved == today - 1);
    return lasting ? daily_.run : 0;
}

void Records::setTable(const RecordKey& key, const TableRecord& record) {
    if (isValidRecordKey(key)) {
        tables_[key] = record;
    }
}

}  // namespace kz
