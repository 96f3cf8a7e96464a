#include "app/gtk/main_window.h"

#include <algorithm>

#ifdef GDK_WINDOWING_X11
#include <cairo-xlib.h>
#include <gdk/gdkx.h>
#endif

#include "app/common/identity.h"
#include "app/common/settings.h"
#include "app/gtk/board_area.h"
#include "app/gtk/input_translation.h"

namespace kz {

MainWindow::MainWindow(Handlers handlers, const Translation& translation)
    : handlers_(std::move(handlers)) {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window_), kProgramTitle);
    g_signal_connect(window_, "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(window_, "window-state-event", G_CALLBACK(onWindowState), this);

    accelerators_ = gtk_accel_group_new();
    gtk_window_add_accel_group(GTK_WINDOW(window_), accelerators_);
    menuBar_ = std::make_unique<MenuBar>(accelerators_, translation, [this](uint16_t id) {
        if (handlers_.command) {
            handlers_.command(id);
        }
    });

    area_ = newBoardArea();
    gtk_widget_set_can_focus(area_, TRUE);
    gtk_widget_add_events(area_, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                     GDK_BUTTON_RELEASE_MASK | GDK_KEY_PRESS_MASK |
                                     GDK_KEY_RELEASE_MASK | GDK_ENTER_NOTIFY_MASK |
                                     GDK_LEAVE_NOTIFY_MASK);
    g_signal_connect(area_, "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(area_, "button-press-event", G_CALLBACK(onButton), this);
    g_signal_connect(area_, "button-release-event", G_CALLBACK(onButton), this);
    g_signal_connect(area_, "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(area_, "enter-notify-event", G_CALLBACK(onCrossing), this);
    g_signal_connect(area_, "leave-notify-event", G_CALLBACK(onCrossing), this);
    g_signal_connect(area_, "key-press-event", G_CALLBACK(onKey), this);
    g_signal_connect(area_, "key-release-event", G_CALLBACK(onKey), this);
    g_signal_connect(area_, "size-allocate", G_CALLBACK(onAreaSized), this);

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(box), menuBar_->widget(), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), area_, TRUE, TRUE, 0);

    // Under the field: the window grows to hold it, so nothing of the game moves when it
    // comes or goes.
    notice_ = gtk_info_bar_new();
    gtk_widget_set_name(notice_, "records-notice");
    gtk_info_bar_set_message_type(GTK_INFO_BAR(notice_), GTK_MESSAGE_WARNING);
    gtk_info_bar_set_show_close_button(GTK_INFO_BAR(notice_), TRUE);
    noticeText_ = gtk_label_new("");
    gtk_label_set_line_wrap(GTK_LABEL(noticeText_), TRUE);
    gtk_label_set_xalign(GTK_LABEL(noticeText_), 0.0f);
    gtk_container_add(GTK_CONTAINER(gtk_info_bar_get_content_area(GTK_INFO_BAR(notice_))),
                      noticeText_);
    g_signal_connect(notice_, "response", G_CALLBACK(onNoticeResponse), this);
    gtk_widget_set_no_show_all(notice_, TRUE);
    gtk_widget_show(noticeText_);
    gtk_box_pack_start(GTK_BOX(box), notice_, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window_), box);
}

void MainWindow::showNotice(const char* text) {
    gtk_label_set_text(GTK_LABEL(noticeText_), text);
    // No wider than the field: the label wraps rather than widening the window. Its natural
    // width is kept small, so the size asked for here is the one it takes; the rest of the
    // line holds the close button and the bar's margins.
    gtk_label_set_max_width_chars(GTK_LABEL(noticeText_), 1);
    gtk_widget_set_size_request(noticeText_, gtk_widget_get_allocated_width(area_) - 96, -1);
    if (gtk_widget_get_visible(notice_)) {
        return;
    }
    gtk_widget_show(notice_);
    // A window the player sized grows by the notice's height, its proportions with it; a
    // maximized or full screen one has no room to grow, and its picture fits what is left.
    if (!filling_ && gtk_widget_get_realized(window_)) {
        gint width = 0;
        gint height = 0;
        gtk_window_get_size(GTK_WINDOW(window_), &width, &height);
        gint noticeHeight = 0;
        gtk_widget_get_preferred_height_for_width(notice_, width, nullptr, &noticeHeight);
        noticeGrowth_ = noticeHeight;
        keepProportions(width, height + noticeGrowth_);
        gtk_window_resize(GTK_WINDOW(window_), width, height + noticeGrowth_);
    }
}

