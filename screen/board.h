#pragma once

#include <cstdint>
#include <vector>

#include "display/element.h"
#include "puzzle/puzzle_board.h"

namespace kz {

// The frame of a stick sprite: even frames are states, the next odd frame is the same state
// highlighted under the pointer.
enum StickFrame : int32_t {
    Present = 0,  // a start stick in place
    PresentHover = 1,
    Added = 2,  // a stick put where the start had none
    AddedHover = 3,
    Empty = 4,  // an empty slot that the start had empty too
    EmptyHover = 5,
    Removed = 6,  // a start stick taken away
    RemovedHover = 7,
};

// The matchstick field: one sprite per stick slot of the largest field, the click rules of
// the puzzle's mode, the move count and the solved test.
class Board : public Element, public PuzzleBoard {
  public:
    static constexpr ElementEvent MovesChanged = 1;
    static constexpr ElementEvent Solved = 2;

    Board(Element* newParent, int32_t newX, int32_t newY, Image* horizontalImage,
          Image* verticalImage, int32_t largestColumns, int32_t largestRows);

    // The size of a field of columns x rows cells for matchsticks of these frame sizes.
    static int32_t widthFor(int32_t columns, int32_t horizontalWidth, int32_t verticalWidth) {
        return columns * (horizontalWidth + verticalWidth) + verticalWidth;
    }
    static int32_t heightFor(int32_t rows, int32_t horizontalHeight, int32_t verticalHeight) {
        return rows * (horizontalHeight + verticalHeight) + horizontalHeight;
    }

    InputResult onMouse(uint32_t message, uint32_t wparam, int32_t px, int32_t py) override;

    // Give up: show the start against the solution and stop play.
    virtual void showSolution();
    // Show the start again and make it the current layout.
    virtual void restart();
    virtual void configure(Image* horizontalImage, Image* verticalImage, int32_t columns,
                           int32_t rows);
    // x, y relative to the Board; also records the orientation and index of a hit.
    virtual Element* hitTest(int32_t px, int32_t py);
    virtual bool hoverLeave();
    virtual bool hoverEnter(Element* stick);
    virtual bool click();
    virtual void setCurrentStick(uint8_t value);
    virtual void recountMoves();
    virtual void checkSolved();
    // Makes the layout the player's own, as undo and redo do: a stick in hand is put down,
    // only the sprites of slots that change take a new frame, and the Board then recounts and
    // tests for a win as after a click. Ignored unless a puzzle is being played.
    virtual void setLayout(const StickLayers& layout);

    Element* getHorizontalSprite(int32_t index) const {
        return horizontalSprites[static_cast<size_t>(index)];
    }
    Element* getVerticalSprite(int32_t index) const {
        return verticalSprites[static_cast<size_t>(index)];
    }
    Element* getSprite(StickSlot slot) const {
        return slot.orientation == Horizontal ? getHorizontalSprite(slot.index)
                                              : getVerticalSprite(slot.index);
    }
    Element* getHoveredStick() const { return hoveredStick; }
    StickOrientation getHoveredOrientation() const { return hoveredOrientation; }
    int32_t getHoveredIndex() const { return hoveredIndex; }
    int32_t getHomeX() const { return homeX; }
    int32_t getHomeY() const { return homeY; }

  protected:
    void resetPlayState() override;
    void showPuzzle() override;

  private:
    // The highlight rule of the mode for a stick showing the given state frame.
    bool mayHighlight(int32_t stateFrame) const;

    int32_t homeX = 0;
    int32_t homeY = 0;
    std::vector<Element*> horizontalSprites;
    std::vector<Element*> verticalSprites;
    Element* hoveredStick = nullptr;
    StickOrientation hoveredOrientation = static_cast<StickOrientation>(0);
    int32_t hoveredIndex = -1;
};

}  // namespace kz
