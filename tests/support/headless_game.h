#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/common/game_session.h"
#include "display/scaled_display.h"
#include "puzzle/puzzle_catalogue.h"
#include "tests/support/counting_display.h"
#include "tests/support/png_file.h"
#include "tests/support/recording_host.h"
#include "tests/support/solution_walk.h"

namespace kz {

// The whole game on the software surface with the real pictures, driven through the game
// session as a program drives it: messages in, one frame after each (as the Windows program
// draws), pixels and states out.
class HeadlessGame {
  public:
    // What the shell holds before the session starts: a kept game, stored records, the day.
    using ShellSetUp = std::function<void(RecordingShell&)>;

    // sourceRoot: the folder holding resources/bitmaps/<id>.bmp (and the larger sets).
    // scale: the screen drawn that many times larger, from the set of that scale.
    explicit HeadlessGame(const std::string& sourceRoot, const GameSettings& settings = {},
                          int32_t scale = 1, SessionOptions options = {},
                          const ShellSetUp& setUp = nullptr);
    // With the extra play, on a shell set up first; it plays from the catalogue built in
    // unless the options bring their own.
    static SessionOptions withExtras() { return {true, {}}; }
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    GameSession& session() { return gameSession; }
    GameScreen& screen() { return gameSession.screen(); }
    Board& board() { return *screen().getBoard(); }
    RecordingHost& host() { return recordingHost; }
    RecordingShell& shell() { return recordingShell; }
    test::CountingDisplay& display() { return softwareDisplay; }
    ScaledDisplay& scaledDisplay() { return scaled; }
    // The catalogue built in, which the session plays from unless its options brought another.
    const PuzzleCatalogue& catalogue() const { return builtInCatalogue; }

    // The frame after an entry called on session() directly; false once a draw has failed.
    bool frame() { return gameSession.frame(); }
    bool paint(const Rect& area) { return framed(gameSession.paint(area)); }
    bool paintAll() { return framed(gameSession.paintAll()); }
    bool mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
        return framed(gameSession.mouse(message, wparam, x, y));
    }
    bool moveTo(int32_t x, int32_t y, bool leftHeld = false);
    // Moves onto the point, presses and releases the left button there.
    bool click(int32_t x, int32_t y);
    // False when the draw after it failed, as for every other message.
    bool key(uint32_t message, uint32_t wparam, uint32_t modifiers = 0) {
        gameSession.key(message, wparam, modifiers);
        return frame();
    }
    bool command(uint16_t id) { return framed(gameSession.command(id)); }
    // One tick of the game timer, delivered only while the screen keeps one running.
    bool tick();
    // A draw with no message before it, as after a message nobody takes.
    bool redraw() { return screen().draw(softwareDisplay.target()); }

    // Centre of a button, in client coordinates.
    static std::pair<int32_t, int32_t> centreOf(Element& e);
    // Centre of a stick of the Board, in client coordinates.
    std::pair<int32_t, int32_t> stickCentre(StickOrientation orientation, int32_t index) {
        return kz::stickCentre(board(), {orientation, index});
    }

    // Plays the generated solution through mouse messages alone. Returns false when the
    // field refused a click it should have taken.
    bool playSolution();

    bool savePng(const std::string& path) const {
        return kz::savePng(softwareDisplay.targetPixels(), path);
    }

  private:
    bool framed(bool routed) { return frame() && routed; }

    // Declared first: the session's pictures live on its surfaces.
    test::CountingDisplay softwareDisplay;
    ScaledDisplay scaled;
    RecordingHost recordingHost;
    RecordingShell recordingShell;
    PuzzleCatalogue builtInCatalogue;
    GameSession gameSession;
};

}  // namespace kz
