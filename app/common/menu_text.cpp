#include "app/common/menu_text.h"

#include <utility>

namespace kz {
namespace {

constexpr uint32_t kModifierBits = keyflag::Control | keyflag::Shift | keyflag::Alt;

std::string keyName(uint32_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= virtualkey::F1 && key < virtualkey::F1 + 24) {
        return "F" + std::to_string(key - virtualkey::F1 + 1);
    }
    // The menu table names only letters, digits and function keys.
    return "?";
}

// The modifiers first, in the order the platforms' menus show them.
template <typename Part>
std::string joinKey(const KeyBinding& key, Part part) {
    std::string text;
    for (const auto& [bit, name] : {std::pair<uint32_t, const char*>{keyflag::Control, "Ctrl"},
                                    {keyflag::Shift, "Shift"},
                                    {keyflag::Alt, "Alt"}}) {
        if ((key.modifiers & bit) != 0) {
            text += part(name) + " + ";
        }
    }
    return text + part(keyName(key.key));
}

std::string kbd(const KeyBinding& key) {
    return joinKey(key, [](const std::string& name) { return "<kbd>" + name + "</kbd>"; });
}

}  // namespace

std::string menuLabel(uint16_t command) {
    return menuLabel(command, English{});
}

std::string menuLabel(uint16_t command, const Translation& translation) {
    std::string label;
    for (const MenuEntry& entry : kMenuTable) {
        if (entry.kind == MenuEntry::Item && entry.command == command) {
            for (const char c : translation.text(entry.label)) {
                if (c != '&') {
                    label += c;
                }
            }
            break;
        }
    }
    return label;
}

std::string keyText(const KeyBinding& key) {
    return joinKey(key, [](const std::string& name) { return name; });
}

uint16_t commandForKey(KeyUse use, uint32_t key, uint32_t modifiers) {
    const KeyBinding pressed{key, modifiers & kModifierBits};
    for (const MenuEntry& entry : kMenuTable) {
        if (entry.kind == MenuEntry::Item && entry.keyUse == use && entry.key.isSet() &&
            (entry.key == pressed || (entry.alsoKey.isSet() && entry.alsoKey == pressed))) {
            return entry.command;
        }
    }
    return 0;
}

std::string helpKeyRows() {
    std::string rows;
    for (const MenuEntry& entry : kMenuTable) {
        if (entry.kind != MenuEntry::Item || !entry.key.isSet() || entry.keyUse == KeyUse::Shown) {
            continue;
        }
        std::string keys = kbd(entry.key);
        if (entry.alsoKey.isSet()) {
            keys += " or " + kbd(entry.alsoKey);
        }
        std::string action = menuLabel(entry.command);
        if (entry.keyUse == KeyUse::Accelerator) {
            // The page cannot take a key the browser binds itself.
            action += "; in the browser this is the browser's own key";
        }
        rows += "<tr><td>" + keys + "</td><td>" + action + "</td></tr>\n";
    }
    return rows;
}

}  // namespace kz
