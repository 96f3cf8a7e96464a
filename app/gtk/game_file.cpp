#include "app/gtk/game_file.h"

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

std::string GameFile::defaultPath() {
    return userFilePath("XDG_DATA_HOME", ".local/share", "game");
}

std::optional<std::string> GameFile::read() {
    FileContents file = readRegularFile(path_, kLargestFile);
    if (file.state != FileState::Read || file.text.empty()) {
        return std::nullopt;
    }
    return std::move(file.text);
}

bool GameFile::write(const std::string& text, bool durable) {
    return replaceRegularFile(path_, text, durable);
}

}  // namespace kz
