#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/common/program_shell.h"
#include "app/common/records.h"
#include "app/common/records_store.h"
#include "app/common/records_text.h"
#include "puzzle/calendar_day.h"
#include "puzzle/puzzle_origin.h"
#include "screen/game_screen.h"
#include "screen/host.h"

namespace kz {

// The records of the games a session plays: read through the program when the extra play
// starts, told of each game's start, hints and end, and stored through the program at once
// whenever they change. Each store reads what is stored again and adds this session's games
// to it, so another window of the program loses nothing. Games that cannot be stored are
// kept, the player is told once, and they are stored with the next change that can be, or
// on the retry timer, which runs only while the records are not written.
class SessionRecords {
  public:
    static constexpr uint32_t kRetryTimerId = 3;
    // Often enough that the notice goes soon after the disk or the storage takes the records
    // again; a write tried that often costs next to nothing, and only while the notice shows.
    static constexpr uint32_t kRetryMs = 10000;

    // medium: where the program keeps the records' text.
    SessionRecords(GameScreen& screen, TextMedium& medium, ProgramShell& shell, Host& host);
    ~SessionRecords();
    SessionRecords(const SessionRecords&) = delete;
    SessionRecords& operator=(const SessionRecords&) = delete;

    // Set while a puzzle from a code or of a day is being started, so that its game counts in
    // the table of its own field and kind (and of its day). A past day's puzzle, chosen after
    // its day, counts in the table alone: it neither extends nor breaks the days in a row.
    void startingPuzzle(const std::optional<PuzzleOrigin>& origin,
                        std::optional<CalendarDay> day = std::nullopt, bool pastDay = false);

    // Set while a game kept from an earlier run is being started: it counts in the table and
    // grade it started in, with the hints it had, and only when it ends.
    void resumingGame(const RecordKey& key, std::optional<CalendarDay> day, int64_t hints,
                      Difficulty grade, bool pastDay = false);

    void gameStarted();
    void hintTaken();
    // The report of the win when it was faster than every earlier one of its table.
    std::optional<WinReport> won();
    void gaveUp();
    // Zeroes the records and stores them; the game on show still counts when it ends.
    void reset();
    // The end of the session (Exit, a signal, the end of a log-out): a running game counts
    // as left, unless the program kept it for the next run to go on with. Games not stored
    // yet get one more try either way.
    void sessionEnds(bool gameKept = false);
    // Reads what is stored again, for records another window has added to.
    void refresh();
    // True when the tick was the retry timer's: the records not written yet are tried again.
    bool tick(uint32_t timerId);

    // The records as a text for a file of the player's: this store's and those it imported.
    std::string exportText();
    // Takes the records of an exported text into these and stores them.
    RecordsImport importText(std::string_view text);

    // The records as the player sees them.
    const Records& get() const { return shown; }

    // The game running now: the table it counts in, the day of its puzzle, its hints so far
    // and its grade. A past day's puzzle has its day but leaves the days in a row alone.
    struct RunningGame {
        RecordKey key;
        std::optional<CalendarDay> day;
        int64_t hints = 0;
        bool pastDay = false;
        Difficulty grade = AsDesigned;

        // The day the records count its win for, in the days in a row.
        std::optional<CalendarDay> dayOfRun() const { return pastDay ? std::nullopt : day; }
    };
    const RunningGame& runningGame() const { return running; }

  private:
    // Stores the games not stored yet; tells the player when that starts or stops failing.
    void save();
    // Reads again, adds what this session has not stored and lets change add to that; true
    // when it was written.
    bool store(const std::function<void(RecordsText&)>& change);
    void show();

    GameScreen& screen;
    TextMedium& medium;
    ProgramShell& shell;
    Host& host;
    // What is stored, as last read or written.
    RecordsText stored;
    // The stored records with this session's games not stored yet, and the running game.
    Records own;
    std::vector<FinishedGame> unsaved;
    bool resetUnsaved = false;
    // The last write failed: the notice shows and the retry timer runs.
    bool failing = false;
    bool retryRuns = false;
    Records shown;
    std::optional<PuzzleOrigin> startingOrigin;
    std::optional<CalendarDay> startingDay;
    bool startingPastDay = false;
    std::optional<RunningGame> resuming;
    RunningGame running;
};

}  // namespace kz
