#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/common/records.h"
#include "app/common/records_text.h"
#include "app/common/text_medium.h"

namespace kz {

// What came of importing records from a file.
enum class RecordsImport {
    Imported,    // taken and stored
    NotRecords,  // the file holds no records
    NotStored,   // the records cannot be written now; nothing was taken
};

// What is stored; empty when nothing usable is.
RecordsText loadRecordsText(TextMedium& medium);
// The records the player sees of what is stored.
Records loadRecords(TextMedium& medium);

// Reads what is stored again under the medium's lock, lets change add to it, gives it an id
// when it still has none and writes it: what another writer stored in between is kept, as is every
// line this release does not take. The text as written, or nothing when it could not be (the
// lock, something unusable in the records' place, a failed write); then nothing changed.
std::optional<RecordsText> updateRecords(TextMedium& medium,
                                         const std::function<void(RecordsText&)>& change);

}  // namespace kz
