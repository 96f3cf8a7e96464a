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

// The [Settings] lines of a file read, written back whole at each write.
class FileSettings : public SettingsMedium {
  public:
    FileSettings(const std::string& filePath, const std::string& text)
        : path(filePath), lines(text) {}

    std::optional<std::string> read(const char* name) override { return lines.value(name); }
    bool write(const Values& values) override {
        for (const auto& [name, value] : values) {
            lines.set(name, std::to_string(value));
        }
        return replaceRegularFile(path, lines.text(), false);
    }

  private:
    const std::string& path;
    SettingsLines lines;
};

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

std::string SettingsFile::defaultPath() {
    return userFilePath(kSettingsUserFile);
}

GameSettings SettingsFile::load() const {
    FileContents file = readRegularFile(path_, kLargestFile);
    if (file.state == FileState::Unusable ||
        (file.state == FileState::Read && !isText(file.text))) {
        // Left alone: only a save replaces what is not a settings file.
        return GameSettings{kDefaultFieldSize, kDefaultActionType};
    }
    FileSettings settings(path_, file.state == FileState::Read ? file.text : std::string());
    return loadSettings(settings);
}

std::optional<AreaSize> SettingsFile::loadAreaSize() const {
    FileContents file = readRegularFile(path_, kLargestFile);
    if (file.state != FileState::Read || !isText(file.text)) {
        return std::nullopt;
    }
    FileSettings settings(path_, file.text);
    const auto side = [&settings](const char* name) -> std::optional<int32_t> {
        const std::optional<std::string> text = settings.read(name);
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

bool SettingsFile::saveAreaSize(const AreaSize& size) const {
    FileContents file = readRegularFile(path_, kLargestFile);
    if (file.state == FileState::Unusable) {
        return false;
    }
    FileSettings medium(
        path_, file.state == FileState::Read && isText(file.text) ? file.text : std::string());
    return medium.write(
        {{kAreaWidthSettingName, size.width}, {kAreaHeightSettingName, size.height}});
}

bool SettingsFile::save(const GameSettings& settings) const {
    FileContents file = readRegularFile(path_, kLargestFile);
    if (file.state == FileState::Unusable) {
        return false;
    }
    FileSettings medium(
        path_, file.state == FileState::Read && isText(file.text) ? file.text : std::string());
    return saveSettings(medium, settings);
}

}  // namespace kz
