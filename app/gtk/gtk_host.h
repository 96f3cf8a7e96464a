#pragma once

#include <glib.h>

#include <functional>
#include <map>

#include "screen/host.h"

namespace kz {

// The game's timers, beep and quit on the GLib main loop. Timer ticks arrive on the main
// loop's thread and go to the tick handler, which routes them into the game.
class GtkHost : public Host {
  public:
    using TickHandler = std::function<void(uint32_t timerId)>;
    using QuitHandler = std::function<void()>;

    GtkHost(TickHandler onTick, QuitHandler onQuit);
    ~GtkHost() override;
    GtkHost(const GtkHost&) = delete;
    GtkHost& operator=(const GtkHost&) = delete;

    // Starting a timer that runs already restarts it with the new period. Identifier 0 is
    // refused, since 0 is the answer for "not started".
    uint32_t startTimer(uint32_t id, uint32_t periodMs) override;
    void stopTimer(uint32_t id) override;
    void beep() override;
    // The last code asked for is the exit code; the main loop ends once the current event
    // has been handled.
    void quit(int exitCode) override;

    bool quitRequested() const { return quitRequested_; }
    int exitCode() const { return exitCode_; }
    size_t runningTimers() const { return timers_.size(); }

  private:
    struct Timer {
        GtkHost* host;
        uint32_t id;
    };
    static gboolean onTimeout(gpointer data);

    TickHandler onTick_;
    QuitHandler onQuit_;
    std::map<uint32_t, guint> timers_;  // timer id -> GLib source id
    bool quitRequested_ = false;
    int exitCode_ = 0;
};

}  // namespace kz
