#include "app/common/records_store.h"

#include "app/common/records_merge.h"

namespace kz {

RecordsText loadRecordsText(RecordsMedium& medium) {
    const RecordsMedium::Stored stored = medium.read();
    return stored.state == RecordsMedium::State::Read ? readRecordsText(stored.text)
                                                      : RecordsText{};
}

Records loadRecords(RecordsMedium& medium) {
    return combinedRecords(loadRecordsText(medium));
}

std::optional<RecordsText> updateRecords(RecordsMedium& medium,
                                         const std::function<void(RecordsText&)>& change) {
    if (!medium.lock()) {
        return std::nullopt;
    }
    std::optional<RecordsText> text;
    const RecordsMedium::Stored stored = medium.read();
    if (stored.state != RecordsMedium::State::Unusable) {
        text = stored.state == RecordsMedium::State::Read ? readRecordsText(stored.text)
                                                          : RecordsText{};
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
