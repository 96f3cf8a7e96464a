#include "app/win32/menu_commands.h"

#include <windows.h>

#include <htmlhelp.h>

#include "app/common/menu_table.h"
#include "app/win32/about_box.h"
#include "app/win32/help_file.h"

namespace kz {

MenuCommandShell::MenuCommandShell(HINSTANCE instance, HWND mainWindow)
    : instance_(instance), mainWindow_(mainWindow) {}

void MenuCommandShell::windowChanged(const WindowState& window) {
    // The menus have the field size and action type groups alone; the title never changes.
    for (const int group : {kFieldSizeGroup, kActionTypeGroup}) {
        CheckMenuRadioItem(GetMenu(mainWindow_), firstItemOf(group), lastItemOf(group),
                           window.menu.marked(group), MF_BYCOMMAND);
    }
}

void MenuCommandShell::openHelp(HelpTopic topic) {
    switch (topic) {
        case HelpTopic::Contents:
            openHelpFile(helpControl_, mainWindow_, HH_DISPLAY_TOC, 0);
            break;
        case HelpTopic::Search: {
            HH_FTS_QUERY query = {};
            query.cbStruct = sizeof(query);
            openHelpFile(helpControl_, mainWindow_, HH_DISPLAY_SEARCH,
                         reinterpret_cast<DWORD_PTR>(&query));
            break;
        }
        case HelpTopic::Index:
            openHelpFile(helpControl_, mainWindow_, HH_DISPLAY_INDEX, 0);
            break;
    }
}

void MenuCommandShell::showAbout() {
    showAboutBox(instance_, mainWindow_);
}

void MenuCommandShell::fatal(FatalError error) {
    showFatalError(mainWindow_, error);
}

void showFatalError(HWND owner, FatalError error) {
    MessageBoxA(owner, kFatalErrorText, fatalErrorCaption(error), MB_OK | MB_ICONWARNING);
}

}  // namespace kz
