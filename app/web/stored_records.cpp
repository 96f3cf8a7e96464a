#include "app/web/stored_records.h"

namespace kz {

// Any length is read: the records text is read line by line, and what the browser's storage
// holds is bounded by the browser.
RecordsMedium::Stored StoredRecords::read() {
    std::optional<std::string> text = storage_.loadText(kRecordsStorageName);
    if (!text) {
        return {State::Missing, {}};
    }
    return {State::Read, std::move(*text)};
}

bool StoredRecords::write(const std::string& text) {
    return storage_.saveText(kRecordsStorageName, text);
}

}  // namespace kz
