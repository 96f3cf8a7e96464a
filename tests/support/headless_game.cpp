#include "tests/support/headless_game.h"

#include "display/messages.h"
#include "tests/support/resource_files.h"

namespace kz {

HeadlessGame::HeadlessGame(const std::string& sourceRoot, const GameSettings& settings)
    : softwareDisplay(0, 0, sourceTreeResolver(sourceRoot)),
      previousDisplay(activeDisplay()),
      gameSession(softwareDisplay, recordingHost, recordingShell, settings) {
    softwareDisplay.resetTarget(gameSession.width(), gameSession.height());
}

HeadlessGame::~HeadlessGame() {
    setActiveDisplay(previousDisplay);
}

bool HeadlessGame::moveTo(int32_t x, int32_t y, bool leftHeld) {
    return mouse(msg::MouseMove, leftHeld ? mouseflag::LeftButton : 0, x, y);
}

bool HeadlessGame::click(int32_t x, int32_t y) {
    return moveTo(x, y) && mouse(msg::LeftButtonDown, mouseflag::LeftButton, x, y) &&
           mouse(msg::LeftButtonUp, 0, x, y);
}

bool HeadlessGame::tick() {
    if (!recordingHost.timerRunning()) {
        return redraw();
    }
    return gameSession.timer();
}

std::pair<int32_t, int32_t> HeadlessGame::centreOf(Element& e) {
    return {e.getX() + e.getWidth() / 2, e.getY() + e.getHeight() / 2};
}

std::pair<int32_t, int32_t> HeadlessGame::stickCentre(StickOrientation orientation, int32_t index) {
    Board& b = board();
    Element* sprite =
        orientation == Horizontal ? b.getHorizontalSprite(index) : b.getVerticalSprite(index);
    return {b.getX() + sprite->getX() + sprite->getWidth() / 2,
            b.getY() + sprite->getY() + sprite->getHeight() / 2};
}

HeadlessGame::SolutionChanges HeadlessGame::solutionChanges() {
    const StickLayers& start = board().getStartSticks();
    const StickLayers& solution = board().getSolutionSticks();
    SolutionChanges changes;
    for (size_t i = 0; i < start.horizontal.size(); ++i) {
        if (start.horizontal[i] != solution.horizontal[i]) {
            (start.horizontal[i] != 0 ? changes.taken : changes.filled)
                .emplace_back(Horizontal, static_cast<int32_t>(i));
        }
    }
    for (size_t i = 0; i < start.vertical.size(); ++i) {
        if (start.vertical[i] != solution.vertical[i]) {
            (start.vertical[i] != 0 ? changes.taken : changes.filled)
                .emplace_back(Vertical, static_cast<int32_t>(i));
        }
    }
    return changes;
}

bool HeadlessGame::playSolution() {
    Board& b = board();
    const auto [taken, filled] = solutionChanges();
    const auto clickStick = [this](std::pair<StickOrientation, int32_t> stick) {
        const StickLayers before = board().getCurrentSticks();
        auto [x, y] = stickCentre(stick.first, stick.second);
        // Every accepted click changes the layout by one stick.
        return click(x, y) && !(board().getCurrentSticks() == before);
    };
    if (b.getMode() == Move) {
        if (taken.size() != filled.size()) {
            return false;
        }
        for (size_t i = 0; i < taken.size(); ++i) {
            if (!clickStick(taken[i]) || !clickStick(filled[i])) {
                return false;
            }
        }
        return true;
    }
    for (const auto& stick : taken) {
        if (!clickStick(stick)) {
            return false;
        }
    }
    for (const auto& stick : filled) {
        if (!clickStick(stick)) {
            return false;
        }
    }
    return true;
}

}  // namespace kz
