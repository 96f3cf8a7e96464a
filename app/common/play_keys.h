#pragma once

#include <cstdint>
#include <optional>

namespace kz {

// The keys of the extra play. Keys held with Alt are never taken: they are the menus'.
enum class PlayKey { Undo, Redo, Hint, Left, Right, Up, Down, Activate, PutBack };

// The key of a message (WM_KEYDOWN with a Windows virtual-key code in wparam and the keyflag
// bits of the modifiers held, as in display/messages.h): Ctrl+Z undo; Ctrl+Shift+Z and Ctrl+Y
// redo; H hint; the arrows; Space and Return click at the focus; Esc puts back the stick in
// hand. Nothing for every other message.
std::optional<PlayKey> playKeyOf(uint32_t message, uint32_t wparam, uint32_t modifiers);

}  // namespace kz
