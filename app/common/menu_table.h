#pragma once

#include <array>
#include <cstdint>

#include "app/common/commands.h"

namespace kz {

// One line of the main window's menu bar, in the order the menus show them. A popup opens
// the lines of the next depth that follow it, up to the next line of its own depth or less.
struct MenuEntry {
    enum Kind { Popup, Item, Separator };

    int depth;  // 0 for the menu bar's own popups
    Kind kind;
    // The label with '&' before the mnemonic letter, as the Windows menu spells it.
    const char* label;
    // The shortcut shown after a tab on Windows, or null.
    const char* shortcut;
    uint16_t command;  // 0 for popups and separators
    // Items of one group share one radio mark; 0 for items without a mark.
    int radioGroup;
    // False for play the Linux program and the page add: the Windows menu (generated from
    // this table) leaves such a line out, and a popup so marked takes its lines with it.
    bool inWindowsMenu = true;
    // False for the lines only the page has (Share, which needs a browser's share sheet).
    bool inLinuxMenu = true;
};

constexpr int kFieldSizeGroup = 1;
constexpr int kActionTypeGroup = 2;

constexpr std::array<MenuEntry, 33> kMenuTable = {{
    {0, MenuEntry::Popup, "&Game", nullptr, 0, 0},
    // The shortcuts of these lines are the extra play's own keys, taken by the session; the
    // menus only show them.
    {1, MenuEntry::Item, "&Undo", "Ctrl + Z", command::Undo, 0, false},
    {1, MenuEntry::Item, "&Redo", "Ctrl + Shift + Z", command::Redo, 0, false},
    {1, MenuEntry::Item, "&Hint", "H", command::Hint, 0, false},
    {1, MenuEntry::Separator, nullptr, nullptr, 0, 0, false},
    {1, MenuEntry::Item, "&Copy Puzzle Code", nullptr, command::CopyPuzzleCode, 0, false},
    {1, MenuEntry::Item, "&Play Puzzle Code...", nullptr, command::PlayPuzzleCode, 0, false},
    {1, MenuEntry::Item, "&Today's Puzzle", nullptr, command::TodaysPuzzle, 0, false},
    {1, MenuEntry::Item, "&Share", nullptr, command::Share, 0, false, false},
    {1, MenuEntry::Separator, nullptr, nullptr, 0, 0, false},
    {1, MenuEntry::Item, "St&atistics...", nullptr, command::Statistics, 0, false},
    {1, MenuEntry::Separator, nullptr, nullptr, 0, 0, false},
    {1, MenuEntry::Item, "E&xit", "Ctrl + W", command::Exit, 0},
    {0, MenuEntry::Popup, "&Options", nullptr, 0, 0},
    {1, MenuEntry::Popup, "&Field Size", nullptr, 0, 0},
    {2, MenuEntry::Item, "2 x 2", nullptr, command::FieldSize2, kFieldSizeGroup},
    {2, MenuEntry::Item, "3 x 3", nullptr, command::FieldSize3, kFieldSizeGroup},
    {2, MenuEntry::Item, "4 x 4", nullptr, command::FieldSize4, kFieldSizeGroup},
    {2, MenuEntry::Item, "5 x 5", nullptr, command::FieldSize5, kFieldSizeGroup},
    {2, MenuEntry::Item, "Random", nullptr, command::FieldSizeRandom, kFieldSizeGroup},
    {1, MenuEntry::Popup, "&Action Type", nullptr, 0, 0},
    {2, MenuEntry::Item, "&Add From None", nullptr, command::AddFromNone, kActionTypeGroup},
    {2, MenuEntry::Item, "A&dd From Some", nullptr, command::AddFromSome, kActionTypeGroup},
    {2, MenuEntry::Item, "&Remove From Full", nullptr, command::RemoveFromFull, kActionTypeGroup},
    {2, MenuEntry::Item, "R&emove From Some", nullptr, command::RemoveFromSome, kActionTypeGroup},
    {2, MenuEntry::Item, "&Move From Some", nullptr, command::MoveFromSome, kActionTypeGroup},
    {2, MenuEntry::Item, "M&ixed", nullptr, command::Mixed, kActionTypeGroup},
    {0, MenuEntry::Popup, "&Help", nullptr, 0, 0},
    {1, MenuEntry::Item, "&Contents", "F1", command::HelpContents, 0},
    {1, MenuEntry::Item, "&Search", nullptr, command::HelpSearch, 0},
    {1, MenuEntry::Item, "&Index", nullptr, command::HelpIndex, 0},
    {1, MenuEntry::Separator, nullptr, nullptr, 0, 0},
    {1, MenuEntry::Item, "&About", nullptr, command::About, 0},
}};

// A table declared longer than its lines gets empty lines at its end; each line must say
// what it is.
constexpr bool everyLineIsWritten() {
    for (const MenuEntry& entry : kMenuTable) {
        if (entry.kind != MenuEntry::Separator && entry.label == nullptr) {
            return false;
        }
    }
    return true;
}
static_assert(everyLineIsWritten(), "a line of the menu table has no label");

// The first and the last item of a radio group, in menu order: the range a radio mark
// moves within.
constexpr uint16_t firstItemOf(int group) {
    for (const MenuEntry& entry : kMenuTable) {
        if (entry.radioGroup == group) {
            return entry.command;
        }
    }
    return 0;
}

constexpr uint16_t lastItemOf(int group) {
    uint16_t last = 0;
    for (const MenuEntry& entry : kMenuTable) {
        if (entry.radioGroup == group) {
            last = entry.command;
        }
    }
    return last;
}

}  // namespace kz
