#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/common/game_session.h"
#include "app/common/program_shell.h"
#include "app/gtk/cairo_display.h"
#include "app/gtk/game_file.h"
#include "app/gtk/gettext_translation.h"
#include "app/gtk/gtk_host.h"
#include "app/gtk/help_pages.h"
#include "app/gtk/main_window.h"
#include "app/gtk/quit_signals.h"
#include "app/gtk/records_file.h"
#include "app/gtk/settings_file.h"
#include "display/scaled_display.h"
#include "puzzle/puzzle_catalogue.h"

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

    // Draws the game from the set of pictures of a scale (the window's HiDPI scale, or more
    // where the window shows the game larger): the pictures made again, a target of that
    // many pixels for each of the screen's, and the whole screen drawn. A scale without
    // pictures keeps the one in use.
    void useScale(int32_t scale);

    void windowChanged(const WindowState& window) override;
    void openHelp(HelpTopic topic) override;
    void showAbout() override;
    void fatal(FatalError error) override;
    void present(const std::vector<Rect>& areas) override;
    // The drawing area's next frame clock tick draws the frame.
    void frameWanted() override;
    void recordsUnsaved(bool unsaved) override;
    void copyText(const std::string& text, const std::string& copied) override;
    void ask(const Question& question) override;
    void showStatistics(const Records& records, CalendarDay today) override;
    void announce(const std::string& text) override;
    void focusPlacesChanged(const FocusPlaces& places) override;

  private:
    bool start();
    // SIGTERM, SIGINT or SIGHUP: the program ends as through Exit, boxes open or not.
    void onQuitSignal();
    // Draws from the set of pictures that shows the game sharpest at the drawing area's size
    // and the screen's scale: at GDK_SCALE=2, or a window twice its design size, the set
    // drawn twice as large.
    void fitPicturesToArea();
    static void onScaleFactor(GObject* window, GParamSpec*, gpointer self);
    static void onAreaSized(GtkWidget* area, GdkRectangle* allocation, gpointer self);
    static gboolean onFrameTick(GtkWidget* area, GdkFrameClock* clock, gpointer self);

    GtkHost host_;
    GettextTranslation translation_;
    SettingsFile settings_;
    RecordsFile records_;
    GameFile game_;
    HelpPages help_;
    // Built in; before the session, which plays from it.
    std::optional<PuzzleCatalogue> catalogue_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<CairoDisplay> display_;
    std::unique_ptr<ScaledDisplay> scaled_;
    std::unique_ptr<GameSession> session_;
    std::unique_ptr<QuitSignals> quitSignals_;
    GList* icons_ = nullptr;
    // The tick callback that draws the frame asked for; 0 when none is waiting.
    guint frameTick_ = 0;
};

}  // namespace kz
