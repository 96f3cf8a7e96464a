#include "app/common/records_merge.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <tuple>

namespace kz {
namespace {

// The later of two copies of one store's table: more games, then more of everything else,
// so the choice does not depend on which copy comes first.
const TableRecord& later(const TableRecord& a, const TableRecord& b) {
    const auto order = [](const TableRecord& r) {
        return std::tuple(r.played, r.won, r.givenUp, r.hints, r.bestStreak, r.streak,
                          -r.bestSeconds.value_or(-1));
    };
    return order(b) > order(a) ? b : a;
}

const DailyRecord& later(const DailyRecord& a, const DailyRecord& b) {
    const auto order = [](const DailyRecord& r) {
        return std::tuple(r.lastSolved.has_value(), r.lastSolved.value_or(0), r.run, r.bestRun);
    };
    return order(b) > order(a) ? b : a;
}

void takeLater(Records& into, const Records& from) {
    for (const auto& [key, record] : from.tables()) {
        into.setTable(key, later(into.table(key), record));
    }
    for (const auto& [grade, record] : from.grades()) {
        into.setGrade(grade, later(into.grade(grade), record));
    }
    into.setDaily(later(into.daily(), from.daily()));
}

// A table or grade of two stores as one: the games added up, the best values kept. The
// streak goes on where the games are played: this store's, or when it has played none there,
// the longest one brought in.
TableRecord addedUp(TableRecord sum, const TableRecord& record, bool ownPlayed) {
    sum.played += record.played;
    sum.won += record.won;
    sum.givenUp += record.givenUp;
    sum.hints += record.hints;
    if (record.bestSeconds) {
        sum.bestSeconds =
            std::min(sum.bestSeconds.value_or(*record.bestSeconds), *record.bestSeconds);
    }
    sum.bestStreak = std::max(sum.bestStreak, record.bestStreak);
    if (!ownPlayed) {
        sum.streak = std::max(sum.streak, record.streak);
    }
    return sum;
}

// FNV-1a of the text, as 16 hex digits.
std::string idOfText(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    }
    static const char* digits = "0123456789abcdef";
    std::string id(16, '0');
    for (char& digit : id) {
        digit = digits[hash >> 60];
        hash <<= 4;
    }
    return id;
}

}  // namespace

Records combinedRecords(const RecordsText& text) {
    Records combined = text.records;
    for (const auto& [from, records] : text.imported) {
        for (const auto& [key, record] : records.tables()) {
            combined.setTable(
                key, addedUp(combined.table(key), record, text.records.tables().count(key) > 0));
        }
        for (const auto& [grade, record] : records.grades()) {
            combined.setGrade(grade, addedUp(combined.grade(grade), record,
                                             text.records.grades().count(grade) > 0));
        }
        DailyRecord daily = later(combined.daily(), records.daily());
        daily.bestRun = std::max(combined.daily().bestRun, records.daily().bestRun);
        combined.setDaily(daily);
    }
    return combined;
}

void importRecords(RecordsText& into, const RecordsText& file) {
    const auto take = [&into](const std::string& from, const Records& records) {
        takeLater(from == into.id ? into.records : into.imported[from], records);
    };
    take(file.id.empty() ? "h" + idOfText(writeRecordsText(file.records)) : file.id, file.records);
    for (const auto& [from, records] : file.imported) {
        take(from, records);
    }
    // A store with nothing in it needs no line.
    for (auto it = into.imported.begin(); it != into.imported.end();) {
        const bool empty = it->second.tables().empty() && it->second.grades().empty() &&
                           !it->second.daily().lastSolved;
        it = empty ? into.imported.erase(it) : std::next(it);
    }
}

std::string newRecordsId() {
    std::random_device device;
    const uint64_t now =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                              std::chrono::system_clock::now().time_since_epoch().count());
    std::mt19937_64 mix(now ^ (static_cast<uint64_t>(device()) << 32) ^ device());
    static const char* digits = "0123456789abcdef";
    std::string id(16, '0');
    for (char& digit : id) {
        digit = digits[mix() % 16];
    }
    return id;
}

}  // namespace kz
