#pragma once

#include <string>

#include "app/common/records_store.h"

namespace kz {

// The Linux program's records, a file of their own beside nothing else the user edits. It
// is replaced as a whole and flushed to the disk each time a game ends, so whatever ends the
// program afterwards (Exit, a signal, a log-out, a power cut) finds the game counted. Two
// windows of the program take turns through a lock file beside it (flock), which outlives
// neither of them: a window that ends, however it ends, lets go of it.
class RecordsFile : public TextMedium {
  public:
    explicit RecordsFile(std::string path);
    ~RecordsFile() override;
    RecordsFile(const RecordsFile&) = delete;
    RecordsFile& operator=(const RecordsFile&) = delete;

    // <XDG_DATA_HOME or ~/.local/share>/kestrane-zivadorured/records
    static std::string defaultPath();

    Stored read() override;
    bool write(const std::string& text) override;
    // Waits a little for another window that holds the lock, then gives up.
    bool lock() override;
    void unlock() override;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    int lockFd_ = -1;
};

// Far larger than records ever grow, however many lines other tools add; a larger file is
// not read into memory (and not replaced).
constexpr size_t kLargestRecordsFile = size_t{256} << 20;

}  // namespace kz
