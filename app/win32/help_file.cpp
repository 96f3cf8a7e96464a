#include "app/win32/help_file.h"

#include <htmlhelp.h>

#include <optional>
#include <string>
#include <vector>

#include "app/common/identity.h"
#include "app/win32/help_file_path.h"
#include "app/win32/html_help.h"

namespace kz {

// The HH_DISPLAY_SEARCH record the viewer checks by its cbStruct: 32 bytes in a 32-bit
// program, 40 in a 64-bit one, whose pointer fields are wider.
static_assert(sizeof(HH_FTS_QUERY) == (sizeof(void*) == 4 ? 32 : 40), "HH_FTS_QUERY layout");

namespace {

// The program's own path, however long.
std::wstring programPath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            return std::wstring(buffer.data(), length);
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring widen(const char* ascii) {
    std::wstring out;
    for (const char* c = ascii; *c != '\0'; ++c) {
        out += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    }
    return out;
}

// The name in the ANSI code page, only when every character has its exact spelling there.
std::optional<std::string> toAnsi(const std::wstring& name) {
    const int wideLength = static_cast<int>(name.size());
    // A UTF-8 code page spells everything, and takes neither flags nor a default character.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(CP_ACP, flags, name.data(), wideLength, nullptr, 0,
                                           nullptr, usedDefaultOut);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, name.data(), wideLength, &out[0], length, nullptr,
                        usedDefaultOut);
    if (usedDefault) {
        return std::nullopt;
    }
    return out;
}

// The short form of an existing file's name; volumes without short names give the name
// itself back, which then fails toAnsi again.
std::optional<std::wstring> shortName(const std::wstring& name) {
    const DWORD size = GetShortPathNameW(name.c_str(), nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<wchar_t> buffer(size);
    const DWORD length = GetShortPathNameW(name.c_str(), buffer.data(), size);
    if (length == 0 || length >= size) {
        return std::nullopt;
    }
    return std::wstring(buffer.data(), length);
}

}  // namespace

void openHelpFile(HtmlHelpControl& control, HWND owner, UINT command, DWORD_PTR data) {
    const std::wstring program = programPath();
    const std::wstring file =
        program.empty() ? widen(kHelpFileName) : fileBesideProgram(program, widen(kHelpFileName));
    const HelpFileArgument argument = chooseHelpFileArgument(file, toAnsi, shortName);
    if (argument.ansi) {
        control.callHtmlHelp(owner, argument.ansi->c_str(), command, data);
    } else {
        control.callHtmlHelpWide(owner, argument.wide.c_str(), command, data);
    }
}

}  // namespace kz
