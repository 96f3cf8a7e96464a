#include "app/gtk/gtk_host.h"

#include <gdk/gdk.h>

namespace kz {

GtkHost::GtkHost(TickHandler onTick, QuitHandler onQuit)
    : onTick_(std::move(onTick)), onQuit_(std::move(onQuit)) {}

GtkHost::~GtkHost() {
    for (const auto& timer : timers_) {
        g_source_remove(timer.second);
    }
}

uint32_t GtkHost::startTimer(uint32_t id, uint32_t periodMs) {
    if (id == 0) {
        return 0;
    }
    stopTimer(id);
    auto* timer = new Timer{this, id};
    guint source = g_timeout_add_full(G_PRIORITY_DEFAULT, periodMs, onTimeout, timer,
                                      [](gpointer data) { delete static_cast<Timer*>(data); });
    if (source == 0) {
        return 0;
    }
    timers_[id] = source;
    return id;
}

void GtkHost::stopTimer(uint32_t id) {
    auto found = timers_.find(id);
    if (found == timers_.end()) {
        return;
    }
    g_source_remove(found->second);
    timers_.erase(found);
}

gboolean GtkHost::onTimeout(gpointer data) {
    auto* timer = static_cast<Timer*>(data);
    // The handler may stop this very timer; the source stays valid until we return.
    if (timer->host->onTick_) {
        timer->host->onTick_(timer->id);
    }
    return G_SOURCE_CONTINUE;
}

void GtkHost::beep() {
    GdkDisplay* display = gdk_display_get_default();
    if (display) {
        gdk_display_beep(display);
    }
}

void GtkHost::quit(int exitCode) {
    exitCode_ = exitCode;
    quitRequested_ = true;
    if (onQuit_) {
        onQuit_();
    }
}

}  // namespace kz
