#include "app/win32/registry_value.h"

#include "app/common/settings.h"

namespace kz {

namespace {

bool isStoredDword(const StoredValue& value) {
    return value.exists && value.type == kRegistryDword && value.size == 4;
}

// The DWORD holds a signed 32-bit setting; 0xFFFFFFFF is -1, not a large field size.
int64_t asSigned(uint32_t data) {
    return static_cast<int32_t>(data);
}

}  // namespace

int32_t fieldSizeFromStored(const StoredValue& value) {
    return isStoredDword(value) ? validFieldSizeOrDefault(asSigned(value.data)) : kDefaultFieldSize;
}

int32_t actionTypeFromStored(const StoredValue& value) {
    return isStoredDword(value) ? validActionTypeOrDefault(asSigned(value.data))
                                : kDefaultActionType;
}

}  // namespace kz
