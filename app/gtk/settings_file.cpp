#include "app/gtk/settings_file.h"

#include <glib.h>

#include <optional>

#include "app/common/settings.h"
#include "app/common/settings_store.h"
#include "app/gtk/atomic_file.h"
#include "app/gtk/settings_lines.h"
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

// The [Settings] lines of the file as it is now; nothing when something that is no settings
// file is in its place, which only a write replaces.
std::optional<SettingsLines> currentLines(const std::string& path, bool forWriting) {
    FileContents file = readRegularFile(path, kLargestFile);
    if (file.state == FileState::Unusable) {
        return std::nullopt;
    }
    const bool text = file.state == FileState::Read && isText(file.text);
    if (!text && file.state == FileState::Read && !forWriting) {
        return std::nullopt;
    }
    return SettingsLines(text ? file.text : std::string());
}

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

std::string SettingsFile::defaultPath() {
    return userFilePath(kSettingsUserFile);
}

std::optional<std::string> SettingsFile::read(const char* name) {
    const std::optional<SettingsLines> lines = currentLines(path_, false);
    return lines ? lines->value(name) : std::nullopt;
}

bool SettingsFile::write(const Values& values) {
    // Read again at each write: another window may have changed what it keeps since.
    std::optional<SettingsLines> lines = currentLines(path_, true);
    if (!lines) {
        return false;
    }
    for (const auto& [name, value] : values) {
        lines->set(name, std::to_string(value));
    }
    return replaceRegularFile(path_, lines->text(), false);
}

GameSettings SettingsFile::load() {
    if (!currentLines(path_, false)) {
        // Left alone: only a save replaces what is not a settings file.
        return GameSettings{kDefaultFieldSize, kDefaultActionType};
    }
    return loadSettings(*this);
}

std::optional<AreaSize> SettingsFile::loadAreaSize() {
    const auto side = [this](const char* name) -> std::optional<int32_t> {
        const std::optional<std::string> text = read(name);
        const std::optional<int64_t> value = text ? parseSettingNumber(*text) : std::nullopt;
        if (!value || *value < 1 || *value > kLargestAreaSide) {
            return std::nullopt;
        }
        return static_cast<int32_t>(*value);
    };
    const std::optional<int32_t> width = side(kAreaWidthSettingName);
    const std::optional<int32_t> height = side(kAreaHeightSettingName);
    if (!width || !height) {
        return std::nullopt;
    }
    return AreaSize{*width, *height};
}

bool SettingsFile::saveAreaSize(const AreaSize& size) {
    return write({{kAreaWidthSettingName, size.width}, {kAreaHeightSettingName, size.height}});
}

bool SettingsFile::save(const GameSettings& settings) {
    return saveSettings(*this, settings);
}

}  // namespace kz
