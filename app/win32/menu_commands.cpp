#include "app/win32/menu_commands.h"

#include <windows.h>

#include <htmlhelp.h>

#include "app/common/commands.h"
#include "app/common/settings.h"
#include "app/win32/about_box.h"
#include "app/win32/help_file.h"
#include "app/win32/shell.h"
#include "resources/win32/resource.h"

namespace kz {

// The resource script names the commands through resource.h; both must agree with the
// shared command table.
static_assert(IDM_EXIT == command::Exit && IDM_FIELD_2 == command::FieldSize2 &&
                  IDM_FIELD_3 == command::FieldSize3 && IDM_FIELD_4 == command::FieldSize4 &&
                  IDM_FIELD_5 == command::FieldSize5 &&
                  IDM_FIELD_RANDOM == command::FieldSizeRandom &&
                  IDM_HELP_CONTENTS == command::HelpContents &&
                  IDM_HELP_SEARCH == command::HelpSearch && IDM_HELP_INDEX == command::HelpIndex &&
                  IDM_ABOUT == command::About && IDM_ADD_FROM_NONE == command::AddFromNone &&
                  IDM_ADD_FROM_SOME == command::AddFromSome &&
                  IDM_REMOVE_FROM_FULL == command::RemoveFromFull &&
                  IDM_REMOVE_FROM_SOME == command::RemoveFromSome &&
                  IDM_MOVE_FROM_SOME == command::MoveFromSome && IDM_MIXED == command::Mixed,
              "menu resource ids differ from the command table");

void MenuCommandShell::markFieldSize(uint16_t commandId) {
    CheckMenuRadioItem(GetMenu(shell().mainWindow), command::FirstFieldSize, command::LastFieldSize,
                       commandId, MF_BYCOMMAND);
}

void MenuCommandShell::markActionType(uint16_t commandId) {
    CheckMenuRadioItem(GetMenu(shell().mainWindow), command::FirstActionType,
                       command::LastActionType, commandId, MF_BYCOMMAND);
}

void MenuCommandShell::openHelp(HelpTopic topic) {
    switch (topic) {
        case HelpTopic::Contents:
            openHelpFile(shell().mainWindow, HH_DISPLAY_TOC, 0);
            break;
        case HelpTopic::Search: {
            HH_FTS_QUERY query = {};
            query.cbStruct = sizeof(query);
            openHelpFile(shell().mainWindow, HH_DISPLAY_SEARCH,
                         reinterpret_cast<DWORD_PTR>(&query));
            break;
        }
        case HelpTopic::Index:
            openHelpFile(shell().mainWindow, HH_DISPLAY_INDEX, 0);
            break;
    }
}

void MenuCommandShell::showAbout() {
    showAboutBox(shell().instance, shell().mainWindow);
}

}  // namespace kz
