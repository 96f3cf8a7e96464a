#pragma once

#include <cstdint>
#include <optional>

namespace kz {

// Menu command identifiers of the main window's menu bar (menu 101).
namespace command {
constexpr uint16_t Exit = 40002;
constexpr uint16_t FieldSize2 = 40003;
constexpr uint16_t FieldSize3 = 40004;
constexpr uint16_t FieldSize4 = 40005;
constexpr uint16_t FieldSize5 = 40006;
constexpr uint16_t FieldSizeRandom = 40007;
constexpr uint16_t HelpContents = 40010;
constexpr uint16_t HelpSearch = 40011;
constexpr uint16_t HelpIndex = 40012;
constexpr uint16_t About = 40013;
constexpr uint16_t AddFromNone = 40014;
constexpr uint16_t AddFromSome = 40015;
constexpr uint16_t RemoveFromFull = 40016;
constexpr uint16_t RemoveFromSome = 40017;
constexpr uint16_t MoveFromSome = 40018;
constexpr uint16_t Mixed = 40019;
// The extra play of the Linux program and the page; the Windows menu has none of them.
constexpr uint16_t Undo = 40030;
constexpr uint16_t Redo = 40031;
constexpr uint16_t Hint = 40032;
constexpr uint16_t CopyPuzzleCode = 40033;
constexpr uint16_t PlayPuzzleCode = 40034;
constexpr uint16_t TodaysPuzzle = 40035;
constexpr uint16_t Statistics = 40036;
constexpr uint16_t Share = 40037;
constexpr uint16_t CopyTodaysResult = 40038;
// The Difficulty choice, in the grades' order from As designed (0) to Hard (3).
constexpr uint16_t DifficultyAsDesigned = 40040;
constexpr uint16_t DifficultyEasy = 40041;
constexpr uint16_t DifficultyMedium = 40042;
constexpr uint16_t DifficultyHard = 40043;
constexpr uint16_t ExportRecords = 40044;
constexpr uint16_t ImportRecords = 40045;
constexpr uint16_t PastPuzzle = 40046;
}  // namespace command

// The three ways the Help menu opens the help.
enum class HelpTopic { Contents, Search, Index };

// The field size a Field Size command selects, or nothing for any other command.
std::optional<int32_t> fieldSizeForCommand(uint16_t id);
// The action type an Action Type command selects (the menu lists Remove before Move).
std::optional<int32_t> actionTypeForCommand(uint16_t id);

// The difficulty a Difficulty command selects.
std::optional<int32_t> difficultyForCommand(uint16_t id);

// The menu item that carries the radio mark for a setting; values the menu does not name
// mark Random and Mixed.
uint16_t commandForFieldSize(int32_t fieldSize);
uint16_t commandForActionType(int32_t actionType);
// Values outside the grades mark As designed.
uint16_t commandForDifficulty(int32_t difficulty);

}  // namespace kz
