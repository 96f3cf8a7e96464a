#pragma once

#include <cstdint>
#include <string>

#include "app/common/settings.h"

namespace kz {

// Keeps the game settings in a key file between runs. Nothing here is ever reported to
// the player: a file that cannot be read gives the defaults, one that cannot be written
// keeps whatever the next run finds.
class SettingsStore {
  public:
    explicit SettingsStore(std::string path);

    // <user config dir>/kestrane-zivadorured/settings.ini
    static std::string defaultPath();

    // Reads both settings. A missing, unreadable or malformed file, a missing value, a value
    // of the wrong type or one the menus do not name gives that setting's default. Missing
    // values (or a missing file) are written back with their defaults so the file exists
    // after the first run.
    GameSettings load() const;

    // Writes both settings, keeping anything else a readable file holds. Returns false when
    // the file could not be written; callers have nothing to tell the player about it.
    bool save(const GameSettings& settings) const;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace kz
