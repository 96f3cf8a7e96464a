#pragma once

#include <gtk/gtk.h>

#include <array>
#include <memory>
#include <vector>

#include "app/gtk/gtk_host.h"
#include "app/gtk/help_pages.h"
#include "app/gtk/main_window.h"
#include "app/gtk/settings_store.h"
#include "display/image.h"
#include "screen/game_screen.h"
#include "screen/image_table.h"
#include "software/software_display.h"

namespace kz {

// The Linux program from start to end: its window, the drawing surface, the 21 pictures,
// the game screen and the settings. run() returns the exit code.
class Program {
  public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Call once, after GTK has been initialised.
    int run();

  private:
    bool start();
    void onMouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    void onKey(uint32_t message, uint32_t wparam, int64_t lparam);
    void onTick();
    void onMenuCommand(uint16_t id);
    void onFirstShown();
    // Draws what changed and presents it; a failure ends the program with "Paint Error".
    void redraw();
    void printState(const char* when) const;

    GtkHost host_;
    SettingsStore settings_;
    HelpPages help_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<SoftwareDisplay> display_;
    std::vector<std::unique_ptr<Image>> images_;
    std::unique_ptr<GameScreen> screen_;
    GList* icons_ = nullptr;
    bool failed_ = false;
    bool printState_ = false;
};

}  // namespace kz
