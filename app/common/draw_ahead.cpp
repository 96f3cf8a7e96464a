#include "app/common/draw_ahead.h"

namespace kz {

DrawAhead::DrawAhead(GameScreen& aheadOf, Host& timers) : screen(aheadOf), host(timers) {}

void DrawAhead::begin() {
    screen.beginSearchAhead();
    if (screen.getDifficulty() == AsDesigned) {
        stop();
        return;
    }
    searching = host.startTimer(kDrawAheadTimerId, kDrawAheadPeriodMs) != 0;
}

bool DrawAhead::tick(uint32_t timerId) {
    if (timerId != kDrawAheadTimerId) {
        return false;
    }
    if (!searching || !screen.searchAheadStep()) {
        stop();
    }
    return true;
}

void DrawAhead::stop() {
    if (searching) {
        host.stopTimer(kDrawAheadTimerId);
        searching = false;
    }
}

}  // namespace kz
