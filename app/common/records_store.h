#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/common/records.h"
#include "app/common/records_text.h"

namespace kz {

// Where a program keeps its records text: the Linux program's file, the page's storage.
class RecordsMedium {
  public:
    enum class State {
        Missing,   // nothing is stored yet
        Read,      // text holds what is stored
        Unusable,  // something is there that cannot be read, and must not be replaced
    };
    struct Stored {
        State state = State::Missing;
        std::string text;
    };

    virtual ~RecordsMedium() = default;
    virtual Stored read() = 0;
    // Replaces the stored text as a whole or not at all; false when it could not.
    virtual bool write(const std::string& text) = 0;
    // Keeps every other writer (another window of the program) from the records between
    // a read and the write after it; false when that cannot be had now.
    virtual bool lock() { return true; }
    virtual void unlock() {}
};

// What came of importing records from a file.
enum class RecordsImport {
    Imported,    // taken and stored
    NotRecords,  // the file holds no records
    NotStored,   // the records cannot be written now; nothing was taken
};

// What is stored; empty when nothing usable is.
RecordsText loadRecordsText(RecordsMedium& medium);
// The records the player sees of what is stored.
Records loadRecords(RecordsMedium& medium);

// Reads what is stored again under the medium's lock, lets change add to it, gives it an id
// when it still has none and writes it: what another writer stored in between is kept, as is every
// line this release does not take. The text as written, or nothing when it could not be (the
// lock, something unusable in the records' place, a failed write); then nothing changed.
std::optional<RecordsText> updateRecords(RecordsMedium& medium,
                                         const std::function<void(RecordsText&)>& change);

}  // namespace kz
