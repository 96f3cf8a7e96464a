#include "app/web/local_storage_settings.h"

#include <array>
#include <cerrno>
#include <cstdlib>

namespace kz {
namespace {

// Longer texts than this are not settings the programs wrote.
constexpr size_t kLongestSetting = 32;

// The number a setting holds, or nothing when none is stored or its text is no number.
std::optional<int64_t> readSetting(Page& page, const char* name) {
    std::array<char, kLongestSetting + 1> text{};
    const int32_t length = page.loadSetting(name, text.data(), text.size());
    if (length < 0 || static_cast<size_t>(length) > kLongestSetting) {
        return std::nullopt;
    }
    return parseStoredNumber(std::string(text.data(), static_cast<size_t>(length)));
}

// The value in use; written back when it is not what was stored.
int32_t settle(Page& page, const char* name, const std::optional<int64_t>& stored,
               int32_t (*valid)(int64_t), int32_t fallback) {
    const int32_t value = stored ? valid(*stored) : fallback;
    if (!stored || *stored != value) {
        page.saveSetting(name, value);
    }
    return value;
}

}  // namespace

std::optional<int64_t> parseStoredNumber(const std::string& text) {
    const size_t digitsFrom = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digitsFrom) {
        return std::nullopt;
    }
    for (size_t i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
    }
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno == ERANGE || end != text.c_str() + text.size()) {
        return std::nullopt;
    }
    return static_cast<int64_t>(value);
}

GameSettings loadStoredSettings(Page& page) {
    GameSettings settings;
    settings.fieldSize =
        settle(page, kFieldSizeSettingName, readSetting(page, kFieldSizeSettingName),
               validFieldSizeOrDefault, kDefaultFieldSize);
    settings.actionType =
        settle(page, kActionTypeSettingName, readSetting(page, kActionTypeSettingName),
               validActionTypeOrDefault, kDefaultActionType);
    return settings;
}

void saveStoredSettings(Page& page, const GameSettings& settings) {
    page.saveSetting(kFieldSizeSettingName, settings.fieldSize);
    page.saveSetting(kActionTypeSettingName, settings.actionType);
}

}  // namespace kz
