#include "app/common/touch_aim.h"

#include <cstdint>
#include <limits>

#include "puzzle/board.h"

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
    const int32_t horizontalCount = board.getMaxColumns() * (board.getMaxRows() + 1);
    const int32_t verticalCount = (board.getMaxColumns() + 1) * board.getMaxRows();
    for (int32_t i = 0; i < horizontalCount; ++i) {
        if (board.isActiveHorizontal(i)) {
            sticks.push_back(
                rectOf(*board.getHorizontalSprite(i)).translated(board.getX(), board.getY()));
        }
    }
    for (int32_t i = 0; i < verticalCount; ++i) {
        if (board.isActiveVertical(i)) {
            sticks.push_back(
                rectOf(*board.getVerticalSprite(i)).translated(board.getX(), board.getY()));
        }
    }
    return sticks;
}

}  // namespace

Rect TouchAim::fieldArea() const {
    Board& board = *screen.getBoard();
    Element& horizontal = *board.getHorizontalSprite(0);
    Element& vertical = *board.getVerticalSprite(0);
    // A horizontal stick and its vertical neighbours lie half a pitch apart both ways, so
    // each stick's own area reaches a quarter pitch from its centre in every direction.
    const int32_t quarterPitch = (horizontal.getWidth() + vertical.getWidth()) / 4;
    const int32_t columns = board.getActiveColumns();
    const int32_t rows = board.getActiveRows();
    const int32_t width = Board::widthFor(columns, horizontal.getWidth(), vertical.getWidth());
    const int32_t height = Board::heightFor(rows, horizontal.getHeight(), vertical.getHeight());
    // The Board keeps the active field in its top-left corner, wherever it has moved. The
    // area reaches a quarter pitch past the outermost centres, both ends included.
    const int32_t left = board.getX() + vertical.getWidth() / 2 - quarterPitch;
    const int32_t top = board.getY() + horizontal.getHeight() / 2 - quarterPitch;
    return {left, top, left + width - vertical.getWidth() + 2 * quarterPitch + 1,
            top + height - horizontal.getHeight() + 2 * quarterPitch + 1};
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
