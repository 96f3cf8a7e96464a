#pragma once

#include <optional>
#include <string>

#include "app/common/records_store.h"

namespace kz {

// What the page's storage does for the records: keeps one text under a name.
class TextStorage {
  public:
    virtual ~TextStorage() = default;
    // The stored text; nothing when none is stored or storage is closed to the page.
    virtual std::optional<std::string> loadText(const char* name) = 0;
    // False when the text could not be stored (storage closed or full).
    virtual bool saveText(const char* name, const std::string& text) = 0;
};

// The name the records are kept under in the page's storage.
constexpr const char* kRecordsStorageName = "records";

// The page's records, in the same text as the Linux program's file and read as carefully.
class StoredRecords : public RecordsMedium {
  public:
    explicit StoredRecords(TextStorage& storage) : storage_(storage) {}

    Stored read() override;
    bool write(const std::string& text) override;

  private:
    TextStorage& storage_;
};

}  // namespace kz
