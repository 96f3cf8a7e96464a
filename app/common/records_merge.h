#pragma once

#include <string>

#include "app/common/records.h"
#include "app/common/records_text.h"

namespace kz {

// Records of several stores in one text: this store's own, and those of the stores whose
// exported records were imported, each under its store's id.
//
// A store's records only grow (a reset gives the store a new id), so of two copies of one
// store's table the one with more games is the later, and importing takes the later copy of
// each: importing a file twice, or a file of these very records, counts nothing twice.

// The records the player sees: the games of every store added up, the best values kept, the
// streak this store's own (the longest brought in, for a table this store has not played).
Records combinedRecords(const RecordsText& text);

// Takes the records of an exported text into these. A text without an id (from a release
// that wrote none) is named by what it holds, so it too counts once however often it comes.
void importRecords(RecordsText& into, const RecordsText& file);

// A new id for a store, unlikely ever to be made twice.
std::string newRecordsId();

}  // namespace kz
