#pragma once

#include <string>

namespace kz {

// Where a file of the program's own lives: <$variable>/kestrane-zivadorured/<name> when the
// variable holds an absolute path (anything else is to be ignored), otherwise
// <home>/<homeFallback>/kestrane-zivadorured/<name>. For XDG_CONFIG_HOME and ".config",
// XDG_DATA_HOME and ".local/share".
std::string userFilePath(const char* variable, const char* homeFallback, const char* name);

}  // namespace kz
