#include "app/win32/html_help.h"

#include <optional>
#include <string>

#include "app/win32/help_library_path.h"

namespace kz {

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
using HtmlHelpWideFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The path the system registers for the HTML Help control's COM class.
std::optional<std::string> registeredLibraryPath() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT,
                      "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", 0, KEY_READ,
                      &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    char buffer[MAX_PATH + 1] = {};
    DWORD type = 0;
    DWORD size = MAX_PATH;  // one byte stays zero: the stored string need not be terminated
    const LONG status =
        RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    if (type == REG_EXPAND_SZ) {
        char expanded[MAX_PATH] = {};
        const DWORD length = ExpandEnvironmentStringsA(buffer, expanded, sizeof(expanded));
        if (length == 0 || length > sizeof(expanded)) {
            return std::nullopt;
        }
        return std::string(expanded);
    }
    return std::string(buffer);
}

std::string systemDirectory() {
    char buffer[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(buffer, sizeof(buffer));
    if (length == 0 || length >= sizeof(buffer)) {
        return {};
    }
    return std::string(buffer, length);
}

HMODULE loadHelpLibrary() {
    for (const std::string& path :
         helpLibraryCandidates(registeredLibraryPath(), systemDirectory())) {
        if (HMODULE module = LoadLibraryA(path.c_str())) {
            return module;
        }
    }
    return nullptr;
}

}  // namespace

FARPROC HtmlHelpControl::resolve(EntryPoint& entry) {
    if (loadFailed_ || entry.missing) {
        return nullptr;
    }
    if (!library_) {
        library_ = loadHelpLibrary();
        if (!library_) {
            loadFailed_ = true;
            return nullptr;
        }
    }
    if (!entry.address) {
        entry.address = GetProcAddress(library_, MAKEINTRESOURCEA(entry.ordinal));
        entry.missing = entry.address == nullptr;
    }
    return entry.address;
}

HWND HtmlHelpControl::callHtmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data) {
    FARPROC address = resolve(ansiEntry_);
    if (!address) {
        return nullptr;
    }
    return reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(address))(owner, file,
                                                                                command, data);
}

HWND HtmlHelpControl::callHtmlHelpWide(HWND owner, const wchar_t* file, UINT command,
                                       DWORD_PTR data) {
    FARPROC address = resolve(wideEntry_);
    if (!address) {
        return nullptr;
    }
    return reinterpret_cast<HtmlHelpWideFunction>(reinterpret_cast<void*>(address))(owner, file,
                                                                                    command, data);
}

}  // namespace kz
