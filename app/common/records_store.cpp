#include "app/common/records_store.h"

#include "app/common/records_text.h"

namespace kz {

Records loadRecords(RecordsMedium& medium) {
    const RecordsMedium::Stored stored = medium.read();
    if (stored.state != RecordsMedium::State::Read) {
        return {};
    }
    return readRecordsText(stored.text).records;
}

bool saveRecords(RecordsMedium& medium, const Records& records) {
    // Read again rather than trusted from the load: a later release may have run since.
    const RecordsMedium::Stored stored = medium.read();
    if (stored.state == RecordsMedium::State::Unusable ||
        (stored.state == RecordsMedium::State::Read &&
         readRecordsText(stored.text).fromNewerVersion())) {
        return false;
    }
    return medium.write(writeRecordsText(records));
}

}  // namespace kz
