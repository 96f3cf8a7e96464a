#include "app/common/keyboard_focus.h"

#include <algorithm>
#include <memory>

#include "display/messages.h"
#include "screen/board.h"

namespace kz {

KeyboardFocus::KeyboardFocus(GameScreen& gameScreen, Narrator& gameNarrator, Display& display)
    : screen(gameScreen), narrator(gameNarrator) {
    unplacedFrame = std::make_unique<FocusFrame>(&screen, kFocusThickness, kFocusColour, &display);
    frame = unplacedFrame.get();
    focus.button = screen.getNextButton();
}

void KeyboardFocus::placeOnScreen() {
    if (unplacedFrame) {
        screen.addTopChild(std::move(unplacedFrame));
    }
}

KeyboardFocus::~KeyboardFocus() {
    frame->hide();
}

bool KeyboardFocus::puzzleShown() const {
    return isPlayableOrigin(board().getOrigin());
}

bool KeyboardFocus::isTarget(const Target& target) const {
    if (target.onStick) {
        return puzzleShown() && board().slotGrid().inField(target.stick, board().getActiveColumns(),
                                                           board().getActiveRows());
    }
    return target.button != nullptr && target.button->isVisible();
}

KeyboardFocus::Target KeyboardFocus::boardEntry() const {
    Target target{true, lastStick.value_or(StickSlot{Horizontal, 0}), nullptr};
    if (!isTarget(target)) {
        target.stick = StickSlot{Horizontal, 0};  // the top-left stick of every field
    }
    return target;
}

void KeyboardFocus::keepValid() {
    if (isTarget(focus)) {
        return;
    }
    // Next after a game starts, Restart or Give Up after it ends: the field while playing,
    // Next between games, never Quit.
    if (puzzleShown() && board().isActive()) {
        focus = boardEntry();
    } else {
        focus = Target{false, {}, screen.getNextButton()};
    }
}

Rect KeyboardFocus::targetRect(const Target& target) const {
    if (target.onStick) {
        Element* sprite = board().getSprite(target.stick);
        const int32_t left = board().getX() + sprite->getX();
        const int32_t top = board().getY() + sprite->getY();
        return {left, top, left + sprite->getWidth(), top + sprite->getHeight()};
    }
    Button* b = target.button;
    return {b->getX(), b->getY(), b->getX() + b->getWidth(), b->getY() + b->getHeight()};
}

std::vector<KeyboardFocus::Target> KeyboardFocus::targets() const {
    std::vector<Target> reachable;
    for (Button* b : {screen.getRestartButton(), screen.getQuitButton(), screen.getGiveUpButton(),
                      screen.getNextButton()}) {
        if (b->isVisible()) {
            reachable.push_back(Target{false, {}, b});
        }
    }
    if (!puzzleShown()) {
        return reachable;
    }
    const SlotGrid grid = board().slotGrid();
    const int32_t columns = board().getActiveColumns();
    const int32_t rows = board().getActiveRows();
    // Rows of horizontal and rows of vertical sticks take turns, as the arrows go.
    for (int32_t row = 0; row <= rows; ++row) {
        for (int32_t column = 0; column < columns; ++column) {
            reachable.push_back(Target{true, grid.slotAt({Horizontal, column, row}), nullptr});
        }
        for (int32_t column = 0; row < rows && column <= columns; ++column) {
            reachable.push_back(Target{true, grid.slotAt({Vertical, column, row}), nullptr});
        }
    }
    return reachable;
}

FocusPlaces KeyboardFocus::places() const {
    FocusPlaces all;
    const std::vector<Target> reachable = targets();
    all.focused = reachable.size();
    all.places.reserve(reachable.size());
    for (const Target& target : reachable) {
        if (target == focus) {
            all.focused = all.places.size();
        }
        FocusPlace place;
        place.isStick = target.onStick;
        place.area = targetRect(target);
        if (target.onStick) {
            place.name = narrator.stickLabel(target.stick);
            const int32_t state = board().getSprite(target.stick)->getFrame() & ~1;
            place.holdsMatch = state == Present || state == Added;
        } else {
            place.name = narrator.buttonLabel(target.button);
        }
        all.places.push_back(std::move(place));
    }
    return all;
}

void KeyboardFocus::setFocus(const Target& target) {
    focus = target;
    if (focus.onStick) {
        lastStick = focus.stick;
    }
    keepValid();
    place();
}

void KeyboardFocus::follow() {
    keepValid();
    place();
}

void KeyboardFocus::place() {
    if (frame->isShown()) {
        keepValid();
        frame->surround(targetRect(focus));
    }
}

void KeyboardFocus::pointAt(const Target& target) {
    const Rect r = targetRect(target);
    screen.onMouse(msg::MouseMove, 0, r.left + r.width() / 2, r.top + r.height() / 2);
}

bool KeyboardFocus::pointerUsed(uint32_t message, int32_t x, int32_t y) {
    const bool press = message == msg::LeftButtonDown || message == msg::RightButtonDown ||
                       message == msg::MiddleButtonDown || message == msg::LeftButtonDoubleClick ||
                       message == msg::RightButtonDoubleClick ||
                       message == msg::MiddleButtonDoubleClick;
    // Window systems repeat the pointer's place now and then without a move of the mouse.
    const bool moved = message == msg::MouseMove && lastPointer != Point{x, y};
    lastPointer = Point{x, y};
    if (press || moved) {
        frame->hide();
    }
    return press;
}

std::optional<KeyboardFocus::Target> KeyboardFocus::stickNeighbour(StickSlot from,
                                                                   Direction direction) const {
    const SlotGrid grid = board().slotGrid();
    const int32_t columns = board().getActiveColumns();
    const int32_t rows = board().getActiveRows();
    const auto at = [&](StickOrientation orientation, int32_t x, int32_t y) {
        return std::optional<Target>(Target{true, grid.slotAt({orientation, x, y}), nullptr});
    };
    // Rows of horizontal and rows of vertical sticks take turns down the field; up and down
    // go to the neighbouring row, left and right along the row.
    const SlotPlace place = grid.placeOf(from);
    const int32_t x = place.column;
    const int32_t y = place.row;
    if (from.orientation == Horizontal) {
        switch (direction) {
            case GoRight:
                return x + 1 < columns ? at(Horizontal, x + 1, y) : std::nullopt;
            case GoLeft:
                return x >= 1 ? at(Horizontal, x - 1, y) : std::nullopt;
            case GoDown:
                return y < rows ? at(Vertical, x, y) : std::nullopt;
            case GoUp:
                return y >= 1 ? at(Vertical, x, y - 1) : std::nullopt;
        }
    }
    const int32_t below = std::min(x, columns - 1);
    switch (direction) {
        case GoRight:
            return x + 1 <= columns ? at(Vertical, x + 1, y) : std::nullopt;
        case GoLeft:
            return x >= 1 ? at(Vertical, x - 1, y) : std::nullopt;
        case GoDown:
            return y + 1 <= rows ? at(Horizontal, below, y + 1) : std::nullopt;
        case GoUp:
            return at(Horizontal, below, y);
    }
    return std::nullopt;
}

KeyboardFocus::Target KeyboardFocus::buttonNeighbour(Direction direction) const {
    Button* leftButton =
        screen.getRestartButton()->isVisible() ? screen.getRestartButton() : screen.getQuitButton();
    Button* rightButton =
        screen.getGiveUpButton()->isVisible() ? screen.getGiveUpButton() : screen.getNextButton();
    if (focus.onStick) {
        // Off the field's left edge: the buttons.
        return direction == GoLeft ? Target{false, {}, rightButton} : focus;
    }
    if (direction == GoLeft && focus.button == rightButton) {
        return Target{false, {}, leftButton};
    }
    if (direction == GoRight && focus.button == leftButton) {
        return Target{false, {}, rightButton};
    }
    if (direction == GoRight && puzzleShown()) {
        return boardEntry();
    }
    return focus;
}

void KeyboardFocus::move(Direction direction) {
    keepValid();
    if (frame->isShown()) {
        const std::optional<Target> neighbour =
            focus.onStick ? stickNeighbour(focus.stick, direction) : std::nullopt;
        focus = neighbour ? *neighbour : buttonNeighbour(direction);
        if (focus.onStick) {
            lastStick = focus.stick;
        }
    }
    frame->surround(targetRect(focus));
    pointAt(focus);
    announce();
}

void KeyboardFocus::activate() {
    keepValid();
    const Target target = focus;
    frame->surround(targetRect(target));
    const bool wasPlaying = board().isActive();
    const StickLayers before = board().getCurrentSticks();
    const bool inHandBefore = board().isStickInHand();
    const Rect r = targetRect(target);
    const int32_t cx = r.left + r.width() / 2;
    const int32_t cy = r.top + r.height() / 2;
    // What the mouse would do there: hover, press, release. The Board and the buttons apply
    // their own rules.
    screen.onMouse(msg::MouseMove, 0, cx, cy);
    screen.onMouse(msg::LeftButtonDown, mouseflag::LeftButton, cx, cy);
    screen.onMouse(msg::LeftButtonUp, 0, cx, cy);
    if (target.onStick && wasPlaying && board().getCurrentSticks() == before &&
        board().isStickInHand() == inHandBefore) {
        narrator.cannotChange();
    }
    follow();
    if (!(focus == target)) {
        announce();
    }
}

void KeyboardFocus::announce() {
    if (focus.onStick) {
        narrator.stick(focus.stick);
    } else {
        narrator.button(focus.button);
    }
}

}  // namespace kz
