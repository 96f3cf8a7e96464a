#include "app/win32/menu_commands.h"

#include <windows.h>

#include <htmlhelp.h>

#include "app/common/menu_table.h"
#include "app/win32/about_box.h"
#include "app/win32/help_file.h"
#include "app/win32/shell.h"

namespace kz {

void MenuCommandShell::mark(int group, uint16_t commandId) {
    CheckMenuRadioItem(GetMenu(shell().mainWindow), firstItemOf(group), lastItemOf(group),
                       commandId, MF_BYCOMMAND);
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

void MenuCommandShell::fatal(FatalError error) {
    showFatalError(shell().mainWindow, error);
}

void showFatalError(HWND owner, FatalError error) {
    MessageBoxA(owner, kFatalErrorText, fatalErrorCaption(error), MB_OK | MB_ICONWARNING);
}

}  // namespace kz
