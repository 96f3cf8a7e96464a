#pragma once

#include <cstdint>

#include "screen/game_screen.h"
#include "screen/host.h"

namespace kz {

// Searches the puzzle of the next graded Next while the player plays, a puzzle per tick of its
// timer, so that Next starts at once instead of keeping the program from answering while it
// searches. The timer runs only until the puzzle is found: none at all As designed.
class NextPuzzleSearch {
  public:
    static constexpr uint32_t kSearchTimerId = 4;
    // Long enough between puzzles for the program to draw and answer the player.
    static constexpr uint32_t kSearchPeriodMs = 16;

    // Its timer is the program's to end with the session: the host may be gone by then.
    NextPuzzleSearch(GameScreen& screen, Host& host);
    NextPuzzleSearch(const NextPuzzleSearch&) = delete;
    NextPuzzleSearch& operator=(const NextPuzzleSearch&) = delete;

    // Begins again from the settings and the random source as they are now.
    void begin();
    // True when the tick was the timer's.
    bool tick(uint32_t timerId);

  private:
    void stop();

    GameScreen& screen;
    Host& host;
    bool searching = false;
};

}  // namespace kz
