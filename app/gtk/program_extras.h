#pragma once

#include <string>

#include "app/common/game_session.h"
#include "app/gtk/main_window.h"
#include "app/gtk/records_file.h"

namespace kz {

// The Linux program's side of the extra play: the Game menu's extra lines greyed as the
// game allows, the screen reader's texts on the drawing area, the clipboard, the code and
// Statistics boxes, the records file, and the puzzle's code in the window title.
class ProgramExtras : public ExtrasShell {
  public:
    ProgramExtras(MainWindow& window, std::string recordsPath);
    ProgramExtras(const ProgramExtras&) = delete;
    ProgramExtras& operator=(const ProgramExtras&) = delete;

    // The records kept so far, read gently: what cannot be read is left out.
    Records loadStoredRecords();
    // Switches the extras on in a session that has not started a game; the session must end
    // before this object does.
    void enableIn(GameSession& session);

    void announce(const std::string& text) override;
    void commandsChanged() override;
    void descriptionChanged() override;
    void copyText(const std::string& text) override;
    void askPuzzleCode() override;
    void showStatistics(const Records& records, CalendarDay today) override;
    void saveRecords(const Records& records) override;
    void puzzleChanged(const std::string& code) override;
    void newBestTime(const WinReport& report) override;
    CalendarDay today() override;

  private:
    void setTitle(const std::string& extra);

    MainWindow& window_;
    RecordsFile recordsFile_;
    GameSession* session_ = nullptr;
    std::string code_;
};

}  // namespace kz
