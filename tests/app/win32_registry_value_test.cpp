#include <gtest/gtest.h>

#include "app/win32/registry_value.h"

namespace kz {
namespace {

StoredValue dword(uint32_t data) {
    return StoredValue{true, kRegistryDword, 4, data};
}

TEST(StoredSetting, UsableDwordsAreTakenAsStored) {
    for (uint32_t size : {0u, 2u, 3u, 4u, 5u}) {
        EXPECT_EQ(fieldSizeFromStored(dword(size)), static_cast<int32_t>(size)) << size;
    }
    for (uint32_t type = 0; type <= 5; ++type) {
        EXPECT_EQ(actionTypeFromStored(dword(type)), static_cast<int32_t>(type)) << type;
    }
}

TEST(StoredSetting, NumbersTheGameDoesNotUseGiveTheDefault) {
    // 1 x 1 is no field, 6 x 6 does not fit the board, and 0xFFFFFFFF is -1.
    for (uint32_t size : {1u, 6u, 7u, 100u, 0xFFFFFFFFu, 0x80000000u, 0xFFFFFFFEu}) {
        EXPECT_EQ(fieldSizeFromStored(dword(size)), 0) << size;
    }
    for (uint32_t type : {6u, 7u, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu}) {
        EXPECT_EQ(actionTypeFromStored(dword(type)), 0) << type;
    }
}

TEST(StoredSetting, AnotherTypeOrLengthGivesTheDefault) {
    // "3" stored as a string: type REG_SZ, two bytes "3\0", read as the number 0x33.
    EXPECT_EQ(fieldSizeFromStored(StoredValue{true, kRegistryString, 2, 0x0033}), 0);
    EXPECT_EQ(actionTypeFromStored(StoredValue{true, kRegistryString, 2, 0x0033}), 0);
    // A plausible number in the first bytes of a value of the wrong type is not trusted.
    EXPECT_EQ(fieldSizeFromStored(StoredValue{true, 3 /* REG_BINARY */, 4, 4}), 0);
    EXPECT_EQ(actionTypeFromStored(StoredValue{true, 11 /* REG_QWORD */, 8, 2}), 0);
    // A DWORD-typed value of the wrong length, shorter or longer.
    EXPECT_EQ(fieldSizeFromStored(StoredValue{true, kRegistryDword, 2, 3}), 0);
    EXPECT_EQ(fieldSizeFromStored(StoredValue{true, kRegistryDword, 8, 3}), 0);
    EXPECT_EQ(actionTypeFromStored(StoredValue{true, kRegistryDword, 1, 5}), 0);
}

TEST(StoredSetting, MissingValueGivesTheDefault) {
    EXPECT_EQ(fieldSizeFromStored(StoredValue{}), 0);
    EXPECT_EQ(actionTypeFromStored(StoredValue{}), 0);
    // Whatever the buffer holds, a value that does not exist is not read.
    EXPECT_EQ(fieldSizeFromStored(StoredValue{false, kRegistryDword, 4, 3}), 0);
}

}  // namespace
}  // namespace kz
