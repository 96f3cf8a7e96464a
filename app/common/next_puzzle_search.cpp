#include "app/common/next_puzzle_search.h"

namespace kz {

NextPuzzleSearch::NextPuzzleSearch(GameScreen& aheadOf, Host& timers)
    : screen(aheadOf), host(timers) {}

void NextPuzzleSearch::begin() {
    screen.beginSearchAhead();
    if (screen.getDifficulty() == AsDesigned) {
        stop();
        return;
    }
    searching = host.startTimer(kSearchTimerId, kSearchPeriodMs) != 0;
}

bool NextPuzzleSearch::tick(uint32_t timerId) {
    if (timerId != kSearchTimerId) {
        return false;
    }
    if (!searching || !screen.searchAheadStep()) {
        stop();
    }
    return true;
}

void NextPuzzleSearch::stop() {
    if (searching) {
        host.stopTimer(kSearchTimerId);
        searching = false;
    }
}

}  // namespace kz
