#pragma once

#include <windows.h>

#include <cstdint>

#include "app/common/game_session.h"
#include "app/win32/html_help.h"

namespace kz {

// What the session needs of the Windows program: the radio marks of the main window's
// menu, the HTML Help viewer, the About box and the failure box. DirectDraw draws straight
// onto the screen, so nothing is presented.
class MenuCommandShell : public ProgramShell {
  public:
    // For the main window of the program instance.
    MenuCommandShell(HINSTANCE instance, HWND mainWindow);

    void windowChanged(const WindowState& window) override;
    void openHelp(HelpTopic topic) override;
    void showAbout() override;
    void fatal(FatalError error) override;

  private:
    HINSTANCE instance_;
    HWND mainWindow_;
    HtmlHelpControl helpControl_;
};

// The failure box, owned by owner (none before the window exists).
void showFatalError(HWND owner, FatalError error);

}  // namespace kz
