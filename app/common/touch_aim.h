#pragma once

#include <vector>

#include "display/rect.h"
#include "screen/game_screen.h"

namespace kz {

// Where a finger or a pen aims on the game screen. A fingertip covers several sticks and the
// gaps between them, so a touch is taken as meant for the nearest place it can be: inside the
// field's touch area, the centre of the nearest stick slot of the active field; on the
// Controls panel, the centre of the nearest button shown. Anywhere else the point stands as
// it is. The mouse keeps the exact hit areas; only touch and pen go through here.
class TouchAim {
  public:
    explicit TouchAim(GameScreen& gameScreen) : screen(gameScreen) {}

    // A point in the screen's coordinates, aimed.
    Point aim(Point at) const;

    // The active field's sticks with a margin of half the space a stick has to either side
    // of its centre, so the outermost sticks' touch targets are as large as the inner ones'.
    Rect fieldArea() const;
    // The areas a page lays out on a small screen: the field's touch area, then the four
    // panels from top to bottom.
    std::vector<Rect> layoutAreas() const;

  private:
    GameScreen& screen;
};

}  // namespace kz
