#include "app/common/records_store.h"

#include "app/common/records_merge.h"

namespace kz {

RecordsText loadRecordsText(TextMedium& medium) {
    const TextMedium::Stored stored = medium.read();
    return stored.state == TextMedium::State::Read ? readRecordsText(stored.text) : RecordsText{};
}

Records loadRecords(TextMedium& medium) {
    return combinedRecords(loadRecordsText(medium));
}

std::optional<RecordsText> updateRecords(TextMedium& medium,
                                         const std::function<void(RecordsText&)>& change) {
    if (!medium.lock()) {
        return std::nullopt;
    }
    std::optional<RecordsText> text;
    const TextMedium::Stored stored = medium.read();
    if (stored.state != TextMedium::State::Unusable) {
        text =
            stored.state == TextMedium::State::Read ? readRecordsText(stored.text) : RecordsText{};
        change(*text);
        if (text->id.empty()) {
            text->id = newRecordsId();
        }
        if (!medium.write(writeRecordsText(*text))) {
            text.reset();
        }
    }
    medium.unlock();
    return text;
}

}  // namespace kz
