#include "app/gtk/program_extras.h"

#include <utility>

#include "app/common/commands.h"
#include "app/common/identity.h"
#include "app/common/records_store.h"
#include "app/common/records_table.h"
#include "app/gtk/board_area.h"
#include "app/gtk/clipboard.h"
#include "app/gtk/puzzle_code_dialog.h"
#include "app/gtk/statistics_dialog.h"
#include "puzzle/puzzle_code.h"

namespace kz {

ProgramExtras::ProgramExtras(MainWindow& window, std::string recordsPath)
    : window_(window), recordsFile_(std::move(recordsPath)) {
    setBoardName(window_.drawingArea(), "Game field");
}

Records ProgramExtras::loadStoredRecords() {
    return loadRecords(recordsFile_);
}

void ProgramExtras::enableIn(GameSession& session) {
    session_ = &session;
    session.enableExtras(*this, loadStoredRecords());
    commandsChanged();
    descriptionChanged();
}

void ProgramExtras::announce(const std::string& text) {
    announceOnBoard(window_.drawingArea(), text);
}

void ProgramExtras::commandsChanged() {
    SessionExtras* extras = session_ ? session_->extras() : nullptr;
    MenuBar& menu = window_.menuBar();
    menu.setEnabled(command::Undo, extras && extras->play().canUndo());
    menu.setEnabled(command::Redo, extras && extras->play().canRedo());
    menu.setEnabled(command::Hint, extras && extras->play().canHint());
    menu.setEnabled(command::CopyPuzzleCode, extras && !extras->puzzleCode().empty());
}

void ProgramExtras::descriptionChanged() {
    if (SessionExtras* extras = session_ ? session_->extras() : nullptr) {
        setBoardDescription(window_.drawingArea(), extras->play().description());
    }
}

void ProgramExtras::copyText(const std::string& text) {
    putTextOnClipboard(window_.drawingArea(), text);
}

void ProgramExtras::askPuzzleCode() {
    if (const std::optional<PuzzleOrigin> origin = kz::askPuzzleCode(window_.window())) {
        if (session_) {
            session_->playPuzzleCode(puzzleCode(*origin));
        }
    }
}

void ProgramExtras::showStatistics(const Records& records, CalendarDay today) {
    runStatisticsDialog(window_.window(), records, today, [this] {
        if (session_) {
            session_->resetRecords();
        }
    });
}

void ProgramExtras::saveRecords(const Records& records) {
    kz::saveRecords(recordsFile_, records);
}

void ProgramExtras::puzzleChanged(const std::string& code) {
    code_ = code;
    setTitle("");
    commandsChanged();
}

void ProgramExtras::newBestTime(const WinReport& report) {
    // In the title: the board stays uncovered and the window keeps its size.
    const std::string told = newBestTimeText(report);
    setTitle(told);
    announce(told);
}

CalendarDay ProgramExtras::today() {
    return dayOfUnixMicroseconds(g_get_real_time());
}

void ProgramExtras::setTitle(const std::string& extra) {
    std::string title = kProgramTitle;
    if (!code_.empty()) {
        title += " \u2014 " + code_;
    }
    if (!extra.empty()) {
        title += " \u2014 " + extra;
    }
    gtk_window_set_title(window_.window(), title.c_str());
}

}  // namespace kz
