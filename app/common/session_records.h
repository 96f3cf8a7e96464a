#pragma once

#include <optional>

#include "app/common/program_shell.h"
#include "app/common/records.h"
#include "puzzle/calendar_day.h"
#include "puzzle/puzzle_origin.h"
#include "screen/game_screen.h"

namespace kz {

// The records of the games a session plays: read through the program when the extra play
// starts, told of each game's start, hints and end, and stored through the program at once
// whenever they change.
class SessionRecords {
  public:
    SessionRecords(GameScreen& screen, ProgramShell& shell);

    // Set while a puzzle from a code or of a day is being started, so that its game counts in
    // the table of its own field and kind (and of its day).
    void startingPuzzle(const std::optional<PuzzleOrigin>& origin,
                        std::optional<CalendarDay> day = std::nullopt);

    // Set while a game kept from an earlier run is being started: it counts in the table it
    // started in, with the hints it had, and only when it ends.
    void resumingGame(const RecordKey& key, std::optional<CalendarDay> day, int64_t hints);

    void gameStarted();
    void hintTaken();
    void won();
    void gaveUp();
    // Zeroes the records and stores them; the game on show still counts when it ends.
    void reset();
    // The end of the session (Exit, a signal, the end of a log-out): a running game counts
    // as left.
    void sessionEnds();

    const Records& get() const { return records; }

    // The game running now: the table it counts in, its day and its hints so far.
    struct RunningGame {
        RecordKey key;
        std::optional<CalendarDay> day;
        int64_t hints = 0;
    };
    const RunningGame& runningGame() const { return running; }

  private:
    void save();

    GameScreen& screen;
    ProgramShell& shell;
    Records records;
    std::optional<PuzzleOrigin> startingOrigin;
    std::optional<CalendarDay> startingDay;
    std::optional<RunningGame> resuming;
    RunningGame running;
};

}  // namespace kz
