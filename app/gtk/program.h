#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <vector>

#include "app/common/game_session.h"
#include "app/gtk/cairo_display.h"
#include "app/gtk/gtk_host.h"
#include "app/gtk/help_pages.h"
#include "app/gtk/main_window.h"
#include "app/gtk/program_extras.h"
#include "app/gtk/quit_signals.h"
#include "app/gtk/settings_file.h"

namespace kz {

// The Linux program from start to end: its window, the surface layer, the game session
// and the settings. run() returns the exit code.
class Program : public SessionShell {
  public:
    Program();
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Call once, after GTK has been initialised.
    int run();

    void mark(int group, uint16_t commandId) override;
    void openHelp(HelpTopic topic) override;
    void showAbout() override;
    void fatal(FatalError error) override;
    void present(const std::vector<Rect>& areas) override;
    void settingsChanged(const GameSettings& settings) override;

  private:
    bool start();
    // SIGTERM, SIGINT or SIGHUP: the program ends as through Exit, boxes open or not.
    void onQuitSignal();

    GtkHost host_;
    SettingsFile settings_;
    HelpPages help_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<CairoDisplay> display_;
    // Declared before the session, which calls it until it ends.
    std::unique_ptr<ProgramExtras> extras_;
    std::unique_ptr<GameSession> session_;
    std::unique_ptr<QuitSignals> quitSignals_;
    GList* icons_ = nullptr;
};

}  // namespace kz
