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

    // <XDG_DATA_HOME or ~/.local/share>/kestrane-zivadorured/game
    static std::string defaultPath();

    // The text kept; nothing when there is none or something else is in the file's place.
    std::optional<std::string> read();
    // Durable also flushes the folder: for the last write of a run.
    bool write(const std::string& text, bool durable);

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace kz
