#include "app/gtk/records_file.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "app/gtk/atomic_file.h"
#include "app/gtk/user_file_path.h"

namespace kz {
namespace {

// How long a window waits for another one's write, in steps of 10 ms: a write takes a few
// milliseconds; a lock held longer belongs to a window that hangs.
constexpr int kLockTries = 200;

}  // namespace

RecordsFile::RecordsFile(std::string path) : path_(std::move(path)) {}

RecordsFile::~RecordsFile() {
    unlock();
}

std::string RecordsFile::defaultPath() {
    return userFilePath(kRecordsUserFile);
}

TextMedium::Stored RecordsFile::read() {
    FileContents file = readRegularFile(path_, kLargestRecordsFile);
    switch (file.state) {
        case FileState::Missing:
            return {State::Missing, {}};
        case FileState::Read:
            return {State::Read, std::move(file.text)};
        case FileState::Unusable:
            break;
    }
    return {State::Unusable, {}};
}

bool RecordsFile::write(const std::string& text) {
    return replaceRegularFile(path_, text, true);
}

bool RecordsFile::lock() {
    unlock();
    gchar* folder = g_path_get_dirname(path_.c_str());
    const bool made = g_mkdir_with_parents(folder, 0700) == 0;
    g_free(folder);
    if (!made) {
        return false;
    }
    const std::string lockPath = path_ + ".lock";
    lockFd_ = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        return false;
    }
    for (int tries = 0; tries < kLockTries; ++tries) {
        if (flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            break;
        }
        g_usleep(10'000);
    }
    close(lockFd_);
    lockFd_ = -1;
    return false;
}

void RecordsFile::unlock() {
    if (lockFd_ >= 0) {
        flock(lockFd_, LOCK_UN);
        close(lockFd_);
        lockFd_ = -1;
    }
}

}  // namespace kz
