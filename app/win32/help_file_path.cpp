#include "app/win32/help_file_path.h"

namespace kz {

std::wstring fileBesideProgram(const std::wstring& programPath, const std::wstring& fileName) {
    const auto slash = programPath.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return fileName;
    }
    return programPath.substr(0, slash + 1) + fileName;
}

HelpFileArgument chooseHelpFileArgument(
    const std::wstring& fullName,
    const std::function<std::optional<std::string>(const std::wstring&)>& toAnsi,
    const std::function<std::optional<std::wstring>(const std::wstring&)>& shortName) {
    HelpFileArgument argument;
    argument.ansi = toAnsi(fullName);
    if (argument.ansi) {
        return argument;
    }
    if (const auto shortForm = shortName(fullName)) {
        argument.ansi = toAnsi(*shortForm);
        if (argument.ansi) {
            return argument;
        }
    }
    argument.wide = fullName;
    return argument;
}

}  // namespace kz
