#pragma once

#include <array>
#include <cstdint>

#include "app/common/commands.h"
#include "app/common/translation.h"
#include "display/messages.h"

namespace kz {

// A key that chooses a line of the menu: the key as the key messages name it (a virtualkey code
// of display/messages.h) and the keyflag modifiers held with it; a key of 0 is none.
struct KeyBinding {
    uint32_t key = 0;
    uint32_t modifiers = 0;

    constexpr bool isSet() const { return key != 0; }
    constexpr bool operator==(const KeyBinding& o) const {
        return key == o.key && modifiers == o.modifiers;
    }
};

// Who acts on a line's key. Every key is shown beside its line.
enum class KeyUse {
    // Only shown (F1, which the Windows program shows but deliberately does not bind).
    Shown,
    // The program binds it to the line's command: the Windows accelerator table, the Linux
    // accelerators. The browser keeps such a key for itself.
    Accelerator,
    // The session takes it from the key messages, in the Linux program and the page alike;
    // a program binding it too would act twice.
    Session,
};

// One line of the main window's menu bar, in the order the menus show them. A popup opens
// the lines of the next depth that follow it, up to the next line of its own depth or less.
struct MenuEntry {
    enum Kind { Popup, Item, Separator };

    int depth;  // 0 for the menu bar's own popups
    Kind kind;
    // The label with '&' before the mnemonic letter, as the Windows menu spells it.
    const char* label;
    // The key shown after the label (after a tab on Windows), and who acts on it.
    KeyBinding key;
    uint16_t command;  // 0 for popups and separators
    // Items of one group share one radio mark; 0 for items without a mark.
    int radioGroup;
    // False for play the Linux program and the page add: the Windows menu (generated from
    // this table) leaves such a line out, and a popup so marked takes its lines with it.
    bool inWindowsMenu = true;
    // False for the lines only the page has (Share, which needs a browser's share sheet).
    bool inLinuxMenu = true;
    KeyUse keyUse = KeyUse::Shown;
    // A second key of the same use, not shown in the menu (Ctrl + Y, as many programs redo).
    KeyBinding alsoKey = {};
};

constexpr KeyBinding kNoKey{};
constexpr KeyBinding ctrl(uint32_t key) {
    return {key, keyflag::Control};
}

constexpr int kFieldSizeGroup = 1;
constexpr int kActionTypeGroup = 2;
constexpr int kDifficultyGroup = 3;

constexpr std::array<MenuEntry, 42> kMenuTable = {{
    {0, MenuEntry::Popup, N_("&Game"), kNoKey, 0, 0},
    {1, MenuEntry::Item, N_("&Undo"), ctrl(virtualkey::Z), command::Undo, 0, false, true,
     KeyUse::Session},
    {1,
     MenuEntry::Item,
     N_("&Redo"),
     {virtualkey::Z, keyflag::Control | keyflag::Shift},
     command::Redo,
     0,
     false,
     true,
     KeyUse::Session,
     ctrl(virtualkey::Y)},
    {1,
     MenuEntry::Item,
     N_("&Hint"),
     {virtualkey::H, 0},
     command::Hint,
     0,
     false,
     true,
     KeyUse::Session},
    {1, MenuEntry::Separator, nullptr, kNoKey, 0, 0, false},
    {1, MenuEntry::Item, N_("&Copy Puzzle Code"), kNoKey, command::CopyPuzzleCode, 0, false},
    {1, MenuEntry::Item, N_("&Play Puzzle Code..."), kNoKey, command::PlayPuzzleCode, 0, false},
    {1, MenuEntry::Item, N_("&Today's Puzzle"), kNoKey, command::TodaysPuzzle, 0, false},
    {1, MenuEntry::Item, N_("Past Pu&zzle..."), kNoKey, command::PastPuzzle, 0, false},
    {1, MenuEntry::Item, N_("Copy Today's R&esult"), kNoKey, command::CopyTodaysResult, 0, false},
    {1, MenuEntry::Item, N_("&Share"), kNoKey, command::Share, 0, false, false},
    {1, MenuEntry::Separator, nullptr, kNoKey, 0, 0, false},
    {1, MenuEntry::Item, N_("St&atistics..."), kNoKey, command::Statistics, 0, false},
    {1, MenuEntry::Item, N_("Exp&ort Records..."), kNoKey, command::ExportRecords, 0, false},
    {1, MenuEntry::Item, N_("&Import Records..."), kNoKey, command::ImportRecords, 0, false},
    {1, MenuEntry::Separator, nullptr, kNoKey, 0, 0, false},
    {1, MenuEntry::Item, N_("E&xit"), ctrl(virtualkey::W), command::Exit, 0, true, true,
     KeyUse::Accelerator},
    {0, MenuEntry::Popup, N_("&Options"), kNoKey, 0, 0},
    {1, MenuEntry::Popup, N_("&Field Size"), kNoKey, 0, 0},
    {2, MenuEntry::Item, N_("2 x 2"), kNoKey, command::FieldSize2, kFieldSizeGroup},
    {2, MenuEntry::Item, N_("3 x 3"), kNoKey, command::FieldSize3, kFieldSizeGroup},
    {2, MenuEntry::Item, N_("4 x 4"), kNoKey, command::FieldSize4, kFieldSizeGroup},
    {2, MenuEntry::Item, N_("5 x 5"), kNoKey, command::FieldSize5, kFieldSizeGroup},
    {2, MenuEntry::Item, N_("Random"), kNoKey, command::FieldSizeRandom, kFieldSizeGroup},
    {1, MenuEntry::Popup, N_("&Action Type"), kNoKey, 0, 0},
    {2, MenuEntry::Item, N_("&Add From None"), kNoKey, command::AddFromNone, kActionTypeGroup},
    {2, MenuEntry::Item, N_("A&dd From Some"), kNoKey, command::AddFromSome, kActionTypeGroup},
    {2, MenuEntry::Item, N_("&Remove From Full"), kNoKey, command::RemoveFromFull,
     kActionTypeGroup},
    {2, MenuEntry::Item, N_("R&emove From Some"), kNoKey, command::RemoveFromSome,
     kActionTypeGroup},
    {2, MenuEntry::Item, N_("&Move From Some"), kNoKey, command::MoveFromSome, kActionTypeGroup},
    {2, MenuEntry::Item, N_("M&ixed"), kNoKey, command::Mixed, kActionTypeGroup},
    {1, MenuEntry::Popup, N_("&Difficulty"), kNoKey, 0, 0, false},
    {2, MenuEntry::Item, N_("As &Designed"), kNoKey, command::DifficultyAsDesigned,
     kDifficultyGroup, false},
    {2, MenuEntry::Item, N_("&Easy"), kNoKey, command::DifficultyEasy, kDifficultyGroup, false},
    {2, MenuEntry::Item, N_("&Medium"), kNoKey, command::DifficultyMedium, kDifficultyGroup, false},
    {2, MenuEntry::Item, N_("&Hard"), kNoKey, command::DifficultyHard, kDifficultyGroup, false},
    {0, MenuEntry::Popup, N_("&Help"), kNoKey, 0, 0},
    {1, MenuEntry::Item, N_("&Contents"), {virtualkey::F1, 0}, command::HelpContents, 0},
    {1, MenuEntry::Item, N_("&Search"), kNoKey, command::HelpSearch, 0},
    {1, MenuEntry::Item, N_("&Index"), kNoKey, command::HelpIndex, 0},
    {1, MenuEntry::Separator, nullptr, kNoKey, 0, 0},
    {1, MenuEntry::Item, N_("&About"), kNoKey, command::About, 0},
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
