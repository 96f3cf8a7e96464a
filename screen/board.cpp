#include "screen/board.h"

#include <ctime>
#include <memory>

#include "display/messages.h"
#include "puzzle/move_rules.h"

namespace kz {

namespace {

// The frame a sprite shows for a stick of the start and of another layout.
StickFrame frameFor(uint8_t inStart, uint8_t inOther) {
    if (inStart != 0) {
        return inOther != 0 ? Present : Removed;
    }
    return inOther != 0 ? Added : Empty;
}

// What a state frame shows: a stick of the start, and a stick there now.
bool inStartFrame(int32_t stateFrame) {
    return stateFrame == Present || stateFrame == Removed;
}
bool presentFrame(int32_t stateFrame) {
    return stateFrame == Present || stateFrame == Added;
}

}  // namespace

Board::Board(Element* newParent, int32_t newX, int32_t newY, Image* horizontalImage,
             Image* verticalImage, int32_t largestColumns, int32_t largestRows)
    : Element(newParent, newX, newY, nullptr) {
    configure(horizontalImage, verticalImage, largestColumns, largestRows);
}

void Board::configure(Image* horizontalImage, Image* verticalImage, int32_t columns, int32_t rows) {
    randomSource().seed(static_cast<uint32_t>(std::time(nullptr)));
    fieldSize = 0;
    actionType = Mixed;
    homeX = x;
    homeY = y;
    configureField(columns, rows);
    horizontalSprites.assign(static_cast<size_t>(horizontalCount()), nullptr);
    verticalSprites.assign(static_cast<size_t>(verticalCount()), nullptr);
    hoveredStick = nullptr;
    hoveredOrientation = static_cast<StickOrientation>(0);
    hoveredIndex = -1;
    active = false;
    stickInHand = false;

    const int32_t hw = horizontalImage->getFrameWidth();
    const int32_t hh = horizontalImage->getFrameHeight();
    const int32_t vw = verticalImage->getFrameWidth();
    const int32_t vh = verticalImage->getFrameHeight();
    deleteChildren();
    const SlotGrid grid = slotGrid();
    for (int32_t j = 0; j < horizontalCount(); ++j) {
        const SpritePosition at = grid.spritePosition({Horizontal, j}, hw, hh, vw, vh);
        horizontalSprites[static_cast<size_t>(j)] =
            addChild(std::make_unique<Element>(this, at.x, at.y, horizontalImage));
    }
    for (int32_t k = 0; k < verticalCount(); ++k) {
        const SpritePosition at = grid.spritePosition({Vertical, k}, hw, hh, vw, vh);
        verticalSprites[static_cast<size_t>(k)] =
            addChild(std::make_unique<Element>(this, at.x, at.y, verticalImage));
    }
    width = widthFor(columns, hw, vw);
    height = heightFor(rows, hh, vh);
    mouseEnabled = true;
}

void Board::resetPlayState() {
    PuzzleBoard::resetPlayState();
    hoveredStick = nullptr;
}

void Board::showPuzzle() {
    Element* h0 = horizontalSprites[0];
    Element* v0 = verticalSprites[0];
    const int32_t hw = h0->getWidth();
    const int32_t hh = h0->getHeight();
    const int32_t vw = v0->getWidth();
    const int32_t vh = v0->getHeight();
    const int32_t activeWidth = widthFor(activeColumns, hw, vw);
    const int32_t activeHeight = heightFor(activeRows, hh, vh);
    moveTo(homeX + (width - activeWidth) / 2, homeY + (height - activeHeight) / 2);
    for (int32_t i = 0; i < horizontalCount(); ++i) {
        horizontalSprites[static_cast<size_t>(i)]->setVisible(isActiveHorizontal(i));
    }
    for (int32_t i = 0; i < verticalCount(); ++i) {
        verticalSprites[static_cast<size_t>(i)]->setVisible(isActiveVertical(i));
    }
    restart();
}

void Board::restart() {
    for (int32_t i = 0; i < horizontalCount(); ++i) {
        const uint8_t present = startSticks.horizontal[static_cast<size_t>(i)] != 0 ? 1 : 0;
        horizontalSprites[static_cast<size_t>(i)]->setFrame(present ? Present : Empty);
        currentSticks.horizontal[static_cast<size_t>(i)] = present;
    }
    for (int32_t i = 0; i < verticalCount(); ++i) {
        const uint8_t present = startSticks.vertical[static_cast<size_t>(i)] != 0 ? 1 : 0;
        verticalSprites[static_cast<size_t>(i)]->setFrame(present ? Present : Empty);
        currentSticks.vertical[static_cast<size_t>(i)] = present;
    }
    stickInHand = false;
    // Every frame was just reset, the highlighted one included; forgetting it keeps a later
    // un-highlight from stepping a plain frame back into the wrong state.
    hoveredStick = nullptr;
}

void Board::showSolution() {
    active = false;
    for (int32_t i = 0; i < horizontalCount(); ++i) {
        const size_t s = static_cast<size_t>(i);
        horizontalSprites[s]->setFrame(
            frameFor(startSticks.horizontal[s], solutionSticks.horizontal[s]));
    }
    for (int32_t i = 0; i < verticalCount(); ++i) {
        const size_t s = static_cast<size_t>(i);
        verticalSprites[s]->setFrame(frameFor(startSticks.vertical[s], solutionSticks.vertical[s]));
    }
    hoveredStick = nullptr;
}

Element* Board::hitTest(int32_t px, int32_t py) {
    const int32_t hw = horizontalSprites[0]->getWidth();
    const int32_t hh = horizontalSprites[0]->getHeight();
    const int32_t vw = verticalSprites[0]->getWidth();
    const int32_t vh = verticalSprites[0]->getHeight();
    const int32_t pitchX = vw + hw;
    const int32_t pitchY = vh + hh;
    if (px < 0 || py < 0) {
        return nullptr;
    }
    const int32_t col = px / pitchX;
    const int32_t row = py / pitchY;
    if (col > activeColumns || row > activeRows) {
        return nullptr;
    }
    const int32_t rx = px - col * pitchX;
    const int32_t ry = py - row * pitchY;
    if (rx >= vw && ry < hh) {
        if (col >= activeColumns) {
            return nullptr;
        }
        hoveredOrientation = Horizontal;
        hoveredIndex = slotGrid().horizontalIndex(col, row);
        return horizontalSprites[static_cast<size_t>(hoveredIndex)];
    }
    if (rx < vw && ry >= hh) {
        if (row >= activeRows) {
            return nullptr;
        }
        hoveredOrientation = Vertical;
        hoveredIndex = slotGrid().verticalIndex(col, row);
        return verticalSprites[static_cast<size_t>(hoveredIndex)];
    }
    return nullptr;
}

InputResult Board::onMouse(uint32_t message, uint32_t /*wparam*/, int32_t px, int32_t py) {
    if (!visible || !mouseEnabled || !active) {
        return InputIgnored;
    }
    const int32_t localX = px - x;
    const int32_t localY = py - y;
    switch (message) {
        case msg::MouseMove: {
            Element* stick = hitTest(localX, localY);
            if (stick == hoveredStick) {
                return InputIgnored;
            }
            if (stick != nullptr) {
                hoverLeave();
                return hoverEnter(stick) ? InputHandled : InputIgnored;
            }
            return hoverLeave() ? InputHandled : InputIgnored;
        }
        case msg::LeftButtonDown:
            if (click()) {
                recountMoves();
                checkSolved();
                return InputConsumed;
            }
            return InputIgnored;
        default:
            return InputIgnored;
    }
}

bool Board::hoverLeave() {
    if (hoveredStick == nullptr) {
        return false;
    }
    hoveredStick->setFrame(hoveredStick->getFrame() - 1);
    hoveredStick = nullptr;
    return true;
}

bool Board::mayHighlight(int32_t stateFrame) const {
    return takesClick(mode, stickInHand, inStartFrame(stateFrame), presentFrame(stateFrame));
}

bool Board::hoverEnter(Element* stick) {
    const int32_t f = stick->getFrame();
    if (!mayHighlight(f)) {
        return false;
    }
    hoveredStick = stick;
    stick->setFrame(f + 1);
    return true;
}

bool Board::click() {
    if (hoveredStick == nullptr) {
        return false;
    }
    const int32_t f = hoveredStick->getFrame();
    // Only a highlighted stick takes a click, and only as the mode's rules let it.
    if ((f & 1) == 0 || !mayHighlight(f - 1)) {
        return false;
    }
    const uint8_t value = presentFrame(f - 1) ? 0 : 1;
    hoveredStick->setFrame(frameFor(inStartFrame(f - 1) ? 1 : 0, value) + 1);
    setCurrentStick(value);
    stickInHand = stickInHandAfterClick(mode, stickInHand);
    return true;
}

void Board::setCurrentStick(uint8_t value) {
    if (hoveredOrientation == Horizontal) {
        currentSticks.horizontal[static_cast<size_t>(hoveredIndex)] = value;
    } else {
        currentSticks.vertical[static_cast<size_t>(hoveredIndex)] = value;
    }
}

void Board::recountMoves() {
    movesMade = movesFromStart(currentSticks);
    if (parent != nullptr) {
        parent->onChildEvent(this, MovesChanged);
    }
}

void Board::checkSolved() {
    if (stickInHand || movesMade != requiredMoves || !formsTargetSquares(currentSticks)) {
        return;
    }
    hoverLeave();
    active = false;
    if (parent != nullptr) {
        parent->onChildEvent(this, Solved);
    }
}

void Board::setLayout(const StickLayers& layout) {
    if (!active) {
        return;
    }
    stickInHand = false;
    const auto follow = [this](Element* sprite, uint8_t inStart, uint8_t& current, uint8_t wanted) {
        const uint8_t present = wanted != 0 ? 1 : 0;
        if (current == present) {
            return;
        }
        current = present;
        const int32_t state = frameFor(inStart, present);
        if (sprite != hoveredStick) {
            sprite->setFrame(state);
        } else if (mayHighlight(state)) {
            sprite->setFrame(state + 1);
        } else {
            sprite->setFrame(state);
            hoveredStick = nullptr;
        }
    };
    for (int32_t i = 0; i < horizontalCount(); ++i) {
        const size_t s = static_cast<size_t>(i);
        if (isActiveHorizontal(i)) {
            follow(horizontalSprites[s], startSticks.horizontal[s], currentSticks.horizontal[s],
                   layout.horizontal[s]);
        }
    }
    for (int32_t i = 0; i < verticalCount(); ++i) {
        const size_t s = static_cast<size_t>(i);
        if (isActiveVertical(i)) {
            follow(verticalSprites[s], startSticks.vertical[s], currentSticks.vertical[s],
                   layout.vertical[s]);
        }
    }
    // With the stick put down the highlight rule may have turned against a hovered stick
    // that kept its state.
    if (hoveredStick != nullptr && !mayHighlight(hoveredStick->getFrame() - 1)) {
        hoverLeave();
    }
    recountMoves();
    checkSolved();
}

}  // namespace kz
