#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

#include "app/common/game_session.h"
#include "app/common/program_shell.h"
#include "app/gtk/cairo_display.h"
#include "app/gtk/game_file.h"
#include "app/gtk/gtk_host.h"
#include "app/gtk/help_pages.h"
#include "app/gtk/main_window.h"
#include "app/gtk/quit_signals.h"
#include "app/gtk/records_file.h"
#include "app/gtk/settings_file.h"

namespace kz {

// The Linux program from start to end: its window, the surface layer, the game session and
// what the session asks of the program (menus, boxes, the settings and records files, the
// clipboard, the title, the screen reader's texts on the drawing area). run() returns the
// exit code.
class Program : public ProgramShell {
  public:
    Program();
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Call once, after GTK has been initialised.
    int run();

    void mark(int group, uint16_t commandId) override;
    void commandsChanged(const CommandStates& states) override;
    void openHelp(HelpTopic topic) override;
    void showAbout() override;
    void fatal(FatalError error) override;
    void present(const std::vector<Rect>& areas) override;
    void settingsChanged(const GameSettings& settings) override;
    RecordsMedium::Stored readRecords() override;
    bool writeRecords(const std::string& text) override;
    std::optional<std::string> readGame() override;
    bool writeGame(const std::string& text) override;
    bool lockRecords() override;
    void unlockRecords() override;
    void recordsUnsaved(bool unsaved) override;
    void exportRecords(const std::string& text) override;
    void askRecordsFile() override;
    void copyText(const std::string& text) override;
    void askPuzzleCode() override;
    void showStatistics(const Records& records, CalendarDay today) override;
    void puzzleChanged(const std::string& code) override;
    void newBestTime(const WinReport& report) override;
    void announce(const std::string& text) override;
    void describe(const std::string& text) override;
    void focusPlacesChanged(const FocusPlaces& places) override;
    CalendarDay today() override;

  private:
    bool start();
    // SIGTERM, SIGINT or SIGHUP: the program ends as through Exit, boxes open or not.
    void onQuitSignal();
    // The program's title, then the puzzle's code and a note, each after a dash.
    void setTitle(const std::string& note);

    GtkHost host_;
    SettingsFile settings_;
    RecordsFile records_;
    GameFile game_;
    // The first window takes the game in progress; a second one plays without.
    bool gameClaimed_ = false;
    // The session is ending: its last write of the game goes to the disk at once.
    bool ending_ = false;
    HelpPages help_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<CairoDisplay> display_;
    std::unique_ptr<GameSession> session_;
    std::unique_ptr<QuitSignals> quitSignals_;
    GList* icons_ = nullptr;
    std::string code_;
};

}  // namespace kz
