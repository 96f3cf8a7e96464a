#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "app/common/records.h"

namespace kz {

// The records as text, the same in the Linux program's file and in the page's storage:
//
//     # Kestrane Zivadorured records
//     version=1
//     id=3f9c0a4be1d27765
//     table size=3 type=2 played=10 won=7 given-up=2 best-time=45 hints=3 streak=2 best-streak=4
//     daily last-solved=2026-12-08 run=3 best-run=5
//     table size=4 type=3 played=2 won=1 given-up=0 best-time=80 hints=0 streak=1 best-streak=1
//     grade difficulty=3 played=4 won=3 given-up=1 best-time=52 hints=1 streak=0 best-streak=2
//     from=77ab01
//
// One line per table played (size 0 is Random, type 0 Mixed; best-time, in seconds, only
// once a game was won), one per grade played with the same counts (difficulty as the
// setting numbers it, 1 to 3 for Easy to Hard, 0 for the puzzles of no grade) and one for
// today's puzzles once one was solved, each ending in a newline. Releases before the grade
// lines keep them as lines they do not take (below), so a text goes back and forth between
// them and loses nothing. The id names the records of this store; lines with from= are the records
// of another store, imported (see records_merge.h). Each line stands alone: a line that is damaged,
// too long, incomplete (the last one of a text cut short has no newline) or does not add up (more
// wins than games, a streak longer than the wins) is passed over and nothing else is lost, so a
// truncated or foreign text keeps every line that is whole. Blank lines and lines starting with #
// are comments.
//
// Lines this release does not take (comments, lines of a later release or of another tool,
// damaged ones) are kept as they are and written back after its own, so a text is never
// written with less than it held. A later format may add lines and fields, never change what
// these mean.
constexpr int32_t kRecordsFormatVersion = 1;

// Longer than any line this release writes by far; a longer table or daily line is damage.
constexpr size_t kLongestRecordsLine = 512;

struct RecordsText {
    // This store's own records.
    Records records;
    // The highest format a version line names; this release's when there is none.
    int32_t version = kRecordsFormatVersion;
    // Names this store's records; empty before they were first written.
    std::string id;
    // The records of other stores, by their ids.
    std::map<std::string, Records> imported;
    // Every complete line not taken, each with its newline, in the order read.
    std::string keptLines;
    // Any line was taken as records or names a version: the text is records at all.
    bool anyRecords = false;

    // Written by a later release: what this release understands is shown and updated.
    bool fromNewerVersion() const { return version > kRecordsFormatVersion; }
};

// A store's id: 1 to 32 lower-case letters and digits.
bool isValidRecordsId(std::string_view id);

// Reads a text of any bytes, a NUL among them, of any length, line by line.
RecordsText readRecordsText(std::string_view text);
// The text of records with no id and nothing else: the lines of one store.
std::string writeRecordsText(const Records& records);
// The whole text: the version, the id, the own records, the imported ones, the kept lines.
std::string writeRecordsText(const RecordsText& text);

}  // namespace kz
