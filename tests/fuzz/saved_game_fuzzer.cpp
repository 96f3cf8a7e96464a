// The saved game reader: whatever text a program finds where it keeps the game in progress,
// reading it crashes nothing, a text read as a game is written back byte for byte, and its
// moves are played out only as its puzzle allows. A game that plays out is taken up by the
// session with its field and clock and kept again as the same text; any other leaves the
// session idle and the text as it was.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/common/saved_game.h"
#include "tests/support/headless_game.h"

namespace kz {
namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "saved game: %s\n", what);
    std::abort();
}

void checkReplay(const SavedGame& game, const ReplayedGame& replayed) {
    if (replayed.layouts.size() != game.moves.size() + 1 ||
        replayed.shown != game.moves.size() - game.undone) {
        fail("the replay holds another number of layouts");
    }
    if (movesBetween(replayed.layouts) != game.moves) {
        fail("the replayed layouts differ by other moves");
    }
}

void checkSession(const std::string& text, const std::optional<ReplayedGame>& replayed) {
    HeadlessGame game(KZ_SOURCE_ROOT, GameSettings{}, 1, HeadlessGame::withExtras(),
                      [&](RecordingShell& shell) {
                          shell.keepsGames = true;
                          shell.keptGame = text;
                      });
    if (!game.paintAll()) {
        fail("the first draw failed");
    }
    Board& board = game.board();
    if (!replayed) {
        if (board.isActive() || game.shell().gameWrites != 0) {
            fail("a text that is no game was taken up or written over");
        }
        return;
    }
    if (!board.isActive() || board.getCurrentSticks() != replayed->layouts[replayed->shown]) {
        fail("the game taken up shows another field");
    }
    if (game.screen().getMovesCounter()->getValue() !=
        std::min(board.movesFromStart(board.getCurrentSticks()), 99)) {
        fail("the moves counter shows another count");
    }
    game.session().keepGame();
    if (game.shell().keptGame != text) {
        fail("the game taken up is kept as another text");
    }
}

}  // namespace
}  // namespace kz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<kz::SavedGame> game = kz::readSavedGame(text);
    if (!game) {
        return 0;
    }
    if (kz::writeSavedGame(*game) != text) {
        kz::fail("a game read is written back otherwise");
    }
    const std::optional<kz::ReplayedGame> replayed = kz::replaySavedGame(*game, 5, 5);
    if (replayed) {
        kz::checkReplay(*game, *replayed);
    }
    kz::checkSession(text, replayed);
    return 0;
}
