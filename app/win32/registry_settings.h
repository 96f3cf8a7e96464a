#pragma once

#include <windows.h>

#include <cstdint>

#include "app/common/settings.h"
#include "app/win32/registry_value.h"

namespace kz {

// Reads a setting from the open key. A missing value (or one that cannot be read at all) is
// created with the 4-byte default and reported as not existing.
StoredValue readOrCreateValue(HKEY key, const char* name, DWORD type, uint32_t defaultValue);

// Reads both settings from the current user's registry, creating missing values with their
// defaults. A stored value the game cannot use gives the default.
GameSettings loadSettings();

// Writes both settings back.
void storeSettings(const GameSettings& settings);

}  // namespace kz
