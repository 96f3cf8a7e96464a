#include "app/common/game_keeper.h"

#include <string>
#include <utility>

#include "screen/board.h"

namespace kz {

GameKeeper::GameKeeper(GameScreen& gameScreen, PlayAids& playAids, SessionRecords& sessionRecords,
                       TextMedium& gameMedium)
    : screen(gameScreen), aids(playAids), records(sessionRecords), medium(gameMedium) {}

std::optional<SavedGame> GameKeeper::running() const {
    const MoveHistory& history = aids.moveHistory();
    if (!board().isActive() || history.all().size() > kLongestSavedGame + 1) {
        return std::nullopt;
    }
    SavedGame game;
    game.origin = board().getOrigin();
    const SessionRecords::RunningGame& counted = records.runningGame();
    game.table = counted.key;
    game.day = counted.day;
    game.pastDay = counted.pastDay;
    game.grade = counted.grade;
    game.seconds = screen.getClockCounter()->getValue();
    game.hints = counted.hints;
    game.moves = movesBetween(history.all());
    game.undone = history.all().size() - 1 - history.position();
    if (aids.hintSolution()) {
        game.hintSolution = changedSlots(history.all().front(), *aids.hintSolution());
    }
    return game;
}

void GameKeeper::follow() {
    if (held) {
        return;
    }
    std::optional<SavedGame> now = running();
    if (now && kept) {
        // The clock alone is no change: it is written with the next one, or at the end.
        SavedGame withClock = *kept;
        withClock.seconds = now->seconds;
        if (withClock == *now) {
            return;
        }
    } else if (!now && !kept) {
        return;
    }
    write(now);
}

bool GameKeeper::keepNow() {
    std::optional<SavedGame> now = running();
    return now && !held && write(now);
}

bool GameKeeper::write(const std::optional<SavedGame>& game) {
    // A window that did not take the kept game up leaves it to the one that did.
    const bool written = claimed && medium.write(game ? writeSavedGame(*game) : std::string());
    // What could not be written leaves the program holding what it held: the next change
    // tries again.
    if (written) {
        kept = game;
    }
    return written;
}

std::optional<std::pair<SavedGame, ReplayedGame>> GameKeeper::stored() {
    const TextMedium::Stored text = medium.read();
    claimed = text.state != TextMedium::State::Unusable;
    std::optional<SavedGame> game = text.state == TextMedium::State::Read && !text.text.empty()
                                        ? readSavedGame(text.text)
                                        : std::nullopt;
    if (!game) {
        return std::nullopt;
    }
    std::optional<ReplayedGame> replayed =
        replaySavedGame(*game, board().getMaxColumns(), board().getMaxRows());
    if (!replayed) {
        return std::nullopt;
    }
    return std::make_pair(std::move(*game), std::move(*replayed));
}

void GameKeeper::resumed(const SavedGame& game) {
    held = false;
    kept = game;
}

}  // namespace kz
