#include "app/win32/registry_settings.h"

#include <string>

#include "app/common/identity.h"
#include "app/common/settings.h"

namespace kz {

static_assert(kRegistryDword == REG_DWORD && kRegistryString == REG_SZ,
              "registry type numbers must match the platform's");

namespace {

// The key is created when missing; registry failures are silent and leave the defaults.
HKEY openSettingsKey() {
    HKEY key = nullptr;
    const std::string path = std::string("Software\\") + kMakerName + "\\" + kProgramTitle;
    std::string keyClass = kProgramTitle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, keyClass.data(),
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

void writeDword(HKEY key, const char* name, int32_t value) {
    const DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

}  // namespace

StoredValue readOrCreateValue(HKEY key, const char* name, DWORD type, uint32_t defaultValue) {
    BYTE buffer[4] = {};
    DWORD storedType = 0;
    DWORD storedSize = sizeof(buffer);
    const LONG status = RegQueryValueExA(key, name, nullptr, &storedType, buffer, &storedSize);
    // A longer value does not fit the buffer but exists; its size tells it apart.
    if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        StoredValue value;
        value.exists = true;
        value.type = storedType;
        value.size = storedSize;
        value.data = static_cast<uint32_t>(buffer[0]) | static_cast<uint32_t>(buffer[1]) << 8 |
                     static_cast<uint32_t>(buffer[2]) << 16 |
                     static_cast<uint32_t>(buffer[3]) << 24;
        return value;
    }
    const DWORD data = defaultValue;
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    return StoredValue{};
}

GameSettings loadSettings() {
    GameSettings settings;
    if (HKEY key = openSettingsKey()) {
        settings.fieldSize = fieldSizeFromStored(
            readOrCreateValue(key, kFieldSizeSettingName, REG_DWORD, kDefaultFieldSize));
        settings.actionType = actionTypeFromStored(
            readOrCreateValue(key, kActionTypeSettingName, REG_DWORD, kDefaultActionType));
        RegCloseKey(key);
    }
    return settings;
}

void storeSettings(const GameSettings& settings) {
    if (HKEY key = openSettingsKey()) {
        writeDword(key, kFieldSizeSettingName, settings.fieldSize);
        writeDword(key, kActionTypeSettingName, settings.actionType);
        RegCloseKey(key);
    }
}

}  // namespace kz
