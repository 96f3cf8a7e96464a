#include "tests/support/headless_game.h"

#include "display/messages.h"
#include "puzzle/embedded_catalogue.h"
#include "tests/support/resource_files.h"

namespace kz {

namespace {

RecordingShell& setUpShell(RecordingShell& shell, const HeadlessGame::ShellSetUp& setUp) {
    if (setUp) {
        setUp(shell);
    }
    return shell;
}

// The shell's stores and, with the extra play, the catalogue, unless the options bring their
// own.
SessionOptions withStores(SessionOptions options, RecordingShell& shell,
                          const PuzzleCatalogue& catalogue) {
    if (!options.stores.settings && !options.stores.records && !options.stores.game) {
        options.stores = shell.stores();
    }
    if (options.extraPlay && options.catalogue == nullptr) {
        options.catalogue = &catalogue;
    }
    return options;
}

}  // namespace

HeadlessGame::HeadlessGame(const std::string& sourceRoot, const GameSettings& settings,
                           int32_t scale, SessionOptions options, const ShellSetUp& setUp)
    : softwareDisplay(0, 0, sourceTreeResolver(sourceRoot)),
      scaled(softwareDisplay, scale),
      builtInCatalogue(embeddedCatalogue().value()),
      gameSession(scaled, recordingHost, setUpShell(recordingShell, setUp), settings,
                  withStores(options, recordingShell, builtInCatalogue)) {
    softwareDisplay.resetTarget(gameSession.width() * scaled.scale(),
                                gameSession.height() * scaled.scale());
}

bool HeadlessGame::moveTo(int32_t x, int32_t y, bool leftHeld) {
    return mouse(msg::MouseMove, leftHeld ? mouseflag::LeftButton : 0, x, y);
}

bool HeadlessGame::click(int32_t x, int32_t y) {
    return moveTo(x, y) && mouse(msg::LeftButtonDown, mouseflag::LeftButton, x, y) &&
           mouse(msg::LeftButtonUp, 0, x, y);
}

bool HeadlessGame::tick() {
    if (recordingHost.timers.count(GameScreen::kGameTimerId) == 0) {
        return redraw();
    }
    return framed(gameSession.timer());
}

std::pair<int32_t, int32_t> HeadlessGame::centreOf(Element& e) {
    return {e.getX() + e.getWidth() / 2, e.getY() + e.getHeight() / 2};
}

bool HeadlessGame::playSolution() {
    const std::vector<StickPlace> clicks = solutionClicks(board());
    const auto [taken, filled] = solutionChanges(board());
    if (clicks.size() != taken.size() + filled.size()) {
        return false;
    }
    for (const StickPlace& stick : clicks) {
        const StickLayers before = board().getCurrentSticks();
        auto [x, y] = kz::stickCentre(board(), stick);
        // Every accepted click changes the layout by one stick.
        if (!click(x, y) || board().getCurrentSticks() == before) {
            return false;
        }
    }
    return true;
}

}  // namespace kz
