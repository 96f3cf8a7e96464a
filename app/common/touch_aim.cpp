#include "app/common/touch_aim.h"

#include <cstdint>
#include <limits>

#include "screen/board.h"

namespace kz {
namespace {

Rect rectOf(Element& e) {
    return {e.getX(), e.getY(), e.getX() + e.getWidth(), e.getY() + e.getHeight()};
}

Point centreOf(const Rect& r) {
    return {r.left + r.width() / 2, r.top + r.height() / 2};
}

bool inside(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

int64_t squaredDistance(Point a, Point b) {
    const int64_t dx = a.x - b.x;
    const int64_t dy = a.y - b.y;
    return dx * dx + dy * dy;
}

// The slot sprites of the active field, in the screen's coordinates.
std::vector<Rect> activeSticks(Board& board) {
    std::vector<Rect> sticks;
    const SlotGrid grid = board.slotGrid();
    for (int32_t i = 0; i < grid.horizontalSlots(); ++i) {
        if (board.isActiveHorizontal(i)) {
            sticks.push_back(
                rectOf(*board.getHorizontalSprite(i)).translated(board.getX(), board.getY()));
        }
    }
    for (int32_t i = 0; i < grid.verticalSlots(); ++i) {
        if (board.isActiveVertical(i)) {
            sticks.push_back(
                rectOf(*board.getVerticalSprite(i)).translated(board.getX(), board.getY()));
        }
    }
    return sticks;
}

// The floor of numerator / 4, for numerators of either sign.
int32_t quartersDown(int32_t quarters) {
    return quarters >= 0 ? quarters / 4 : -((-quarters + 3) / 4);
}

}  // namespace

Rect TouchAim::fieldArea() const {
    Board& board = *screen.getBoard();
    Element& horizontal = *board.getHorizontalSprite(0);
    Element& vertical = *board.getVerticalSprite(0);
    // A horizontal stick and its vertical neighbours lie half a pitch apart both ways, so
    // each stick's own area reaches a quarter pitch from its centre in every direction.
    const int32_t pitchX = horizontal.getWidth() + vertical.getWidth();
    const int32_t pitchY = horizontal.getHeight() + vertical.getHeight();
    const int32_t width =
        Board::widthFor(board.getActiveColumns(), horizontal.getWidth(), vertical.getWidth());
    const int32_t height =
        Board::heightFor(board.getActiveRows(), horizontal.getHeight(), vertical.getHeight());
    // The Board keeps the active field in its top-left corner, wherever it has moved. The
    // outermost sticks' centres, in quarters of a pixel: a sprite's centre lies between
    // pixels when its size is even, in a pixel's middle when odd.
    const int32_t left4 = 4 * board.getX() + 2 * vertical.getWidth();
    const int32_t top4 = 4 * board.getY() + 2 * horizontal.getHeight();
    const int32_t right4 = left4 + 4 * (width - vertical.getWidth());
    const int32_t bottom4 = top4 + 4 * (height - horizontal.getHeight());
    // The area reaches exactly a quarter pitch past them (23.75 pixels for a pitch of 95),
    // every pixel that holds a point of it included, so a touch that far out still counts.
    return {quartersDown(left4 - pitchX), quartersDown(top4 - pitchY),
            quartersDown(right4 + pitchX) + 1, quartersDown(bottom4 + pitchY) + 1};
}

std::vector<Rect> TouchAim::layoutAreas() const {
    return {fieldArea(), rectOf(*screen.getInstructionsPanel()), rectOf(*screen.getMovesPanel()),
            rectOf(*screen.getTimePanel()), rectOf(*screen.getControlsPanel())};
}

Point TouchAim::aim(Point at) const {
    std::vector<Rect> places;
    if (inside(fieldArea(), at)) {
        places = activeSticks(*screen.getBoard());
    } else if (inside(rectOf(*screen.getControlsPanel()), at)) {
        for (Button* b : {screen.getRestartButton(), screen.getGiveUpButton(),
                          screen.getQuitButton(), screen.getNextButton()}) {
            if (b->isVisible()) {
                places.push_back(rectOf(*b));
            }
        }
    }
    Point aimed = at;
    int64_t nearest = std::numeric_limits<int64_t>::max();
    for (const Rect& place : places) {
        const int64_t distance = squaredDistance(centreOf(place), at);
        if (distance < nearest) {
            nearest = distance;
            aimed = centreOf(place);
        }
    }
    return aimed;
}

}  // namespace kz
