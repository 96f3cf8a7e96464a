#include "app/win32/window_host.h"

namespace kz {

uint32_t WindowHost::startTimer(uint32_t id, uint32_t periodMs) {
    return static_cast<uint32_t>(SetTimer(window_, id, periodMs, nullptr));
}

void WindowHost::stopTimer(uint32_t id) {
    KillTimer(window_, id);
}

void WindowHost::beep() {
    MessageBeep(0);
}

void WindowHost::quit(int exitCode) {
    PostQuitMessage(exitCode);
}

}  // namespace kz
