#include "app/gtk/game_file.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <unistd.h>

#include <utility>

#include "app/common/saved_game.h"
#include "app/gtk/atomic_file.h"
#include "app/gtk/user_file_path.h"

namespace kz {
namespace {

// A game of the longest history kept, each move two sticks, fits with room to spare.
constexpr size_t kLargestFile = 16 * kLongestSavedGame;

}  // namespace

GameFile::GameFile(std::string path) : path_(std::move(path)) {}

GameFile::~GameFile() {
    if (lock_ >= 0) {
        close(lock_);
    }
}

bool GameFile::claim() {
    if (lock_ >= 0) {
        return true;
    }
    gchar* folder = g_path_get_dirname(path_.c_str());
    g_mkdir_with_parents(folder, 0700);
    g_free(folder);
    const int fd = open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) {
        return false;
    }
    // Held until the program ends; the system lets it go however that happens.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    lock_ = fd;
    return true;
}

std::string GameFile::defaultPath() {
    return userFilePath(kGameUserFile);
}

TextMedium::Stored GameFile::read() {
    if (!claim()) {
        return {State::Unusable, {}};
    }
    FileContents file = readRegularFile(path_, kLargestFile);
    if (file.state != FileState::Read || file.text.empty()) {
        return {};
    }
    return {State::Read, std::move(file.text)};
}

bool GameFile::write(const std::string& text) {
    return replaceRegularFile(path_, text, durable_);
}

}  // namespace kz
