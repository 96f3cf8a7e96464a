#include "app/gtk/settings_file.h"

#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "app/common/identity.h"
#include "app/common/settings.h"
#include "app/gtk/settings_lines.h"

namespace kz {
namespace {

// A settings file is a few lines; anything far larger is not one and is left alone.
constexpr off_t kLargestFile = 1 << 20;
// As many links as the kernel follows before it gives up.
constexpr int kMostLinks = 40;

enum class FileState { Missing, Read, Unusable };

struct FileContents {
    FileState state = FileState::Unusable;
    std::string text;
};

bool isMissing(int error) {
    return error == ENOENT || error == ENOTDIR;
}

// Reads a regular file only. Anything else in its place (a pipe, a device, a directory)
// could block the start or has nothing to give, so it counts as unusable and is never
// opened in a way that waits.
FileContents readSettingsFile(const std::string& path) {
    FileContents file;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        file.state = isMissing(errno) ? FileState::Missing : FileState::Unusable;
        return file;
    }
    if (!S_ISREG(info.st_mode) || info.st_size > kLargestFile) {
        return file;
    }
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        file.state = isMissing(errno) ? FileState::Missing : FileState::Unusable;
        return file;
    }
    // Something else may have taken the file's place since it was looked at.
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return file;
    }
    char buffer[4096];
    std::string text;
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 || static_cast<off_t>(text.size()) + got > kLargestFile) {
            close(fd);
            return file;
        }
        if (got == 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(got));
    }
    close(fd);
    file.state = FileState::Read;
    file.text = std::move(text);
    return file;
}

std::string directoryOf(const std::string& path) {
    gchar* dir = g_path_get_dirname(path.c_str());
    std::string result(dir);
    g_free(dir);
    return result;
}

// The file a path ends at once every symbolic link on it is followed, existing or not;
// nothing for a loop.
std::optional<std::string> linkTarget(std::string path) {
    for (int hops = 0; hops < kMostLinks; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        gchar* link = g_file_read_link(path.c_str(), nullptr);
        if (!link) {
            return std::nullopt;
        }
        std::string next(link);
        g_free(link);
        path = g_path_is_absolute(next.c_str()) ? next : directoryOf(path) + "/" + next;
    }
    return std::nullopt;
}

// Replaces the file through a temporary file and a rename beside it, so a crash never
// leaves half a file. A link is written through: the file it points at is replaced and the
// link stays. Anything but a regular file in the way is left alone.
bool writeSettingsFile(const std::string& path, const std::string& text) {
    std::optional<std::string> target = linkTarget(path);
    if (!target) {
        return false;
    }
    int mode = 0666;
    struct stat info {};
    if (stat(target->c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            return false;
        }
        mode = static_cast<int>(info.st_mode & 07777);
    } else if (!isMissing(errno)) {
        return false;
    }
    if (g_mkdir_with_parents(directoryOf(*target).c_str(), 0700) != 0) {
        return false;
    }
    GError* error = nullptr;
    gboolean ok = g_file_set_contents_full(
        target->c_str(), text.data(), static_cast<gssize>(text.size()),
        static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                           G_FILE_SET_CONTENTS_ONLY_EXISTING),
        mode, &error);
    if (!ok) {
        g_error_free(error);
    }
    return ok;
}

// Text someone could have written by hand. Anything else (a picture, binary junk) holds
// nothing worth keeping.
bool isText(const std::string& text) {
    return g_utf8_validate_len(text.data(), text.size(), nullptr);
}

std::optional<int64_t> storedInteger(const SettingsLines& text, const char* key) {
    std::optional<std::string> value = text.value(key);
    return value ? parseSettingInteger(*value) : std::nullopt;
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

std::string SettingsFile::defaultPath() {
    // Only an absolute XDG_CONFIG_HOME counts; anything else is to be ignored.
    const char* configHome = g_getenv("XDG_CONFIG_HOME");
    std::string base;
    if (configHome && g_path_is_absolute(configHome)) {
        base = configHome;
    } else {
        gchar* config = g_build_filename(g_get_home_dir(), ".config", nullptr);
        base = config;
        g_free(config);
    }
    gchar* path = g_build_filename(base.c_str(), kProgramFileName, "settings.ini", nullptr);
    std::string result(path);
    g_free(path);
    return result;
}

GameSettings SettingsFile::load() const {
    GameSettings settings{kDefaultFieldSize, kDefaultActionType};
    FileContents file = readSettingsFile(path_);
    if (file.state == FileState::Missing) {
        save(settings);
        return settings;
    }
    if (file.state == FileState::Unusable || !isText(file.text)) {
        // Left alone: only a save replaces what is not a settings file.
        return settings;
    }

    SettingsLines text(file.text);
    std::optional<int64_t> fieldSize = storedInteger(text, kFieldSizeSettingName);
    std::optional<int64_t> actionType = storedInteger(text, kActionTypeSettingName);
    if (fieldSize) {
        settings.fieldSize = validFieldSizeOrDefault(*fieldSize);
    }
    if (actionType) {
        settings.actionType = validActionTypeOrDefault(*actionType);
    }

    // A value that is missing is written with its default, as on the first run; one that is
    // there but cannot be used stays as it is until the next save.
    bool added = false;
    for (const auto& [key, fallback] : {std::pair{kFieldSizeSettingName, kDefaultFieldSize},
                                        std::pair{kActionTypeSettingName, kDefaultActionType}}) {
        if (!text.value(key)) {
            text.set(key, std::to_string(fallback));
            added = true;
        }
    }
    if (added) {
        writeSettingsFile(path_, text.text());
    }
    return settings;
}

bool SettingsFile::save(const GameSettings& settings) const {
    FileContents file = readSettingsFile(path_);
    if (file.state == FileState::Unusable) {
        return false;
    }
    SettingsLines text(file.state == FileState::Read && isText(file.text) ? file.text
                                                                          : std::string());
    text.set(kFieldSizeSettingName, std::to_string(settings.fieldSize));
    text.set(kActionTypeSettingName, std::to_string(settings.actionType));
    return writeSettingsFile(path_, text.text());
}

}  // namespace kz
