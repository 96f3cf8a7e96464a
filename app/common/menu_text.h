#pragma once

#include <cstdint>
#include <string>

#include "app/common/menu_table.h"
#include "app/common/translation.h"

namespace kz {

// The label of a menu item as the player reads it, without the '&' of its mnemonic.
std::string menuLabel(uint16_t command);
// The same in the player's language.
std::string menuLabel(uint16_t command, const Translation& translation);

// The key of a menu line as the menus and the help spell it: "Ctrl + Shift + Z", "F1".
std::string keyText(const KeyBinding& key);

// The command of the menu line whose key of that use is the key pressed with exactly these
// modifiers (keyflag bits), or 0.
uint16_t commandForKey(KeyUse use, uint32_t key, uint32_t modifiers);

// The rows of the help's key table for the keys of the menu that act (the session's keys and
// the accelerators), in menu order: <tr><td>keys</td><td>what they do</td></tr>.
std::string helpKeyRows();

}  // namespace kz
