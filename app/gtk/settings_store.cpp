#include "app/gtk/settings_store.h"

#include <glib.h>

#include <optional>

#include "app/common/settings.h"
#include "app/gtk/atomic_file.h"
#include "app/gtk/settings_text.h"
#include "app/gtk/user_file_path.h"

namespace kz {
namespace {

// A settings file is a few lines; anything far larger is not one and is left alone.
constexpr size_t kLargestFile = 1 << 20;

// Text someone could have written by hand. Anything else (a picture, binary junk) holds
// nothing worth keeping.
bool isText(const std::string& text) {
    return g_utf8_validate_len(text.data(), text.size(), nullptr);
}

std::optional<int64_t> storedInteger(const SettingsText& text, const char* key) {
    std::optional<std::string> value = text.value(key);
    return value ? parseSettingInteger(*value) : std::nullopt;
}

}  // namespace

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) {}

std::string SettingsStore::defaultPath() {
    return userFilePath("XDG_CONFIG_HOME", ".config", "settings.ini");
}

GameSettings SettingsStore::load() const {
    GameSettings settings{kDefaultFieldSize, kDefaultActionType};
    FileContents file = readRegularFile(path_, kLargestFile);
    if (file.state == FileState::Missing) {
        save(settings);
        return settings;
    }
    if (file.state == FileState::Unusable || !isText(file.text)) {
        // Left alone: only a save replaces what is not a settings file.
        return settings;
    }

    SettingsText text(file.text);
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
        replaceRegularFile(path_, text.text(), false);
    }
    return settings;
}

bool SettingsStore::save(const GameSettings& settings) const {
    FileContents file = readRegularFile(path_, kLargestFile);
    if (file.state == FileState::Unusable) {
        return false;
    }
    SettingsText text(file.state == FileState::Read && isText(file.text) ? file.text
                                                                         : std::string());
    text.set(kFieldSizeSettingName, std::to_string(settings.fieldSize));
    text.set(kActionTypeSettingName, std::to_string(settings.actionType));
    return replaceRegularFile(path_, text.text(), false);
}

}  // namespace kz
