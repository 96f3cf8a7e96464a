#pragma once

#include <array>
#include <string>

namespace kz {

// A file of the program's own: the variable naming its base folder, the folder under the home
// folder when that variable is unusable, its name, and what it keeps (the manual page says it).
struct UserFile {
    const char* variable;
    const char* homeFallback;
    const char* name;
    const char* keeps;
};

constexpr UserFile kSettingsUserFile{"XDG_CONFIG_HOME", ".config", "settings.ini",
                                     "The choices of the Options menu and the size of the "
                                     "window, kept between runs."};
constexpr UserFile kRecordsUserFile{"XDG_DATA_HOME", ".local/share", "records",
                                    "The records of the games played, shown by Statistics."};
constexpr UserFile kGameUserFile{"XDG_DATA_HOME", ".local/share", "game",
                                 "The game on show when the program last ended, taken up at "
                                 "the next start."};
constexpr std::array<UserFile, 3> kUserFiles{kSettingsUserFile, kRecordsUserFile, kGameUserFile};

// Where a file of the program's own lives: <$variable>/kestrane-zivadorured/<name> when the
// variable holds an absolute path (anything else is to be ignored), otherwise
// <home>/<homeFallback>/kestrane-zivadorured/<name>.
std::string userFilePath(const UserFile& file);

}  // namespace kz
