#pragma once

#include <windows.h>

#include <cstdint>

#include "app/win32/stored_setting.h"

namespace kz {

// Reads a setting from the open key. A missing value (or one that cannot be read at all) is
// created with the 4-byte default and reported as not existing.
StoredValue readOrCreateValue(HKEY key, const char* name, DWORD type, uint32_t defaultValue);

// Reads both settings from the current user's registry, creating missing values with their
// defaults, and puts the radio marks of the Field Size and Action Type menus on them.
// A stored value the game cannot use gives the default, for the marks and the game alike.
void loadSettings(HMENU menu, int32_t* fieldSize, int32_t* actionType);

// Writes both settings back.
void storeSettings(int32_t fieldSize, int32_t actionType);

}  // namespace kz
