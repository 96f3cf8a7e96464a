#pragma once

#include <string>

#include "app/common/records.h"

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
};

// The stored records; none when nothing usable is stored.
Records loadRecords(RecordsMedium& medium);

// Stores the records, unless what is stored now must be kept: records of a later release
// (which this one would write back with less in them) or something that cannot be read.
// False when nothing was written; nothing of this is for the player.
bool saveRecords(RecordsMedium& medium, const Records& records);

}  // namespace kz