void MainWindow::hideNotice() {
    if (!gtk_widget_get_visible(notice_)) {
        return;
    }
    gtk_widget_hide(notice_);
    if (noticeGrowth_ > 0) {
        gint width = 0;
        gint height = 0;
        gtk_window_get_size(GTK_WINDOW(window_), &width, &height);
        keepProportions(pictureSize_.width, pictureSize_.height + menuHeight_);
        if (!filling_) {
            gtk_window_resize(GTK_WINDOW(window_), width, std::max(1, height - noticeGrowth_));
        }
        noticeGrowth_ = 0;
    }
}

void MainWindow::onNoticeResponse(GtkInfoBar*, gint, gpointer data) {
    static_cast<MainWindow*>(data)->hideNotice();
}

void MainWindow::keepProportions(int32_t width, int32_t height) {
    // Half a pixel of the height either way at the smallest width, and less elsewhere: a
    // window manager rounds a single ratio (sent as two whole numbers) a pixel off the
    // window's own size, and within this every width has a whole height it leaves alone.
    const double ratio = static_cast<double>(width) / std::max(1, height);
    const double slack = ratio / (2.0 * kSmallestWidth);
    GdkGeometry hints{};
    hints.min_aspect = ratio * (1.0 - slack);
    hints.max_aspect = ratio * (1.0 + slack);
    gtk_window_set_geometry_hints(GTK_WINDOW(window_), nullptr, &hints, GDK_HINT_ASPECT);
}

AreaSize MainWindow::chosenSize(AreaSize area) const {
    const int32_t multiple =
        wholeMultipleNear(area.width, area.height, pictureSize_.width, pictureSize_.height);
    return multiple > 0 ? AreaSize{pictureSize_.width * multiple, pictureSize_.height * multiple}
                        : area;
}

MainWindow::~MainWindow() {
    // The window goes first: nothing may draw from the picture once it is released.
    gtk_widget_destroy(window_);
    if (picture_) {
        cairo_surface_destroy(picture_);
    }
    if (windowLike_) {
        cairo_surface_destroy(windowLike_);
    }
    g_object_unref(accelerators_);
}

