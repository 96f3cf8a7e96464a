#include <gtest/gtest.h>

#include "app/common/commands.h"
#include "app/common/menu_table.h"
#include "app/common/menu_text.h"
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
    int32_t grades = 0;
    for (uint16_t id = firstItemOf(kDifficultyGroup); id <= lastItemOf(kDifficultyGroup); ++id) {
        auto grade = difficultyForCommand(id);
        ASSERT_TRUE(grade.has_value()) << id;
        EXPECT_EQ(*grade, grades++);
        EXPECT_EQ(commandForDifficulty(*grade), id);
    }
    EXPECT_EQ(grades, 4);
    EXPECT_EQ(commandForDifficulty(4), command::DifficultyAsDesigned);
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
        EXPECT_FALSE(difficultyForCommand(id).has_value()) << id;
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

// The menus show the keys as the Windows menu always spelt them.
TEST(MenuKeys, AreSpeltAsTheMenusShowThem) {
    EXPECT_EQ(keyText(ctrl(virtualkey::W)), "Ctrl + W");
    EXPECT_EQ(keyText({virtualkey::Z, keyflag::Control | keyflag::Shift}), "Ctrl + Shift + Z");
    EXPECT_EQ(keyText({virtualkey::F1, 0}), "F1");
    EXPECT_EQ(keyText({virtualkey::F1 + 11, keyflag::Alt}), "Alt + F12");
    EXPECT_EQ(keyText({'7', 0}), "7");
}

// A key chooses the line of its use only with exactly its modifiers.
TEST(MenuKeys, ChooseTheirLineWithExactlyTheirModifiers) {
    EXPECT_EQ(commandForKey(KeyUse::Session, virtualkey::Z, keyflag::Control), command::Undo);
    EXPECT_EQ(commandForKey(KeyUse::Session, virtualkey::Z, keyflag::Control | keyflag::Shift),
              command::Redo);
    EXPECT_EQ(commandForKey(KeyUse::Session, virtualkey::Y, keyflag::Control), command::Redo);
    EXPECT_EQ(commandForKey(KeyUse::Session, virtualkey::H, 0), command::Hint);
    EXPECT_EQ(commandForKey(KeyUse::Accelerator, virtualkey::W, keyflag::Control), command::Exit);
    // Other bits beside the modifiers (the mouse buttons) do not count.
    EXPECT_EQ(commandForKey(KeyUse::Session, virtualkey::H, mouseflag::LeftButton), command::Hint);
    for (const auto& [key, modifiers] :
         {std::pair<uint32_t, uint32_t>{virtualkey::H, keyflag::Shift},
          {virtualkey::H, keyflag::Alt},
          {virtualkey::Z, 0},
          {virtualkey::Z, keyflag::Control | keyflag::Alt},
          {virtualkey::Y, keyflag::Control | keyflag::Shift},
          {virtualkey::F1, 0}}) {
        EXPECT_EQ(commandForKey(KeyUse::Session, key, modifiers), 0) << key << " " << modifiers;
    }
    // Each key acts for its own use only: the session never takes Exit's key.
    EXPECT_EQ(commandForKey(KeyUse::Session, virtualkey::W, keyflag::Control), 0);
    EXPECT_EQ(commandForKey(KeyUse::Accelerator, virtualkey::Z, keyflag::Control), 0);
}

// Every key that acts has its row in the help, with its second key beside it.
TEST(MenuKeys, TheHelpNamesEveryKeyThatActs) {
    const std::string rows = helpKeyRows();
    EXPECT_NE(rows.find("<tr><td><kbd>Ctrl</kbd> + <kbd>Z</kbd></td><td>Undo</td></tr>"),
              std::string::npos);
    EXPECT_NE(rows.find("<kbd>Ctrl</kbd> + <kbd>Shift</kbd> + <kbd>Z</kbd> or "
                        "<kbd>Ctrl</kbd> + <kbd>Y</kbd></td><td>Redo</td>"),
              std::string::npos);
    EXPECT_NE(rows.find("<kbd>H</kbd></td><td>Hint</td>"), std::string::npos);
    EXPECT_NE(rows.find("<kbd>Ctrl</kbd> + <kbd>W</kbd></td><td>Exit; in the browser"),
              std::string::npos);
    // F1 is only shown, so the help does not promise it.
    EXPECT_EQ(rows.find("F1"), std::string::npos);
}

}  // namespace
}  // namespace kz
