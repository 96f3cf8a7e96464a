#include "app/common/program_shell.h"

#include <chrono>

#include "app/common/menu_table.h"

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

uint16_t MenuState::marked(int group) const {
    switch (group) {
        case kFieldSizeGroup:
            return fieldSize;
        case kActionTypeGroup:
            return actionType;
        case kDifficultyGroup:
            return difficulty;
        default:
            return 0;
    }
}

std::string WindowState::titleWithNote() const {
    return note.empty() ? title : title + " \u2014 " + note;
}

CalendarDay ProgramShell::today() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return dayOfUnixTime(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

}  // namespace kz
