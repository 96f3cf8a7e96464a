#include <gtest/gtest.h>

#include "app/common/commands.h"
#include "app/common/menu_table.h"
#include "app/common/settings.h"

namespace kz {
namespace {

TEST(MenuCommands, EveryCommandRoundTripsThroughItsSetting) {
    for (uint16_t id = firstItemOf(kFieldSizeGroup); id <= lastItemOf(kFieldSizeGroup); ++id) {
        auto size = fieldSizeForCommand(id);
        ASSERT_TRUE(size.has_value()) << id;
        EXPECT_EQ(commandForFieldSize(*size), id);
    }
    for (uint16_t id = firstItemOf(kActionTypeGroup); id <= lastItemOf(kActionTypeGroup); ++id) {
        auto type = actionTypeForCommand(id);
        ASSERT_TRUE(type.has_value()) << id;
        EXPECT_EQ(commandForActionType(*type), id);
    }
}

TEST(MenuCommands, ActionMenuListsRemoveBeforeMove) {
    EXPECT_EQ(actionTypeForCommand(command::RemoveFromFull), 4);
    EXPECT_EQ(actionTypeForCommand(command::RemoveFromSome), 5);
    EXPECT_EQ(actionTypeForCommand(command::MoveFromSome), 3);
    EXPECT_EQ(actionTypeForCommand(command::Mixed), 0);
}

TEST(MenuCommands, OtherCommandsSelectNoSetting) {
    for (uint16_t id : {command::Exit, command::HelpContents, command::About, uint16_t{40008},
                        uint16_t{40020}, uint16_t{0}}) {
        EXPECT_FALSE(fieldSizeForCommand(id).has_value()) << id;
        EXPECT_FALSE(actionTypeForCommand(id).has_value()) << id;
    }
}

TEST(MenuCommands, UnnamedValuesMarkRandomAndMixed) {
    for (int32_t v : {-1, 1, 6, 7, 1000}) {
        EXPECT_EQ(commandForFieldSize(v), command::FieldSizeRandom) << v;
    }
    for (int32_t v : {-1, 6, 1 << 30}) {
        EXPECT_EQ(commandForActionType(v), command::Mixed) << v;
    }
}

TEST(StoredSettings, OnlyTheValuesTheMenusNameSurvive) {
    for (int64_t v : {0, 2, 3, 4, 5})
        EXPECT_EQ(validFieldSizeOrDefault(v), v);
    for (int64_t v : {-1LL, 1LL, 6LL, 7LL, 0x100000002LL}) {
        EXPECT_EQ(validFieldSizeOrDefault(v), kDefaultFieldSize) << v;
    }
    for (int64_t v = 0; v <= 5; ++v)
        EXPECT_EQ(validActionTypeOrDefault(v), v);
    for (int64_t v : {-1LL, 6LL, 0x100000003LL}) {
        EXPECT_EQ(validActionTypeOrDefault(v), kDefaultActionType) << v;
    }
}

}  // namespace
}  // namespace kz
