#include "app/common/program_shell.h"

namespace kz {

bool CommandStates::enabled(uint16_t commandId) const {
    switch (commandId) {
        case command::Undo:
            return undo;
        case command::Redo:
            return redo;
        case command::Hint:
            return hint;
        case command::CopyPuzzleCode:
        case command::Share:
            return puzzleOnShow;
        default:
            return true;
    }
}

}  // namespace kz
