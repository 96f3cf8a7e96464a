#pragma once

#include <windows.h>

namespace kz {

// Opens the help file that lies beside the program with the HTML Help viewer, whatever
// characters the program's folder is named with. Silent when the viewer is missing.
void openHelpFile(HWND owner, UINT command, DWORD_PTR data);

}  // namespace kz
