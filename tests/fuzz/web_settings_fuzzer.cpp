// The page's stored settings: whatever texts the storage holds, loading gives usable
// settings, writes back only values the menus name, and a second load finds nothing to
// write back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "app/common/settings.h"
#include "app/common/settings_store.h"
#include "app/web/local_storage_settings.h"
#include "tests/support/recording_page.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "stored settings: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    kz::RecordingPage page;
    kz::LocalStorageSettings stored(page);
    // Each setting may be missing; a stored one is any text, zeros included.
    for (const char* name : {kz::kFieldSizeSettingName, kz::kActionTypeSettingName}) {
        if (input.ConsumeBool()) {
            page.storage[name] = input.ConsumeRandomLengthString(64);
        }
    }
    const std::map<std::string, std::string> before = page.storage;

    const kz::GameSettings settings = kz::loadSettings(stored);
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
    if (!(kz::loadSettings(stored) == settings) || page.saves != savesBefore) {
        fail("a second load differs or writes again");
    }
    return 0;
}
