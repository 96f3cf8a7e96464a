#pragma once

#include <cstdint>

namespace kz {

// Names of the two stored settings, the same in the registry and in the key file.
constexpr const char* kFieldSizeSettingName = "dimensionsRange";
constexpr const char* kActionTypeSettingName = "actionType";
// Only the Linux program and the page keep it; the Windows program always plays as designed.
constexpr const char* kDifficultySettingName = "difficulty";

// The Linux program's own: the size of its window's game area (the window without its menu
// bar) in the toolkit's pixels.
constexpr const char* kAreaWidthSettingName = "gameAreaWidth";
constexpr const char* kAreaHeightSettingName = "gameAreaHeight";

constexpr int32_t kDefaultFieldSize = 0;   // Random
constexpr int32_t kDefaultActionType = 0;  // Mixed
constexpr int32_t kDefaultDifficulty = 0;  // As designed

// The game settings as the programs keep them.
struct GameSettings {
    int32_t fieldSize = kDefaultFieldSize;
    int32_t actionType = kDefaultActionType;
    int32_t difficulty = kDefaultDifficulty;

    bool operator==(const GameSettings& o) const {
        return fieldSize == o.fieldSize && actionType == o.actionType && difficulty == o.difficulty;
    }
};

struct AreaSize {
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const AreaSize& o) const { return width == o.width && height == o.height; }
};

// The values the menus name. Anything else found in storage is replaced by the default,
// so a damaged or hand-edited setting can never reach the puzzle generator.
bool isValidFieldSize(int64_t value);
bool isValidActionType(int64_t value);
bool isValidDifficulty(int64_t value);
int32_t validFieldSizeOrDefault(int64_t value);
int32_t validActionTypeOrDefault(int64_t value);
int32_t validDifficultyOrDefault(int64_t value);

}  // namespace kz
