#include "app/web/local_storage_settings.h"

#include <array>

namespace kz {
namespace {

// Longer texts than this are not settings the programs wrote.
constexpr size_t kLongestSetting = 32;

}  // namespace

std::optional<std::string> LocalStorageSettings::read(const char* name) {
    std::array<char, kLongestSetting + 1> text{};
    const int32_t length = page_.loadSetting(name, text.data(), text.size());
    if (length < 0) {
        return std::nullopt;
    }
    // A text too long to be a setting is stored, yet no number.
    return static_cast<size_t>(length) > kLongestSetting
               ? std::string()
               : std::string(text.data(), static_cast<size_t>(length));
}

bool LocalStorageSettings::write(const Values& values) {
    for (const auto& [name, value] : values) {
        page_.saveSetting(name, value);
    }
    return true;
}

}  // namespace kz
