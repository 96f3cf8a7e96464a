#pragma once

#include "app/common/day_result.h"
#include "app/common/game_keeper.h"
#include "app/common/hint_blinker.h"
#include "app/common/keyboard_focus.h"
#include "app/common/narrator.h"
#include "app/common/next_puzzle_search.h"
#include "app/common/play_aids.h"
#include "app/common/program_shell.h"
#include "app/common/session_records.h"
#include "screen/game_screen.h"
#include "screen/host.h"

namespace kz {

// The extra play of a session, one part for each job, made in this order (the hint markers go
// on top of the screen's children before the focus frame) and ended in the reverse one.
struct ExtraParts {
    ExtraParts(GameScreen& screen, Display& display, Host& host, ProgramShell& shell,
               TextMedium& recordsMedium, TextMedium& gameMedium, const Translation& translation)
        : narrator(screen, shell, translation),
          blinker(screen, host),
          focus(screen, narrator, display),
          aids(screen, narrator, blinker),
          records(screen, recordsMedium, shell, host),
          keeper(screen, aids, records, gameMedium),
          nextSearch(screen, host) {}

    // The hint markers, then the focus frame, on top of the screen's children: only a session
    // with the extra play shows them.
    void placeOnScreen() {
        blinker.placeOnScreen();
        focus.placeOnScreen();
    }

    Narrator narrator;
    HintBlinker blinker;
    KeyboardFocus focus;
    PlayAids aids;
    SessionRecords records;
    GameKeeper keeper;
    DayResultKeeper dayResult;
    NextPuzzleSearch nextSearch;
};

}  // namespace kz
