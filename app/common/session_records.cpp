#include "app/common/session_records.h"

#include "app/common/records_merge.h"
#include "app/common/records_store.h"

namespace kz {

SessionRecords::SessionRecords(GameScreen& gameScreen, TextMedium& recordsMedium,
                               ProgramShell& programShell, Host& timers)
    : screen(gameScreen), medium(recordsMedium), shell(programShell), host(timers) {
    refresh();
}

SessionRecords::~SessionRecords() {
    if (retryRuns) {
        host.stopTimer(kRetryTimerId);
    }
}

void SessionRecords::startingPuzzle(const std::optional<PuzzleOrigin>& origin,
                                    std::optional<CalendarDay> day, bool pastDay) {
    startingOrigin = origin;
    startingDay = day;
    startingPastDay = day && pastDay;
}

void SessionRecords::resumingGame(const RecordKey& key, std::optional<CalendarDay> day,
                                  int64_t hints, Difficulty grade, bool pastDay) {
    resuming = RunningGame{key, day, hints, day && pastDay, grade};
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
        running.pastDay = startingPastDay;
        running.grade = screen.getShownGrade();
    }
    const bool changed = own.gameStarted(running.key, running.dayOfRun(), running.grade);
    for (int64_t i = 0; i < running.hints; ++i) {
        own.hintTaken();
    }
    if (changed || !unsaved.empty() || resetUnsaved) {
        save();
    }
}

void SessionRecords::hintTaken() {
    own.hintTaken();
    ++running.hints;
}

std::optional<WinReport> SessionRecords::won() {
    const int32_t seconds = screen.getClockCounter()->getValue();
    const std::optional<WinReport> report = own.gameWon(seconds);
    if (!report) {
        return std::nullopt;
    }
    save();
    return report->newBestTime ? report : std::nullopt;
}

void SessionRecords::gaveUp() {
    if (own.gameGivenUp()) {
        save();
    }
}

void SessionRecords::reset() {
    const bool wasInGame = own.inGame();
    own = Records();
    // The game on show goes on in its own table, with no hints taken yet.
    running.hints = 0;
    if (wasInGame) {
        own.gameStarted(running.key, running.dayOfRun(), running.grade);
    }
    unsaved.clear();
    resetUnsaved = true;
    stored.records = Records();
    stored.imported.clear();
    save();
}

void SessionRecords::sessionEnds(bool gameKept) {
    const bool left = !gameKept && own.gameLeft();
    if (left || !unsaved.empty() || resetUnsaved) {
        save();
    }
}

void SessionRecords::refresh() {
    stored = loadRecordsText(medium);
    if (stored.id.empty()) {
        // The id the records will be written under, unless another window writes first.
        stored.id = newRecordsId();
    }
    Records counts = stored.records;
    if (resetUnsaved) {
        counts = Records();
        stored.imported.clear();
    }
    for (const FinishedGame& game : unsaved) {
        counts.count(game);
    }
    own.setCounts(counts);
    show();
}

bool SessionRecords::tick(uint32_t timerId) {
    if (timerId != kRetryTimerId) {
        return false;
    }
    if (!retryRuns) {
        host.stopTimer(timerId);  // a tick that was on its way when a write succeeded
    } else {
        save();
    }
    return true;
}

bool SessionRecords::store(const std::function<void(RecordsText&)>& change) {
    for (const FinishedGame& game : own.takeFinished()) {
        unsaved.push_back(game);
    }
    const std::optional<RecordsText> written = updateRecords(medium, [&](RecordsText& text) {
        if (resetUnsaved) {
            // A reset starts the records anew under a new id: an export made before it, when
            // imported, then brings its games back.
            text.records = Records();
            text.imported.clear();
            text.id = newRecordsId();
        } else if (text.id.empty()) {
            text.id = stored.id;
        }
        for (const FinishedGame& game : unsaved) {
            text.records.count(game);
        }
        if (change) {
            change(text);
        }
    });
    if (written) {
        stored = *written;
        unsaved.clear();
        resetUnsaved = false;
        own.setCounts(stored.records);
    }
    if (failing != !written) {
        failing = !written;
        shell.recordsUnsaved(failing);
    }
    if (failing && !retryRuns) {
        retryRuns = host.startTimer(kRetryTimerId, kRetryMs) != 0;
    } else if (!failing && retryRuns) {
        host.stopTimer(kRetryTimerId);
        retryRuns = false;
    }
    show();
    return written.has_value();
}

void SessionRecords::save() {
    store(nullptr);
}

std::string SessionRecords::exportText() {
    // Stored first, so the text names this store as the stored records do: importing it
    // back then counts nothing twice.
    save();
    RecordsText text = stored;
    text.records.setCounts(own);
    text.keptLines.clear();
    return writeRecordsText(text);
}

RecordsImport SessionRecords::importText(std::string_view text) {
    const RecordsText file = readRecordsText(text);
    if (!file.anyRecords) {
        return RecordsImport::NotRecords;
    }
    return store([&file](RecordsText& into) { importRecords(into, file); })
               ? RecordsImport::Imported
               : RecordsImport::NotStored;
}

void SessionRecords::show() {
    RecordsText seen = stored;
    seen.records.setCounts(own);
    shown = combinedRecords(seen);
}

}  // namespace kz
