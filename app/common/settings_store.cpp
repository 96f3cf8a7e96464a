#include "app/common/settings_store.h"

#include <charconv>

namespace kz {

std::optional<int64_t> parseSettingNumber(std::string_view text) {
    const size_t digitsFrom = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digitsFrom) {
        return std::nullopt;
    }
    for (size_t i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
    }
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end) {
        return std::nullopt;
    }
    return value;
}

GameSettings loadSettings(SettingsMedium& medium) {
    GameSettings settings;
    SettingsMedium::Values missing;
    const auto load = [&](const char* name, int32_t (*valid)(int64_t), int32_t fallback) {
        const std::optional<std::string> text = medium.read(name);
        if (!text) {
            missing.push_back({name, fallback});
            return fallback;
        }
        const std::optional<int64_t> number = parseSettingNumber(*text);
        return number ? valid(*number) : fallback;
    };
    settings.fieldSize = load(kFieldSizeSettingName, validFieldSizeOrDefault, kDefaultFieldSize);
    settings.actionType =
        load(kActionTypeSettingName, validActionTypeOrDefault, kDefaultActionType);
    settings.difficulty =
        load(kDifficultySettingName, validDifficultyOrDefault, kDefaultDifficulty);
    if (!missing.empty()) {
        medium.write(missing);
    }
    return settings;
}

bool saveSettings(SettingsMedium& medium, const GameSettings& settings) {
    return medium.write({{kFieldSizeSettingName, settings.fieldSize},
                         {kActionTypeSettingName, settings.actionType},
                         {kDifficultySettingName, settings.difficulty}});
}

}  // namespace kz
