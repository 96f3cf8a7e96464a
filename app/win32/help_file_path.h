#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kz {

// The file of that name in the folder of the program's own path; the bare name when the
// path names no folder.
std::wstring fileBesideProgram(const std::wstring& programPath, const std::wstring& fileName);

// How the help file is named to the HTML Help viewer: in the ANSI code page when it can
// spell the full name or, failing that, the short (8.3) form of it; otherwise in full, to
// the viewer's wide entry point. A folder named in another script thus still opens.
struct HelpFileArgument {
    std::optional<std::string> ansi;  // for HtmlHelpA when set
    std::wstring wide;                // for HtmlHelpW otherwise
};

// toAnsi spells a name in the ANSI code page, or gives nothing when a character has no
// exact spelling there; shortName gives the short form of an existing file, or nothing.
HelpFileArgument chooseHelpFileArgument(
    const std::wstring& fullName,
    const std::function<std::optional<std::string>(const std::wstring&)>& toAnsi,
    const std::function<std::optional<std::wstring>(const std::wstring&)>& shortName);

}  // namespace kz
