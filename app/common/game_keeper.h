#pragma once

#include <optional>
#include <utility>

#include "app/common/play_aids.h"
#include "app/common/saved_game.h"
#include "app/common/session_records.h"
#include "app/common/text_medium.h"
#include "screen/game_screen.h"

namespace kz {

// Keeps the game in progress in the program's medium, so that the next run takes it up where
// this one stopped: written whenever the field, its history or the hints changed, and with
// the clock as it stands when asked to; once the game ends, no game is kept. A window that
// finds the game held by another (the medium unusable) neither takes it up nor keeps one, so a
// game is never played on, or counted, twice.
class GameKeeper {
  public:
    GameKeeper(GameScreen& screen, PlayAids& aids, SessionRecords& records, TextMedium& medium);

    // After a change of the game: writes it when it differs from the one kept other than by
    // the clock, and keeps none once no game runs. Nothing while held.
    void follow();
    // Writes the game running now, clock and all; true when it is kept.
    bool keepNow();
    // The game a program keeps, if it is one this release can take up: its text read and
    // checked on its puzzle. Nothing for no text, a damaged or foreign one.
    std::optional<std::pair<SavedGame, ReplayedGame>> stored();

    // While a kept game is being started again nothing is written; then it is the one kept.
    void hold() { held = true; }
    void resumed(const SavedGame& game);

  private:
    Board& board() const { return *screen.getBoard(); }
    // The game on the field; nothing unless one is being played.
    std::optional<SavedGame> running() const;
    bool write(const std::optional<SavedGame>& game);

    GameScreen& screen;
    PlayAids& aids;
    SessionRecords& records;
    TextMedium& medium;
    // Read and usable: this window keeps the game.
    bool claimed = false;
    // What the program holds now as far as this session knows: a game, or none.
    std::optional<SavedGame> kept;
    bool held = false;
};

}  // namespace kz