cairo_surface_t* MainWindow::createSurface(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    if (!windowLike_) {
        gtk_widget_realize(window_);
        GdkWindow* window = gtk_widget_get_window(window_);
#ifdef GDK_WINDOWING_X11
        // Not gdk_window_create_similar_surface: on a HiDPI screen that makes every surface
        // at the window's scale, and the game's pictures have one pixel per pixel.
        if (GDK_IS_X11_WINDOW(window)) {
            windowLike_ = cairo_xlib_surface_create(
                GDK_WINDOW_XDISPLAY(window), GDK_WINDOW_XID(window),
                gdk_x11_visual_get_xvisual(gdk_window_get_visual(window)), 1, 1);
        }
#endif
        if (!windowLike_) {
            windowLike_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        }
    }
    cairo_surface_t* surface =
        cairo_surface_create_similar(windowLike_, CAIRO_CONTENT_COLOR, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

bool MainWindow::writePixels(cairo_surface_t* surface, const uint32_t* pixels, int32_t width,
                             int32_t height) {
#if defined(GDK_WINDOWING_X11) && defined(KZ_WRITE_PIXELS_TO_X11)
    if (cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_XLIB ||
        cairo_xlib_surface_get_width(surface) < width ||
        cairo_xlib_surface_get_height(surface) < height) {
        return false;
    }
    // Only where the server keeps pixels as the program does: 24 bits in 32, red on top,
    // least significant byte first.
    Display* display = cairo_xlib_surface_get_display(surface);
    Visual* visual = cairo_xlib_surface_get_visual(surface);
    if (cairo_xlib_surface_get_depth(surface) != 24 || !visual || visual->red_mask != 0xFF0000 ||
        visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF ||
        ImageByteOrder(display) != LSBFirst) {
        return false;
    }
    XImage* image = XCreateImage(
        display, visual, 24, ZPixmap, 0, reinterpret_cast<char*>(const_cast<uint32_t*>(pixels)),
        static_cast<unsigned>(width), static_cast<unsigned>(height), 32, width * 4);
    if (!image || image->bits_per_pixel != 32) {
        if (image) {
            image->data = nullptr;  // the pixels are the caller's
            XDestroyImage(image);
        }
        return false;
    }
    cairo_surface_flush(surface);
    GC gc = XCreateGC(display, cairo_xlib_surface_get_drawable(surface), 0, nullptr);
    XPutImage(display, cairo_xlib_surface_get_drawable(surface), gc, image, 0, 0, 0, 0,
              static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFreeGC(display, gc);
    image->data = nullptr;
    XDestroyImage(image);
    cairo_surface_mark_dirty(surface);
    return true;
#else
    (void)surface;
    (void)pixels;
    (void)width;
    (void)height;
    return false;
#endif
}

void MainWindow::setPicture(cairo_surface_t* picture, int32_t scale) {
    cairo_surface_t* previous = picture_;
    picture_ = picture ? cairo_surface_reference(picture) : nullptr;
    pictureScale_ = scale > 0 ? scale : 1;
    if (previous) {
        cairo_surface_destroy(previous);
    }
    gtk_widget_queue_draw(area_);
}

void MainWindow::present(const std::vector<Rect>& areas) {
    const PictureFit fit = boardFit(area_);
    // A filtered picture blends each pixel with its neighbours; the margin of a picture at a
    // whole multiple repeats the edge next to it.
    const int32_t blend =
        fit.nearWhole ? kNearWhole
                      : (fit.isWhole(gtk_widget_get_scale_factor(area_), pictureScale_) ? 0 : 1);
    for (const Rect& part : areas) {
        if (part.width() > 0 && part.height() > 0) {
            const Rect r = fit.toArea(part);
            gtk_widget_queue_draw_area(area_, r.left - blend, r.top - blend, r.width() + 2 * blend,
                                       r.height() + 2 * blend);
        }
    }
}

void MainWindow::show(int32_t width, int32_t height, std::optional<AreaSize> areaSize) {
    setBoardPicture(area_, width, height);
    pictureSize_ = {width, height};
    keptAreaSize_ = pictureSize_;
    // The menu bar's height counts once its items show.
    gtk_widget_show_all(gtk_bin_get_child(GTK_BIN(window_)));
    gint menuHeight = 0;
    gtk_widget_get_preferred_height(menuBar_->widget(), nullptr, &menuHeight);
    if (areaSize) {
        areaSize = chosenSize(*areaSize);
        // Within the work area of the monitor the window starts on, less the menu bar.
        GdkRectangle work{0, 0, areaSize->width, areaSize->height + menuHeight};
        GdkDisplay* display = gtk_widget_get_display(window_);
        GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
        if (!monitor) {
            monitor = gdk_display_get_monitor(display, 0);
        }
        if (monitor) {
            gdk_monitor_get_workarea(monitor, &work);
        }
        setBoardNaturalSize(
            area_,
            std::clamp(areaSize->width, kSmallestWidth, std::max(kSmallestWidth, work.width)),
            std::clamp(areaSize->height, 1, std::max(1, work.height - menuHeight)));
    }
    // Resizing keeps the proportions of the window at the picture's own size, the menu bar
    // included (the toolkit takes no base out of an aspect): at other sizes the picture is a
    // few pixels narrower or lower than the area, and where a window manager gives another
    // shape (maximized, full screen) it stands in the middle.
    menuHeight_ = menuHeight;
    keepProportions(width, height + menuHeight);
    gtk_widget_show(window_);
    gtk_widget_grab_focus(area_);
}

gboolean MainWindow::onDraw(GtkWidget* widget, cairo_t* cr, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    drawBoardPicture(widget, cr, self->picture_, self->pictureScale_);
    return TRUE;
}

gboolean MainWindow::onButton(GtkWidget* widget, GdkEventButton* event, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    std::optional<TranslatedMouse> m = translateButton(event->type, event->button, event->state);
    if (m && self->handlers_.mouse) {
        const Point at = boardFit(widget).toPicture(event->x, event->y);
        self->handlers_.mouse(m->message, m->wparam, at.x, at.y);
    }
    // A button let go outside the window ends the grab that kept the pointer's moves coming:
    // nothing tells of the pointer again until it is back.
    if (event->type == GDK_BUTTON_RELEASE && !isHere(widget, event->x, event->y) &&
        self->handlers_.pointerLeft) {
        self->handlers_.pointerLeft();
    }
    return TRUE;
}

bool MainWindow::isHere(GtkWidget* widget, double x, double y) {
    return x >= 0 && y >= 0 && x < gtk_widget_get_allocated_width(widget) &&
           y < gtk_widget_get_allocated_height(widget);
}

gboolean MainWindow::onCrossing(GtkWidget* widget, GdkEventCrossing* event, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    if (event->detail == GDK_NOTIFY_INFERIOR) {
        return FALSE;
    }
    if (event->type == GDK_ENTER_NOTIFY) {
        // Back from a menu or another window: the look under the pointer at once.
        if (self->handlers_.mouse) {
            const TranslatedMouse m = translateMotion(event->state);
            const Point at = boardFit(widget).toPicture(event->x, event->y);
            self->handlers_.mouse(m.message, m.wparam, at.x, at.y);
        }
    } else if ((event->state & (GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK)) == 0 &&
               self->handlers_.pointerLeft) {
        // With a button held the grab keeps the moves coming, outside too, as the game
        // follows a press.
        self->handlers_.pointerLeft();
    }
    return FALSE;
}

gboolean MainWindow::onMotion(GtkWidget* widget, GdkEventMotion* event, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    TranslatedMouse m = translateMotion(event->state);
    if (self->handlers_.mouse) {
        const Point at = boardFit(widget).toPicture(event->x, event->y);
        self->handlers_.mouse(m.message, m.wparam, at.x, at.y);
    }
    return TRUE;
}

gboolean MainWindow::onKey(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    std::optional<TranslatedKey> k = translateKey(event->type, event->keyval);
    if (k && self->handlers_.key &&
        self->handlers_.key(k->message, k->wparam, keyFlags(event->state))) {
        return TRUE;
    }
    // Other keys stay available to the window's menu mnemonics and keyboard navigation.
    return FALSE;
}

gboolean MainWindow::onWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
    constexpr int kFilling =
        GDK_WINDOW_STATE_MAXIMIZED | GDK_WINDOW_STATE_FULLSCREEN | GDK_WINDOW_STATE_TILED;
    static_cast<MainWindow*>(data)->filling_ = (event->new_window_state & kFilling) != 0;
    return FALSE;
}

void MainWindow::onAreaSized(GtkWidget*, GdkRectangle* allocation, gpointer data) {
    auto* self = static_cast<MainWindow*>(data);
    if (!self->filling_) {
        self->keptAreaSize_ = self->chosenSize({allocation->width, allocation->height});
    }
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
