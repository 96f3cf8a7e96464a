#include "app/web/stored_records.h"

namespace kz {

// Any length is read: the records text is read line by line, and what the browser's storage
// holds is bounded by the browser.
TextMedium::Stored StoredRecords::read() {
    std::optional<std::string> text = storage_.loadText(kRecordsStorageName);
    if (!text) {
        return {State::Missing, {}};
    }
    return {State::Read, std::move(*text)};
}

bool StoredRecords::write(const std::string& text) {
    return storage_.saveText(kRecordsStorageName, text);
}

TextMedium::Stored StoredGame::read() {
    if (!storage_.claimGame()) {
        return {State::Unusable, {}};
    }
    std::optional<std::string> text = storage_.loadText(kGameStorageName);
    if (!text || text->empty()) {
        return {State::Missing, {}};
    }
    return {State::Read, std::move(*text)};
}

bool StoredGame::write(const std::string& text) {
    return storage_.saveText(kGameStorageName, text);
}

}  // namespace kz
