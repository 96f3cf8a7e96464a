#pragma once

#include <windows.h>

#include "screen/host.h"

namespace kz {

// Timers, beep and quit for the game screen, on the main window and its message loop:
// timer ticks arrive as WM_TIMER on the thread that runs the loop.
class WindowHost : public Host {
  public:
    explicit WindowHost(HWND window) : window_(window) {}

    uint32_t startTimer(uint32_t id, uint32_t periodMs) override;
    void stopTimer(uint32_t id) override;
    void beep() override;
    void quit(int exitCode) override;

  private:
    HWND window_;
};

}  // namespace kz
