#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/common/settings.h"

namespace kz {

// Where a program keeps the settings as texts under their names: the Linux program's key
// file, the page's storage. (The Windows program keeps them in the registry its own way.)
class SettingsMedium {
  public:
    using Values = std::vector<std::pair<const char*, int32_t>>;

    virtual ~SettingsMedium() = default;
    // The text stored under a name; nothing when none is stored.
    virtual std::optional<std::string> read(const char* name) = 0;
    // Stores the values under their names in one go, keeping whatever else is stored; false
    // when it could not.
    virtual bool write(const Values& values) = 0;
};

// A stored setting's text as a number: an optional minus sign and decimal digits, nothing
// else; anything else, or a number that does not fit in 64 bits, is no number.
std::optional<int64_t> parseSettingNumber(std::string_view text);

// The stored settings. A value missing, damaged or outside what the menus name gives that
// setting's default. A missing value is written with its default, so the storage shows what
// is in use after the first run; a value that is there but cannot be used (perhaps one a
// later release understands) stays as it is until the player's next choice is saved.
GameSettings loadSettings(SettingsMedium& medium);
// Stores the settings; false when they could not be stored.
bool saveSettings(SettingsMedium& medium, const GameSettings& settings);

}  // namespace kz
