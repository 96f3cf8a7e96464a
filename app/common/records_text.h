#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/common/records.h"

namespace kz {

// The records as text, the same in the Linux program's file and in the page's storage:
//
//     # Kestrane Zivadorured records
//     version=1
//     table size=3 type=2 played=10 won=7 given-up=2 best-time=45 hints=3 streak=2 best-streak=4
//     daily last-solved=2026-12-08 run=3 best-run=5
//
// One line per table played (size 0 is Random, type 0 Mixed; best-time, in seconds, only
// once a game was won) and one for today's puzzles once one was solved, each ending in a
// newline. Each line stands alone: a line that is damaged, incomplete (the last one of a
// text cut short has no newline) or does not add up (more wins than games, a streak longer
// than the wins) is passed over and nothing else is lost, so a truncated or foreign text
// keeps every line that is whole. Blank lines and lines starting with # are
// comments. A text may name a later format than this release writes; see
// RecordsText::fromNewerVersion.
constexpr int32_t kRecordsFormatVersion = 1;

struct RecordsText {
    Records records;
    // The highest format a version line names; this release's when there is none.
    int32_t version = kRecordsFormatVersion;

    // Written by a later release, which may have changed what the lines mean or added some:
    // what this release understands is shown, and the text is never replaced by this one.
    bool fromNewerVersion() const { return version > kRecordsFormatVersion; }
};

RecordsText readRecordsText(std::string_view text);
std::string writeRecordsText(const Records& records);

}  // namespace kz
