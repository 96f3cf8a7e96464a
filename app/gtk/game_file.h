#pragma once

#include <optional>
#include <string>

namespace kz {

// The Linux program's game in progress, a file of its own beside the records. It is replaced
// as a whole at every change of the field, so a program killed outright still leaves the
// game as it was at the last move; an empty file is no game.
class GameFile {
  public:
    explicit GameFile(std::string path);
    ~GameFile();
    GameFile(const GameFile&) = delete;
    GameFile& operator=(const GameFile&) = delete;

    // <XDG_DATA_HOME or ~/.local/share>/kestrane-zivadorured/game
    static std::string defaultPath();

    // The text kept; nothing when there is none or something else is in the file's place.
    std::optional<std::string> read();
    // Durable also flushes the folder: for the last write of a run.
    bool write(const std::string& text, bool durable);

    // Takes the game for this program while it runs, through a lock on a file beside it;
    // false when another program (a second window) holds it. That one neither takes up nor
    // keeps a game, so a game is never played on, or counted, twice.
    bool claim();

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    int lock_ = -1;
};

}  // namespace kz
