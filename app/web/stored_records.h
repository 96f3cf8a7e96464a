#pragma once

#include <optional>
#include <string>

#include "app/common/records_store.h"

namespace kz {

// What the page's storage does for the records and the game in progress: keeps one text
// under a name.
class TextStorage {
  public:
    virtual ~TextStorage() = default;
    // The stored text; nothing when none is stored or storage is closed to the page.
    virtual std::optional<std::string> loadText(const char* name) = 0;
    // False when the text could not be stored (storage closed or full).
    virtual bool saveText(const char* name, const std::string& text) = 0;
    // Whether this page takes up the game kept from an earlier visit and keeps its own there:
    // false in a tab opened while another tab of the game lives. Asked once.
    virtual bool claimGame() = 0;
};

// The names the records and the game in progress are kept under in the page's storage; an
// empty game text is none.
constexpr const char* kRecordsStorageName = "records";
constexpr const char* kGameStorageName = "game";

// The page's records, in the same text as the Linux program's file and read as carefully.
class StoredRecords : public TextMedium {
  public:
    explicit StoredRecords(TextStorage& storage) : storage_(storage) {}

    Stored read() override;
    bool write(const std::string& text) override;

  private:
    TextStorage& storage_;
};

// The page's game in progress: unusable in a tab that did not claim it, which then plays
// without reading, writing or removing the kept game.
class StoredGame : public TextMedium {
  public:
    explicit StoredGame(TextStorage& storage) : storage_(storage) {}

    Stored read() override;
    bool write(const std::string& text) override;

  private:
    TextStorage& storage_;
};

}  // namespace kz
