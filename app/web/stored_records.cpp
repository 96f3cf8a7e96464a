#include "app/web/stored_records.h"

namespace kz {
namespace {

// Records are a line per table played; a far longer text is not records.
constexpr size_t kLongestText = 1 << 20;

}  // namespace

RecordsMedium::Stored StoredRecords::read() {
    std::optional<std::string> text = storage_.loadText(kRecordsStorageName);
    if (!text) {
        return {State::Missing, {}};
    }
    if (text->size() > kLongestText) {
        return {State::Unusable, {}};
    }
    return {State::Read, std::move(*text)};
}

bool StoredRecords::write(const std::string& text) {
    return storage_.saveText(kRecordsStorageName, text);
}

}  // namespace kz
