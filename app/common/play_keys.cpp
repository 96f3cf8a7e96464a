#include "app/common/play_keys.h"

#include "display/messages.h"

namespace kz {

std::optional<PlayKey> playKeyOf(uint32_t message, uint32_t wparam, uint32_t modifiers) {
    if (message != msg::KeyDown || (modifiers & keyflag::Alt) != 0) {
        return std::nullopt;
    }
    if ((modifiers & keyflag::Control) != 0) {
        const bool shift = (modifiers & keyflag::Shift) != 0;
        if (wparam == virtualkey::Z) {
            return shift ? PlayKey::Redo : PlayKey::Undo;
        }
        if (wparam == virtualkey::Y) {
            return PlayKey::Redo;
        }
        return std::nullopt;
    }
    switch (wparam) {
        case virtualkey::H:
            return PlayKey::Hint;
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
