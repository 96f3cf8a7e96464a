// The page's stored settings: whatever texts the storage holds, loading gives usable
// settings, writes back only values the menus name, and a second load finds nothing to
// write back.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/common/settings.h"
#include "app/common/settings_store.h"
#include "app/web/local_storage_settings.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "stored settings: %s\n", what);
    std::abort();
}

// Only the storage of a page; the reader asks nothing else of it.
class StoragePage : public kz::Page {
  public:
    void present(const uint8_t*, int32_t, int32_t, const kz::Rect&) override {}
    void layoutAreas(const std::vector<kz::Rect>&) override {}
    uint32_t startInterval(uint32_t, uint32_t) override { return 0; }
    void stopInterval(uint32_t) override {}
    void beep() override {}
    void markRadio(uint16_t) override {}
    void openHelp(kz::HelpTopic) override {}
    void showAbout() override {}
    void showFatal(kz::FatalError) override {}
    void ended(int) override {}
    std::optional<std::string> loadText(const char*) override { return std::nullopt; }
    bool saveText(const char*, const std::string&) override { return false; }
    void announce(const std::string&) override {}
    void describe(const std::string&) override {}
    void enableCommand(uint16_t, bool) override {}
    void copyText(const std::string&, const std::string&) override {}
    void askPuzzleCode() override {}
    void askDay(const std::string&, const std::string&) override {}
    std::string address() override { return {}; }
    void showStatistics(const std::string&) override {}
    void share(const std::string&) override {}
    void puzzleChanged(const std::string&) override {}
    void puzzleDated(const std::string&) override {}
    void puzzleGraded(const std::string&) override {}
    void notify(const std::string&) override {}
    bool claimGame() override { return true; }
    void statisticsChanged(const std::string&) override {}
    void recordsUnsaved(bool) override {}
    void exportRecords(const std::string&) override {}
    void askRecordsFile() override {}
    std::optional<std::string> chosenRecordsFile() override { return std::nullopt; }
    int64_t unixTime() override { return 0; }

    // As the page does: the text cut to fit with its zero, and the full length returned.
    int32_t loadSetting(const char* name, char* text, size_t size) override {
        const auto found = storage.find(name);
        if (found == storage.end() || size == 0) {
            return -1;
        }
        const std::string& value = found->second;
        const size_t copied = std::min(value.size(), size - 1);
        std::memcpy(text, value.data(), copied);
        text[copied] = '\0';
        return static_cast<int32_t>(value.size());
    }
    void saveSetting(const char* name, int32_t value) override {
        storage[name] = std::to_string(value);
        ++saves;
    }

    std::map<std::string, std::string> storage;
    int saves = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    StoragePage page;
    // Each setting may be missing; a stored one is any text, zeros included.
    for (const char* name : {kz::kFieldSizeSettingName, kz::kActionTypeSettingName}) {
        if (input.ConsumeBool()) {
            page.storage[name] = input.ConsumeRandomLengthString(64);
        }
    }
    const std::map<std::string, std::string> before = page.storage;

    const kz::GameSettings settings = kz::loadStoredSettings(page);
    if (!kz::isValidFieldSize(settings.fieldSize) || !kz::isValidActionType(settings.actionType)) {
        fail("a value the menus do not name was loaded");
    }
    for (const auto& [name, value] : page.storage) {
        const auto was = before.find(name);
        if (was != before.end() && was->second == value) {
            continue;
        }
        const std::optional<int64_t> number = kz::parseSettingNumber(value);
        if (!number) {
            fail("a text that is no number was written back");
        }
        const bool valid = name == kz::kFieldSizeSettingName ? kz::isValidFieldSize(*number)
                                                             : kz::isValidActionType(*number);
        if (!valid) {
            fail("a value the menus do not name was written back");
        }
    }
    const int savesBefore = page.saves;
    if (!(kz::loadStoredSettings(page) == settings) || page.saves != savesBefore) {
        fail("a second load differs or writes again");
    }
    return 0;
}
