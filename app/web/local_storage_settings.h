#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/common/settings.h"
#include "app/web/page.h"

namespace kz {

// A stored setting's text as a number: an optional minus sign and decimal digits, nothing
// else; anything else, or a number that does not fit in 64 bits, is no number.
std::optional<int64_t> parseStoredNumber(const std::string& text);

// The settings kept in the page's storage, each validated as every program does: a value
// missing, damaged or outside what the menus name gives the default. A value that was not
// stored as it is used now is written back.
GameSettings loadStoredSettings(Page& page);
void saveStoredSettings(Page& page, const GameSettings& settings);

}  // namespace kz
