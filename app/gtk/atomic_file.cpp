#include "app/gtk/atomic_file.h"

#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace kz {
namespace {

// As many links as the kernel follows before it gives up.
constexpr int kMostLinks = 40;

bool isMissing(int error) {
    return error == ENOENT || error == ENOTDIR;
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

}  // namespace

FileContents readRegularFile(const std::string& path, size_t largest) {
    FileContents file;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        file.state = isMissing(errno) ? FileState::Missing : FileState::Unusable;
        return file;
    }
    if (!S_ISREG(info.st_mode) || static_cast<uintmax_t>(info.st_size) > largest) {
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
        if (got < 0 || text.size() + static_cast<size_t>(got) > largest) {
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

bool replaceRegularFile(const std::string& path, const std::string& text, bool durable) {
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
    const int flags = durable ? G_FILE_SET_CONTENTS_CONSISTENT | G_FILE_SET_CONTENTS_DURABLE
                              : G_FILE_SET_CONTENTS_CONSISTENT | G_FILE_SET_CONTENTS_ONLY_EXISTING;
    GError* error = nullptr;
    gboolean ok =
        g_file_set_contents_full(target->c_str(), text.data(), static_cast<gssize>(text.size()),
                                 static_cast<GFileSetContentsFlags>(flags), mode, &error);
    if (!ok) {
        g_error_free(error);
    }
    return ok;
}

}  // namespace kz
