#include "app/common/records_text.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "app/common/stored_number.h"

namespace kz {
namespace {

// Far more games than anyone plays; a larger number is damage.
constexpr int64_t kLargestCount = 999'999'999'999;
// The game clock stops at 59:59:59.
constexpr int64_t kLongestGame = 215999;

std::string_view trimmed(std::string_view text) {
    const char* space = " \t\r\v\f";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// Digits only, leading zeros too.
std::optional<int64_t> count(std::string_view text) {
    return storedNumber(text, kLargestCount, LeadingZeros::Allowed);
}

// The key=value words after a line's first word; nothing when one is malformed or a key
// comes twice.
std::optional<std::map<std::string, std::string>> fieldsOf(std::string_view rest) {
    std::map<std::string, std::string> fields;
    while (!(rest = trimmed(rest)).empty()) {
        const size_t end = rest.find_first_of(" \t");
        const std::string_view word = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
        const size_t equals = word.find('=');
        if (equals == 0 || equals == std::string_view::npos ||
            !fields.emplace(word.substr(0, equals), word.substr(equals + 1)).second) {
            return std::nullopt;
        }
    }
    return fields;
}

// Takes every field of names in order, each a count; nothing when one is missing, is no
// count, or a field is left over.
std::optional<std::vector<int64_t>> counts(std::map<std::string, std::string> fields,
                                           std::initializer_list<const char*> names) {
    std::vector<int64_t> values;
    for (const char* name : names) {
        const auto found = fields.find(name);
        if (found == fields.end()) {
            return std::nullopt;
        }
        const std::optional<int64_t> value = count(found->second);
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
        fields.erase(found);
    }
    if (!fields.empty()) {
        return std::nullopt;
    }
    return values;
}

// The counts of a table or grade line, once its key fields are taken; nothing when they are
// damaged or do not add up.
std::optional<TableRecord> readCounts(std::map<std::string, std::string> fields) {
    std::optional<int32_t> bestSeconds;
    if (const auto best = fields.find("best-time"); best != fields.end()) {
        const std::optional<int64_t> seconds = count(best->second);
        if (!seconds || *seconds > kLongestGame) {
            return std::nullopt;
        }
        bestSeconds = static_cast<int32_t>(*seconds);
        fields.erase(best);
    }
    const std::optional<std::vector<int64_t>> values =
        counts(std::move(fields), {"played", "won", "given-up", "hints", "streak", "best-streak"});
    if (!values) {
        return std::nullopt;
    }
    const std::vector<int64_t>& v = *values;
    TableRecord record;
    record.played = v[0];
    record.won = v[1];
    record.givenUp = v[2];
    record.bestSeconds = bestSeconds;
    record.hints = v[3];
    record.streak = v[4];
    record.bestStreak = v[5];
    const bool addsUp = record.won + record.givenUp <= record.played &&
                        record.streak <= record.bestStreak && record.bestStreak <= record.won &&
                        (record.won > 0) == bestSeconds.has_value();
    if (!addsUp) {
        return std::nullopt;
    }
    return record;
}

// Takes a key field, a count up to largest, out of a line's fields.
std::optional<int32_t> takeKey(std::map<std::string, std::string>& fields, const char* name,
                               int64_t largest) {
    const auto found = fields.find(name);
    if (found == fields.end()) {
        return std::nullopt;
    }
    const std::optional<int64_t> value = count(found->second);
    fields.erase(found);
    if (!value || *value > largest) {
        return std::nullopt;
    }
    return static_cast<int32_t>(*value);
}

// A table line's record; nothing when it is damaged or does not add up.
std::optional<std::pair<RecordKey, TableRecord>> readTable(
    std::map<std::string, std::string> fields) {
    const std::optional<int32_t> size = takeKey(fields, "size", 5);
    const std::optional<int32_t> type = takeKey(fields, "type", 5);
    if (!size || !type || !isValidRecordKey({*size, *type})) {
        return std::nullopt;
    }
    const std::optional<TableRecord> record = readCounts(std::move(fields));
    if (!record) {
        return std::nullopt;
    }
    return std::pair{RecordKey{*size, *type}, *record};
}

// A grade line's record, the same counts as a table's under the grade's number.
std::optional<std::pair<int32_t, TableRecord>> readGrade(
    std::map<std::string, std::string> fields) {
    const std::optional<int32_t> grade = takeKey(fields, "difficulty", Hard);
    if (!grade) {
        return std::nullopt;
    }
    const std::optional<TableRecord> record = readCounts(std::move(fields));
    if (!record) {
        return std::nullopt;
    }
    return std::pair{*grade, *record};
}

std::optional<DailyRecord> readDaily(std::map<std::string, std::string> fields) {
    const auto last = fields.find("last-solved");
    if (last == fields.end()) {
        return std::nullopt;
    }
    const std::optional<CalendarDay> day = dayFromText(last->second);
    fields.erase(last);
    const std::optional<std::vector<int64_t>> values =
        counts(std::move(fields), {"run", "best-run"});
    if (!day || !values || (*values)[0] < 1 || (*values)[0] > (*values)[1]) {
        return std::nullopt;
    }
    return DailyRecord{day, (*values)[0], (*values)[1]};
}

constexpr std::string_view kHeader = "# Kestrane Zivadorured records";

// Takes one line (without its newline); false when it is not this release's to take.
bool readLine(std::string_view line, RecordsText& read) {
    line = trimmed(line);
    if (line.empty() || line == kHeader) {
        return true;
    }
    if (line.front() == '#') {
        return false;
    }
    if (line.substr(0, 8) == "version=") {
        const std::optional<int64_t> version = count(trimmed(line.substr(8)));
        if (!version || *version > 999'999) {
            return false;
        }
        read.version = std::max(read.version, static_cast<int32_t>(*version));
        read.anyRecords = true;
        return true;
    }
    if (line.substr(0, 3) == "id=") {
        const std::string_view id = trimmed(line.substr(3));
        if (!isValidRecordsId(id) || !read.id.empty()) {
            return false;
        }
        read.id = std::string(id);
        return true;
    }
    if (line.size() > kLongestRecordsLine) {
        return false;
    }
    const size_t end = line.find_first_of(" \t");
    const std::string_view kind = line.substr(0, end);
    std::optional<std::map<std::string, std::string>> fields =
        fieldsOf(end == std::string_view::npos ? std::string_view() : line.substr(end));
    if (!fields || (kind != "table" && kind != "grade" && kind != "daily")) {
        return false;
    }
    std::string from;
    if (const auto found = fields->find("from"); found != fields->end()) {
        if (!isValidRecordsId(found->second)) {
            return false;
        }
        from = found->second;
        fields->erase(found);
    }
    // The store a line names is made only once the line is taken.
    const auto into = [&read, &from]() -> Records& {
        return from.empty() ? read.records : read.imported[from];
    };
    if (kind == "table") {
        const auto table = readTable(std::move(*fields));
        if (!table) {
            return false;
        }
        into().setTable(table->first, table->second);
    } else if (kind == "grade") {
        const auto grade = readGrade(std::move(*fields));
        if (!grade) {
            return false;
        }
        into().setGrade(grade->first, grade->second);
    } else {
        const std::optional<DailyRecord> daily = readDaily(std::move(*fields));
        if (!daily) {
            return false;
        }
        into().setDaily(*daily);
    }
    read.anyRecords = true;
    return true;
}

// A record's counts as the fields after a line's key.
std::string countFields(const TableRecord& record) {
    std::string text = " played=" + std::to_string(record.played) +
                       " won=" + std::to_string(record.won) +
                       " given-up=" + std::to_string(record.givenUp);
    if (record.bestSeconds) {
        text += " best-time=" + std::to_string(*record.bestSeconds);
    }
    return text + " hints=" + std::to_string(record.hints) +
           " streak=" + std::to_string(record.streak) +
           " best-streak=" + std::to_string(record.bestStreak);
}

std::string linesOf(const Records& records, const std::string& from) {
    const std::string suffix = from.empty() ? "\n" : " from=" + from + "\n";
    std::string text;
    for (const auto& [key, record] : records.tables()) {
        text += "table size=" + std::to_string(key.fieldSize) +
                " type=" + std::to_string(key.actionType) + countFields(record) + suffix;
    }
    // After the tables, so a text with no grade is written as before there were grades.
    for (const auto& [grade, record] : records.grades()) {
        text += "grade difficulty=" + std::to_string(grade) + countFields(record) + suffix;
    }
    const DailyRecord& daily = records.daily();
    if (daily.lastSolved) {
        text += "daily last-solved=" + dayText(*daily.lastSolved) +
                " run=" + std::to_string(daily.run) + " best-run=" + std::to_string(daily.bestRun) +
                suffix;
    }
    return text;
}

std::string headerLines(int32_t version) {
    return std::string(kHeader) + "\nversion=" + std::to_string(version) + "\n";
}

}  // namespace

bool isValidRecordsId(std::string_view id) {
    if (id.empty() || id.size() > 32) {
        return false;
    }
    for (char c : id) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

RecordsText readRecordsText(std::string_view text) {
    RecordsText read;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            // Every line is written with its newline: a last line without one was cut short,
            // and a number cut short is still a number, so such a line is not taken. A
            // comment cut short is still a comment and is kept.
            if (trimmed(text).substr(0, 1) == "#" && trimmed(text) != kHeader) {
                read.keptLines.append(text).push_back('\n');
            }
            break;
        }
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        if (!readLine(line, read)) {
            read.keptLines.append(line).push_back('\n');
        }
    }
    return read;
}

std::string writeRecordsText(const Records& records) {
    return headerLines(kRecordsFormatVersion) + linesOf(records, {});
}

std::string writeRecordsText(const RecordsText& text) {
    std::string written = headerLines(std::max(text.version, kRecordsFormatVersion));
    if (!text.id.empty()) {
        written += "id=" + text.id + "\n";
    }
    written += linesOf(text.records, {});
    for (const auto& [from, records] : text.imported) {
        written += linesOf(records, from);
    }
    return written + text.keptLines;
}

}  // namespace kz
