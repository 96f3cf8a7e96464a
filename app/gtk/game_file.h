#pragma once

#include <string>

#include "app/common/text_medium.h"

namespace kz {

// The Linux program's game in progress, a file of its own beside the records. It is replaced
// as a whole at every change of the field, so a program killed outright still leaves the
// game as it was at the last move; an empty file is no game.
class GameFile : public TextMedium {
  public:
    explicit GameFile(std::string path);
    ~GameFile() override;
    GameFile(const GameFile&) = delete;
    GameFile& operator=(const GameFile&) = delete;

    // <XDG_DATA_HOME or ~/.local/share>/kestrane-zivadorured/game
    static std::string defaultPath();

    // Takes the game for this program while it runs, through a lock on a file beside it, then
    // reads it: unusable when another program (a second window) holds it. Missing when there
    // is none or something else is in the file's place.
    Stored read() override;
    bool write(const std::string& text) override;
    // From now on each write also flushes the folder: for the last writes of a run.
    void lastWrites() { durable_ = true; }

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    int lock_ = -1;
    bool durable_ = false;

    bool claim();
};

}  // namespace kz
