#include "app/web/local_storage_settings.h"

#include <array>

#include "app/common/settings_store.h"

namespace kz {
namespace {

// Longer texts than this are not settings the programs wrote.
constexpr size_t kLongestSetting = 32;

// The settings' texts in the page's storage.
class PageSettings : public SettingsMedium {
  public:
    explicit PageSettings(Page& storage) : page(storage) {}

    std::optional<std::string> read(const char* name) override {
        std::array<char, kLongestSetting + 1> text{};
        const int32_t length = page.loadSetting(name, text.data(), text.size());
        if (length < 0) {
            return std::nullopt;
        }
        // A text too long to be a setting is stored, yet no number.
        return static_cast<size_t>(length) > kLongestSetting
                   ? std::string()
                   : std::string(text.data(), static_cast<size_t>(length));
    }
    bool write(const Values& values) override {
        for (const auto& [name, value] : values) {
            page.saveSetting(name, value);
        }
        return true;
    }

  private:
    Page& page;
};

}  // namespace

GameSettings loadStoredSettings(Page& page) {
    PageSettings medium(page);
    return loadSettings(medium);
}

void saveStoredSettings(Page& page, const GameSettings& settings) {
    PageSettings medium(page);
    saveSettings(medium, settings);
}

}  // namespace kz
