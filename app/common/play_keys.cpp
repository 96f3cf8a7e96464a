#include "app/common/play_keys.h"

#include "app/common/commands.h"
#include "app/common/menu_text.h"
#include "display/messages.h"

namespace kz {

std::optional<PlayKey> playKeyOf(uint32_t message, uint32_t wparam, uint32_t modifiers) {
    if (message != msg::KeyDown || (modifiers & keyflag::Alt) != 0) {
        return std::nullopt;
    }
    // The keys of menu lines are the menu table's.
    switch (commandForKey(KeyUse::Session, wparam, modifiers)) {
        case command::Undo:
            return PlayKey::Undo;
        case command::Redo:
            return PlayKey::Redo;
        case command::Hint:
            return PlayKey::Hint;
        default:
            break;
    }
    if ((modifiers & keyflag::Control) != 0) {
        return std::nullopt;
    }
    switch (wparam) {
        case virtualkey::Left:
            return PlayKey::Left;
        case virtualkey::Right:
            return PlayKey::Right;
        case virtualkey::Up:
            return PlayKey::Up;
        case virtualkey::Down:
            return PlayKey::Down;
        case virtualkey::Space:
        case virtualkey::Return:
            return PlayKey::Activate;
        case virtualkey::Escape:
            return PlayKey::PutBack;
        default:
            return std::nullopt;
    }
}

}  // namespace kz
