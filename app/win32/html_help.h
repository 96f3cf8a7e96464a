#pragma once

#include <windows.h>

namespace kz {

// The HTML Help control, loaded on first use and kept by its owner across calls. When the
// control or its entry point is missing a call does nothing and returns null, now and on
// every later call; no message is shown.
class HtmlHelpControl {
  public:
    // HtmlHelpA of the control.
    HWND callHtmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data);

    // The same through HtmlHelpW of the same control, for a file name the ANSI code page
    // cannot spell. Its failure is recorded apart: a control without the wide entry point
    // keeps its ANSI one.
    HWND callHtmlHelpWide(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data);

  private:
    // One entry point of the control, resolved once; a failure to resolve it is kept.
    struct EntryPoint {
        WORD ordinal;
        FARPROC address = nullptr;
        bool missing = false;
    };

    // The entry point, loading the control first if needed; null when either is missing.
    FARPROC resolve(EntryPoint& entry);

    // HtmlHelpA and HtmlHelpW are exported by ordinal from the control.
    static constexpr WORD kHtmlHelpOrdinal = 14;
    static constexpr WORD kHtmlHelpWideOrdinal = 15;

    HMODULE library_ = nullptr;
    bool loadFailed_ = false;
    EntryPoint ansiEntry_{kHtmlHelpOrdinal};
    EntryPoint wideEntry_{kHtmlHelpWideOrdinal};
};

}  // namespace kz
