// The records text: whatever a stored text holds, reading it takes only records that add up,
// writing them back loses no line, a second round changes nothing, and importing the same
// text a second time counts nothing twice.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/common/records_merge.h"
#include "app/common/records_text.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "records text: %s\n", what);
    std::abort();
}

bool addsUp(const kz::TableRecord& table) {
    return table.won + table.givenUp <= table.played && table.streak <= table.bestStreak &&
           table.bestStreak <= table.won && (table.won > 0) == table.bestSeconds.has_value();
}

bool addsUp(const kz::Records& records) {
    for (const auto& [key, table] : records.tables()) {
        if (!kz::isValidRecordKey(key) || !addsUp(table)) {
            return false;
        }
    }
    for (const auto& [grade, table] : records.grades()) {
        if (!kz::isValidGrade(grade) || !addsUp(table)) {
            return false;
        }
    }
    const kz::DailyRecord& daily = records.daily();
    return !daily.lastSolved || (daily.run >= 1 && daily.run <= daily.bestRun);
}

bool sameText(const kz::RecordsText& a, const kz::RecordsText& b) {
    return a.records == b.records && a.imported == b.imported && a.id == b.id &&
           a.keptLines == b.keptLines && a.version == b.version;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kz::RecordsText read = kz::readRecordsText(text);
    if (!addsUp(read.records) || !addsUp(kz::combinedRecords(read))) {
        fail("records that do not add up were taken");
    }
    const std::string written = kz::writeRecordsText(read);
    const kz::RecordsText again = kz::readRecordsText(written);
    if (!sameText(read, again)) {
        fail("what was written does not read back as it was read");
    }
    if (kz::writeRecordsText(again) != written) {
        fail("a second round changed the text");
    }
    // No line is lost: each complete line is in the text written, or is one taken as
    // records, which the text then holds as this release writes it.
    for (size_t start = 0, newline; (newline = text.find('\n', start)) != text.npos;
         start = newline + 1) {
        const std::string line(text.substr(start, newline - start));
        if (written.find(line + "\n") == std::string::npos &&
            !kz::readRecordsText(line + "\n").keptLines.empty()) {
            fail("a line not taken was lost");
        }
    }

    kz::RecordsText store;
    store.id = "home";
    store.records.count({{3, 2}, std::nullopt, 1, kz::FinishedGame::Outcome::Won, 30, kz::Hard});
    kz::importRecords(store, read);
    const std::string once = kz::writeRecordsText(store);
    kz::importRecords(store, read);
    if (kz::writeRecordsText(store) != once) {
        fail("a second import changed the records");
    }
    if (!addsUp(kz::combinedRecords(store))) {
        fail("imported records do not add up");
    }
    return 0;
}
