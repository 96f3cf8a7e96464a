#pragma once

#include <windows.h>

namespace kz {

// The About box (dialog 130): the version, and the maker's web address drawn as a link that
// opens in the browser. Modal; returns when the box is closed.
void showAboutBox(HINSTANCE instance, HWND owner);

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Centres a dialog on its owner, the main window.
void centreOnMainWindow(HWND dialog);

}  // namespace kz
