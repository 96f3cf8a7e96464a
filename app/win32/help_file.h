#pragma once

#include <windows.h>

#include "app/win32/html_help.h"

namespace kz {

// Opens the help file that lies beside the program with the HTML Help viewer, whatever
// characters the program's folder is named with, through control. Silent when the viewer is
// missing.
void openHelpFile(HtmlHelpControl& control, HWND owner, UINT command, DWORD_PTR data);

}  // namespace kz
