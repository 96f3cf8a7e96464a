#include "app/win32/registry_settings.h"

#include "app/common/commands.h"
#include "app/common/settings.h"

namespace kz {

static_assert(kRegistryDword == REG_DWORD && kRegistryString == REG_SZ,
              "registry type numbers must match the platform's");

namespace {

const char* const kSettingsKey = "Software\\Kestrane Games\\Kestrane Zivadorured";

// The key is created when missing; registry failures are silent and leave the defaults.
HKEY openSettingsKey() {
    HKEY key = nullptr;
    char keyClass[] = "Kestrane Zivadorured";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, keyClass, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
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

void loadSettings(HMENU menu, int32_t* fieldSize, int32_t* actionType) {
    *fieldSize = kDefaultFieldSize;
    *actionType = kDefaultActionType;
    if (HKEY key = openSettingsKey()) {
        *fieldSize = fieldSizeFromStored(
            readOrCreateValue(key, kFieldSizeSettingName, REG_DWORD, kDefaultFieldSize));
        *actionType = actionTypeFromStored(
            readOrCreateValue(key, kActionTypeSettingName, REG_DWORD, kDefaultActionType));
        RegCloseKey(key);
    }
    CheckMenuRadioItem(menu, command::FirstFieldSize, command::LastFieldSize,
                       commandForFieldSize(*fieldSize), MF_BYCOMMAND);
    CheckMenuRadioItem(menu, command::FirstActionType, command::LastActionType,
                       commandForActionType(*actionType), MF_BYCOMMAND);
}

void storeSettings(int32_t fieldSize, int32_t actionType) {
    if (HKEY key = openSettingsKey()) {
        writeDword(key, kFieldSizeSettingName, fieldSize);
        writeDword(key, kActionTypeSettingName, actionType);
        RegCloseKey(key);
    }
}

}  // namespace kz
