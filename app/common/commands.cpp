#include "app/common/commands.h"

#include "puzzle/field_model.h"

namespace kz {

std::optional<int32_t> fieldSizeForCommand(uint16_t id) {
    switch (id) {
        case command::FieldSize2:
            return 2;
        case command::FieldSize3:
            return 3;
        case command::FieldSize4:
            return 4;
        case command::FieldSize5:
            return 5;
        case command::FieldSizeRandom:
            return 0;
        default:
            return std::nullopt;
    }
}

std::optional<int32_t> actionTypeForCommand(uint16_t id) {
    switch (id) {
        case command::AddFromNone:
            return AddFromNone;
        case command::AddFromSome:
            return AddFromSome;
        case command::RemoveFromFull:
            return RemoveFromFull;
        case command::RemoveFromSome:
            return RemoveFromSome;
        case command::MoveFromSome:
            return MoveFromSome;
        case command::Mixed:
            return Mixed;
        default:
            return std::nullopt;
    }
}

uint16_t commandForFieldSize(int32_t fieldSize) {
    switch (fieldSize) {
        case 2:
            return command::FieldSize2;
        case 3:
            return command::FieldSize3;
        case 4:
            return command::FieldSize4;
        case 5:
            return command::FieldSize5;
        default:
            return command::FieldSizeRandom;
    }
}

uint16_t commandForActionType(int32_t actionType) {
    switch (actionType) {
        case AddFromNone:
            return command::AddFromNone;
        case AddFromSome:
            return command::AddFromSome;
        case RemoveFromFull:
            return command::RemoveFromFull;
        case RemoveFromSome:
            return command::RemoveFromSome;
        case MoveFromSome:
            return command::MoveFromSome;
        default:
            return command::Mixed;
    }
}

std::optional<int32_t> difficultyForCommand(uint16_t id) {
    if (id < command::DifficultyAsDesigned || id > command::DifficultyHard) {
        return std::nullopt;
    }
    return id - command::DifficultyAsDesigned;
}

uint16_t commandForDifficulty(int32_t difficulty) {
    const bool graded = difficulty >= 0 && difficulty <= 3;
    return static_cast<uint16_t>(command::DifficultyAsDesigned + (graded ? difficulty : 0));
}

}  // namespace kz
