#include "app/common/settings.h"

namespace kz {

bool isValidFieldSize(int64_t value) {
    return value == 0 || (value >= 2 && value <= 5);
}

bool isValidActionType(int64_t value) {
    return value >= 0 && value <= 5;
}

bool isValidDifficulty(int64_t value) {
    return value >= 0 && value <= 3;
}

int32_t validFieldSizeOrDefault(int64_t value) {
    return isValidFieldSize(value) ? static_cast<int32_t>(value) : kDefaultFieldSize;
}

int32_t validActionTypeOrDefault(int64_t value) {
    return isValidActionType(value) ? static_cast<int32_t>(value) : kDefaultActionType;
}

int32_t validDifficultyOrDefault(int64_t value) {
    return isValidDifficulty(value) ? static_cast<int32_t>(value) : kDefaultDifficulty;
}

}  // namespace kz
