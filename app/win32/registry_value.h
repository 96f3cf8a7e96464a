#pragma once

#include <cstdint>

namespace kz {

// Registry value types the settings care about, numbered as the registry numbers them.
constexpr uint32_t kRegistryString = 1;  // REG_SZ
constexpr uint32_t kRegistryDword = 4;   // REG_DWORD

// What one read of a stored setting found: whether the value exists, its stored type and
// length, and its first four bytes as a little-endian number.
struct StoredValue {
    bool exists = false;
    uint32_t type = 0;
    uint32_t size = 0;
    uint32_t data = 0;
};

// A setting is taken from storage only when it is a 4-byte DWORD holding a value the menus
// name; anything else (another type, another length, an unused number) gives the default.
int32_t fieldSizeFromStored(const StoredValue& value);
int32_t actionTypeFromStored(const StoredValue& value);

}  // namespace kz
