#include "app/common/records.h"

#include <algorithm>

#include "app/common/settings.h"

namespace kz {
namespace {

// Adds a game that ended to a record; the best time the record had before it.
std::optional<int32_t> addGame(TableRecord& record, const FinishedGame& game) {
    const std::optional<int32_t> previousBest = record.bestSeconds;
    ++record.played;
    record.hints += game.hints;
    if (game.outcome != FinishedGame::Outcome::Won) {
        record.givenUp += game.outcome == FinishedGame::Outcome::GivenUp ? 1 : 0;
        record.streak = 0;
        return previousBest;
    }
    ++record.won;
    ++record.streak;
    record.bestStreak = std::max(record.bestStreak, record.streak);
    const int32_t seconds = std::max(game.seconds, 0);
    if (!record.bestSeconds || seconds < *record.bestSeconds) {
        record.bestSeconds = seconds;
    }
    return previousBest;
}

}  // namespace

bool isValidRecordKey(const RecordKey& key) {
    return isValidFieldSize(key.fieldSize) && isValidActionType(key.actionType);
}

bool isValidGrade(int32_t grade) {
    return grade >= AsDesigned && grade <= Hard;
}

RecordKey recordKeyOf(const PuzzleOrigin& origin) {
    return {origin.columns == origin.rows ? origin.columns : 0, origin.kind};
}

bool Records::gameStarted(const RecordKey& key, std::optional<CalendarDay> day, Difficulty grade) {
    const bool left = gameLeft();
    current_ = Game{key, day, 0, grade};
    return left;
}

void Records::hintTaken() {
    if (current_) {
        ++current_->hints;
    }
}

std::optional<WinReport> Records::endGame(FinishedGame::Outcome outcome, int32_t seconds) {
    if (!current_) {
        return std::nullopt;
    }
    const FinishedGame game{current_->key, current_->day, current_->hints,
                            outcome,       seconds,       current_->grade};
    current_.reset();
    finished_.push_back(game);
    return count(game);
}

std::optional<WinReport> Records::count(const FinishedGame& game) {
    if (isValidGrade(game.grade)) {
        addGame(grades_[game.grade], game);
    }
    TableRecord& record = tables_[game.key];
    const std::optional<int32_t> previousBest = addGame(record, game);
    if (game.outcome != FinishedGame::Outcome::Won) {
        return std::nullopt;
    }
    WinReport report;
    report.seconds = std::max(game.seconds, 0);
    report.previousBest = previousBest;
    report.newBestTime = !previousBest || report.seconds < *previousBest;
    report.streak = record.streak;

    // Only a day later than the last one solved moves the run; an earlier day's puzzle
    // finished late changes nothing.
    const std::optional<CalendarDay> day = game.day;
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

std::optional<WinReport> Records::gameWon(int32_t seconds) {
    return endGame(FinishedGame::Outcome::Won, seconds);
}

bool Records::gameGivenUp() {
    const bool running = inGame();
    endGame(FinishedGame::Outcome::GivenUp, 0);
    return running;
}

bool Records::gameLeft() {
    const bool running = inGame();
    endGame(FinishedGame::Outcome::Left, 0);
    return running;
}

std::vector<FinishedGame> Records::takeFinished() {
    std::vector<FinishedGame> taken;
    taken.swap(finished_);
    return taken;
}

void Records::setCounts(const Records& counts) {
    tables_ = counts.tables_;
    grades_ = counts.grades_;
    daily_ = counts.daily_;
}

TableRecord Records::table(const RecordKey& key) const {
    const auto found = tables_.find(key);
    return found == tables_.end() ? TableRecord{} : found->second;
}

TableRecord Records::grade(Difficulty grade) const {
    const auto found = grades_.find(grade);
    return found == grades_.end() ? TableRecord{} : found->second;
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

void Records::setGrade(int32_t grade, const TableRecord& record) {
    if (isValidGrade(grade)) {
        grades_[static_cast<Difficulty>(grade)] = record;
    }
}

}  // namespace kz
