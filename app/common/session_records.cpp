#include "app/common/session_records.h"

#include "app/common/records_store.h"
#include "puzzle/todays_puzzle.h"

namespace kz {
namespace {

// The records' text as the program keeps it, for the records store.
class ShellMedium : public RecordsMedium {
  public:
    explicit ShellMedium(ProgramShell& programShell) : shell(programShell) {}
    Stored read() override { return shell.readRecords(); }
    bool write(const std::string& text) override { return shell.writeRecords(text); }

  private:
    ProgramShell& shell;
};

}  // namespace

SessionRecords::SessionRecords(GameScreen& gameScreen, ProgramShell& programShell)
    : screen(gameScreen), shell(programShell) {
    ShellMedium medium(shell);
    records = loadRecords(medium);
}

void SessionRecords::startingPuzzle(const std::optional<PuzzleOrigin>& origin,
                                    std::optional<CalendarDay> day) {
    startingOrigin = origin;
    startingDay = day;
}

void SessionRecords::resumingGame(const RecordKey& key, std::optional<CalendarDay> day,
                                  int64_t hints) {
    resuming = RunningGame{key, day, hints};
}

void SessionRecords::gameStarted() {
    if (resuming) {
        running = *resuming;
        resuming.reset();
    } else {
        running.key = startingOrigin ? recordKeyOf(*startingOrigin)
                                     : RecordKey{screen.getFieldSize(), screen.getActionType()};
        running.day = startingDay;
        running.hints = 0;
    }
    const bool changed = records.gameStarted(running.key, running.day);
    for (int64_t i = 0; i < running.hints; ++i) {
        records.hintTaken();
    }
    if (changed) {
        save();
    }
}

void SessionRecords::hintTaken() {
    records.hintTaken();
    ++running.hints;
}

void SessionRecords::won() {
    const int32_t seconds = screen.getClockCounter()->getValue();
    if (const std::optional<WinReport> report = records.gameWon(seconds)) {
        save();
        if (report->newBestTime) {
            shell.newBestTime(*report);
        }
    }
}

void SessionRecords::gaveUp() {
    if (records.gameGivenUp()) {
        save();
    }
}

void SessionRecords::reset() {
    const bool wasInGame = records.inGame();
    records = Records();
    // The game on show goes on in its own table, with no hints taken yet.
    running.hints = 0;
    if (wasInGame) {
        records.gameStarted(running.key, running.day);
    }
    save();
}

void SessionRecords::sessionEnds() {
    if (records.gameLeft()) {
        save();
    }
}

void SessionRecords::save() {
    ShellMedium medium(shell);
    saveRecords(medium, records);
}

}  // namespace kz
