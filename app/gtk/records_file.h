#pragma once

#include <string>

#include "app/common/records_store.h"

namespace kz {

// The Linux program's records, a file of their own beside nothing else the user edits. It
// is replaced as a whole and flushed to the disk each time a game ends, so whatever ends the
// program afterwards (Exit, a signal, a log-out, a power cut) finds the game counted.
class RecordsFile : public RecordsMedium {
  public:
    explicit RecordsFile(std::string path);

    // <XDG_DATA_HOME or ~/.local/share>/kestrane-zivadorured/records
    static std::string defaultPath();

    Stored read() override;
    bool write(const std::string& text) override;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace kz
