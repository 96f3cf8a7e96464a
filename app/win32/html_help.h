#pragma once

#include <windows.h>

namespace kz {

// Calls HtmlHelpA of the HTML Help control, loading the control on first use. When the
// control or its entry point is missing the call does nothing and returns null, now and on
// every later call; no message is shown.
HWND callHtmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data);

// The same through HtmlHelpW of the same control, for a file name the ANSI code page cannot
// spell. Its failure is recorded apart: a control without the wide entry point keeps its
// ANSI one.
HWND callHtmlHelpWide(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data);

}  // namespace kz
