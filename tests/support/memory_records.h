#pragma once

#include <string>

#include "app/common/records_store.h"

namespace kz {

// A records store in memory, which can refuse its lock and its writes.
class MemoryMedium : public TextMedium {
  public:
    MemoryMedium() = default;
    explicit MemoryMedium(std::string text) : stored{State::Read, std::move(text)} {}

    Stored read() override { return stored; }
    bool write(const std::string& text) override {
        ++writes;
        if (!writable) {
            return false;
        }
        stored = {State::Read, text};
        return true;
    }
    bool lock() override { return lockable; }

    Stored stored;
    bool writable = true;
    bool lockable = true;
    int writes = 0;
};

// The records the player sees of a stored text.
inline Records recordsOf(const TextMedium::Stored& stored) {
    MemoryMedium medium;
    medium.stored = stored;
    return loadRecords(medium);
}

// Stores records as the store's own counts, as a session's games come to them; true when
// they were written.
inline bool storeRecords(TextMedium& medium, const Records& records) {
    return updateRecords(medium, [&records](RecordsText& text) { text.records.setCounts(records); })
        .has_value();
}

}  // namespace kz
