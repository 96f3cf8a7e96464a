#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/common/settings.h"
#include "app/common/settings_store.h"

namespace kz {

// Keeps the game settings in a key file between runs. Nothing here is ever reported to
// the player: a file that cannot be read gives the defaults, one that cannot be written
// keeps whatever the next run finds. Only a regular file is read or replaced; a symbolic
// link is followed and stays a link.
class SettingsFile : public SettingsMedium {
  public:
    explicit SettingsFile(std::string path);

    // <XDG_CONFIG_HOME or ~/.config>/kestrane-zivadorured/settings.ini
    static std::string defaultPath();

    // Reads both settings. Every value that can be used is kept; a missing or unusable one
    // gives that setting's default. Missing values (or a missing file) are written with
    // their defaults so the file exists after the first run. Anything but a regular text
    // file in its place gives the defaults and is left as it is.
    GameSettings load();

    // Writes both settings, keeping everything else the file holds. Returns false when the
    // file could not be written; callers have nothing to tell the player about it.
    bool save(const GameSettings& settings);

    // The size of the window's game area kept by saveAreaSize; nothing when none is kept or
    // what is kept is no size (each side from 1 to kLargestAreaSide, as a number).
    std::optional<AreaSize> loadAreaSize();
    bool saveAreaSize(const AreaSize& size);

    // The file as it is at each call: a value, or the values written into what it holds.
    std::optional<std::string> read(const char* name) override;
    bool write(const Values& values) override;

    static constexpr int32_t kLargestAreaSide = 16384;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace kz
