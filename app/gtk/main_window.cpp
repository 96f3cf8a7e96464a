#include "app/gtk/main_window.h"

#include <cmath>

#include "app/common/identity.h"
#include "app/common/settings.h"
#include "app/gtk/input_translation.h"

namespace kz {

MainWindow::MainWindow(Handlers handlers) : handlers_(std::move(handlers)) {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window_), kProgramTitle);
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    g_signal_connect(window_, "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect_after(window_, "realize", G_CALLBACK(onRealize), nullptr);
    g_signal_connect(window_, "window-state-event", G_CALLBACK(onWindowState), nullptr);

    accelerators_ = gtk_accel_group_new();
    gtk_window_add_accel_group(GTK_WINDOW(window_), accelerators_);
    menuBar_ = std::make_unique<MenuBar>(accelerators_, [this](uint16_t id) {
        if (handlers_.command) {
            handlers_.command(id);
        }
    });

    area_ = gtk_drawing_area_new();
    gtk_widget_set_halign(area_, GTK_ALIGN_START);
    gtk_widget_set_valign(area_, GTK_ALIGN_START);
    gtk_widget_set_can_focus(area_, TRUE);
    gtk_widget_add_events(area_, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                     GDK_BUTTON_RELEASE_MASK | GDK_KEY_PRESS_MASK |
                                     GDK_KEY_RELEASE_MASK);
    g_signal_connect(area_, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(area_, "button-press-event", G_CALLBACK(onButton), this);
    g_signal_connect(area_, "button-release-event", G_CALLBACK(onButton), this);
    g_signal_connect(area_, "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(area_, "key-press-event", G_CALLBACK(onKey), this);
    g_signal_connect(area_, "key-release-event", G_CALLBACK(onKey), this);

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(box), menuBar_->widget(), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), area_, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window_), box);
}

MainWindow::~MainWindow() {
    // The window goes first: nothing may draw from the pixels once they are released.
    gtk_widget_destroy(window_);
    if (pixels_) {
        cairo_surface_destroy(pixels_);
    }
    g_object_unref(accelerators_);
}

uint32_t* MainWindow::createPixels(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || pixels_) {
        return nullptr;
    }
    // Made like the window's own surface: on X11 with shared memory cairo puts the image in
    // a segment the server reads directly, instead of a private buffer that each frame
    // would be copied out of into another one.
    gtk_widget_realize(window_);
    cairo_surface_t* surface = gdk_window_create_similar_image_surface(
        gtk_widget_get_window(window_), CAIRO_FORMAT_RGB24, width, height, 1);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_stride(surface) != width * 4 ||
        cairo_image_surface_get_data(surface) == nullptr) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    pixels_ = surface;
    gtk_widget_set_size_request(area_, width, height);
    cairo_surface_flush(pixels_);
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(pixels_));
}

void MainWindow::beginDrawing() {
    if (pixels_) {
        cairo_surface_flush(pixels_);
    }
}

void MainWindow::present(const std::vector<Rect>& areas) {
    for (const Rect& r : areas) {
        if (r.width() <= 0 || r.height() <= 0) {
            continue;
        }
        if (pixels_) {
            cairo_surface_mark_dirty_rectangle(pixels_, r.left, r.top, r.width(), r.height());
        }
        gtk_widget_queue_draw_area(area_, r.left, r.top, r.width(), r.height());
    }
}

void MainWindow::show() {
    gtk_widget_show_all(window_);
    gtk_widget_grab_focus(area_);
}

gboolean MainWindow::onDraw(GtkWidget*, cairo_t* cr, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    if (self->pixels_) {
        // GTK has already scaled the context for a HiDPI screen; whole-pixel nearest
        // neighbour scaling keeps the picture sharp.
        cairo_set_source_surface(cr, self->pixels_, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
    }
    if (!self->shown_) {
        self->shown_ = true;
        if (self->handlers_.firstShown) {
            self->handlers_.firstShown();
        }
    }
    return TRUE;
}

gboolean MainWindow::onButton(GtkWidget*, GdkEventButton* event, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    std::optional<TranslatedMouse> m = translateButton(event->type, event->button, event->state);
    if (m && self->handlers_.mouse) {
        self->handlers_.mouse(m->message, m->wparam, static_cast<int32_t>(std::floor(event->x)),
                              static_cast<int32_t>(std::floor(event->y)));
    }
    return TRUE;
}

gboolean MainWindow::onMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    TranslatedMouse m = translateMotion(event->state);
    if (self->handlers_.mouse) {
        self->handlers_.mouse(m.message, m.wparam, static_cast<int32_t>(std::floor(event->x)),
                              static_cast<int32_t>(std::floor(event->y)));
    }
    return TRUE;
}

gboolean MainWindow::onKey(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    std::optional<TranslatedKey> k =
        translateKey(event->type, event->keyval, event->hardware_keycode);
    if (k && self->handlers_.key) {
        self->handlers_.key(k->message, k->wparam, k->lparam);
    }
    // Keys stay available to the window's menu mnemonics and keyboard navigation.
    return FALSE;
}

void MainWindow::onRealize(GtkWidget* widget, gpointer) {
    // A fixed-size window: the window manager is to offer moving, minimizing and closing
    // only, with no maximize button. The window keeps its normal type, which gives it its
    // place in task bars.
    GdkWindow* window = gtk_widget_get_window(widget);
    gdk_window_set_functions(
        window, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_MINIMIZE | GDK_FUNC_CLOSE));
    gdk_window_set_decorations(
        window, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE | GDK_DECOR_MENU |
                                             GDK_DECOR_MINIMIZE));
}

gboolean MainWindow::onWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer) {
    // Some window managers maximize or go full screen on request whatever the window says;
    // the picture has one size, so the window returns to it at once.
    constexpr int kRefused = GDK_WINDOW_STATE_MAXIMIZED | GDK_WINDOW_STATE_FULLSCREEN;
    const int entered = event->changed_mask & event->new_window_state & kRefused;
    if (entered & GDK_WINDOW_STATE_FULLSCREEN) {
        gtk_window_unfullscreen(GTK_WINDOW(widget));
    }
    if (entered & GDK_WINDOW_STATE_MAXIMIZED) {
        gtk_window_unmaximize(GTK_WINDOW(widget));
    }
    return FALSE;
}

gboolean MainWindow::onDelete(GtkWidget*, GdkEvent*, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    if (self->handlers_.close) {
        self->handlers_.close();
    }
    // The window stays until the program has saved its settings and ends.
    return TRUE;
}

}  // namespace kz
