#pragma once

#include <cairo.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/common/settings.h"
#include "app/gtk/menu_bar.h"
#include "display/rect.h"

namespace kz {

// The program's one window: a title, the menu bar and a drawing area that shows a picture,
// scaled to the area's size with its proportions kept. The window can be resized from
// kSmallestWidth wide up to the screen, maximized and made full screen. Pointer and key
// events over the drawing area reach the handlers as Windows messages in the picture's
// coordinates, and the pointer leaving it as a call of its own.
class MainWindow {
  public:
    struct Handlers {
        std::function<void(uint32_t message, uint32_t wparam, int32_t x, int32_t y)> mouse;
        // The pointer has left the drawing area.
        std::function<void()> pointerLeft;
        // True when the game used the key, which then goes no further (no focus moves).
        std::function<bool(uint32_t message, uint32_t wparam, uint32_t modifiers)> key;
        std::function<void(uint16_t commandId)> command;
        std::function<void()> close;
    };

    MainWindow(Handlers handlers, const Translation& translation);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // A surface of RGB24 content at scale 1 made like the window's own: on X11 a pixmap in
    // the X server, elsewhere an image in memory. Null when none can be made. The caller
    // owns it.
    cairo_surface_t* createSurface(int32_t width, int32_t height);

    // Writes pixels (0x00RRGGBB rows without padding) to a surface of createSurface at
    // (0, 0) straight to the X server, without the shared memory cairo would set up for
    // it. False when that cannot be done; cairo is the way then.
    bool writePixels(cairo_surface_t* surface, const uint32_t* pixels, int32_t width,
                     int32_t height);

    // What the drawing area shows from now on: the game's picture drawn scale times larger,
    // scale x scale of its pixels for each of the game's. The window keeps a reference.
    void setPicture(cairo_surface_t* picture, int32_t scale = 1);

    // Shows the given areas of the picture anew at the next frame.
    void present(const std::vector<Rect>& areas);

    // Shows the window with a picture of the given size, its drawing area at the given
    // size (within the screen) or the picture's.
    void show(int32_t width, int32_t height, std::optional<AreaSize> areaSize);
    // The drawing area's size the last time the window was neither maximized nor full
    // screen, to be shown again at the next start; near a whole multiple of the picture's,
    // that multiple.
    AreaSize keptAreaSize() const { return keptAreaSize_; }

    // A line under the game field, which it never covers (the window grows to hold it),
    // until hideNotice or the player closes it.
    void showNotice(const char* text);
    void hideNotice();

    GtkWindow* window() const { return GTK_WINDOW(window_); }
    GtkWidget* drawingArea() const { return area_; }
    MenuBar& menuBar() { return *menuBar_; }

  private:
    static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
    static gboolean onButton(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer self);
    static gboolean onCrossing(GtkWidget* widget, GdkEventCrossing* event, gpointer self);
    static gboolean onKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static bool isHere(GtkWidget* widget, double x, double y);
    static void onNoticeResponse(GtkInfoBar* bar, gint response, gpointer self);
    static gboolean onDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean onWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer self);
    static void onAreaSized(GtkWidget* widget, GdkRectangle* allocation, gpointer self);
    // Resizing keeps the window's width to its height as given.
    void keepProportions(int32_t width, int32_t height);
    // The size of the area as the player chose it: near a whole multiple of the picture's,
    // where a window manager may have rounded it, that multiple.
    AreaSize chosenSize(AreaSize area) const;

    Handlers handlers_;
    GtkWidget* window_ = nullptr;
    GtkWidget* area_ = nullptr;
    GtkWidget* notice_ = nullptr;
    GtkWidget* noticeText_ = nullptr;
    GtkAccelGroup* accelerators_ = nullptr;
    std::unique_ptr<MenuBar> menuBar_;
    // Surfaces like the window's are made like this one, which stands for the window.
    cairo_surface_t* windowLike_ = nullptr;
    cairo_surface_t* picture_ = nullptr;
    bool filling_ = false;  // maximized or full screen
    AreaSize pictureSize_;
    int32_t menuHeight_ = 0;
    // What the window grew by to hold the notice, given back when it goes.
    int32_t noticeGrowth_ = 0;
    AreaSize keptAreaSize_;
    int32_t pictureScale_ = 1;
};

}  // namespace kz
