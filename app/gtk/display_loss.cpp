#include "app/gtk/display_loss.h"

#include <gtk/gtk.h>

#include <unistd.h>

#include <utility>

#if defined(GDK_WINDOWING_X11) && defined(KZ_LINKS_XLIB)
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#endif

namespace kz {

#if defined(GDK_WINDOWING_X11) && defined(KZ_LINKS_XLIB)
namespace {

std::function<void()>& lostHandler() {
    static std::function<void()> handler;
    return handler;
}

XIOErrorHandler& gdkHandler() {
    static XIOErrorHandler handler = nullptr;
    return handler;
}

int displayLost(::Display* display) {
    // Once: what the handler does must not bring it back here.
    std::function<void()> handler = std::exchange(lostHandler(), nullptr);
    if (handler) {
        handler();
    }
    if (gdkHandler() != nullptr) {
        return gdkHandler()(display);
    }
    _exit(1);
}

}  // namespace

void whenTheDisplayIsLost(std::function<void()> handler) {
    if (!GDK_IS_X11_DISPLAY(gdk_display_get_default())) {
        return;
    }
    lostHandler() = std::move(handler);
    // GDK set its own when it opened the display; it still ends the process.
    XIOErrorHandler previous = XSetIOErrorHandler(displayLost);
    if (previous != displayLost) {
        gdkHandler() = previous;
    }
}

#else

void whenTheDisplayIsLost(std::function<void()> handler) {
    (void)handler;
}

#endif

}  // namespace kz
