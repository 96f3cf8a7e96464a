#pragma once

#include <cstdint>

#include "puzzle/field_model.h"
#include "puzzle/puzzle_origin.h"
#include "puzzle/random_source.h"
#include "puzzle/slot_grid.h"

namespace kz {

// The puzzle side of the Board: the field model, the square operations and the generator.
// It knows nothing of the display; the Board element derives from it and adds the sprites.
class PuzzleBoard {
  public:
    PuzzleBoard() = default;
    virtual ~PuzzleBoard() = default;
    PuzzleBoard(const PuzzleBoard&) = delete;
    PuzzleBoard& operator=(const PuzzleBoard&) = delete;

    virtual void setFieldSize(FieldSize size) { fieldSize = size; }
    virtual FieldSize getFieldSize() { return fieldSize; }
    virtual void setActionType(ActionType type) { actionType = type; }
    virtual ActionType getActionType() { return actionType; }
    virtual BoardMode getMode() { return mode; }
    virtual int32_t getRequiredMoves() { return requiredMoves; }
    virtual int32_t getTargetSquares() { return targetSquares; }
    virtual int32_t getMovesMade() { return movesMade; }

    // Generates a new puzzle from the two settings and shows its start layout.
    virtual void newPuzzle();

    virtual int32_t pickRandomSquares(uint8_t* squares, uint8_t* horizontal, uint8_t* vertical);
    // Whether a pick takes a square of side n, by its draw, on a field whose longer side is
    // largeSide: about one time in 2 x (largeSide - n + 1).
    static bool picksSquare(int32_t draw, int32_t largeSide, int32_t n) {
        return draw * (largeSide - n + 1) * 2 < kRandomRange;
    }
    virtual void addRandomSquares(uint8_t* squares, uint8_t* horizontal, uint8_t* vertical);
    virtual void squaresToSticks(const uint8_t* squares, uint8_t* horizontal, uint8_t* vertical);
    virtual void markSquare(int32_t x, int32_t y, int32_t n, uint8_t* horizontal,
                            uint8_t* vertical);
    virtual int32_t countSticks(const uint8_t* horizontal, const uint8_t* vertical);
    virtual int32_t countDifferences(const uint8_t* firstHorizontal, const uint8_t* firstVertical,
                                     const uint8_t* secondHorizontal,
                                     const uint8_t* secondVertical);
    // squares may be null; when given, every entry is written.
    virtual int32_t findSquares(const uint8_t* horizontal, const uint8_t* vertical,
                                uint8_t* squares);
    virtual bool isSquareComplete(int32_t x, int32_t y, int32_t n, const uint8_t* horizontal,
                                  const uint8_t* vertical);

    // Read access for the element side, the tests and the tools.
    int32_t getMaxColumns() const { return maxColumns; }
    int32_t getMaxRows() const { return maxRows; }
    int32_t getActiveColumns() const { return activeColumns; }
    int32_t getActiveRows() const { return activeRows; }
    int32_t getSquareCount() const { return squareCount; }
    // How the slots of the largest field are numbered.
    SlotGrid slotGrid() const { return {maxColumns, maxRows}; }
    bool isActive() const { return active; }
    bool isStickInHand() const { return stickInHand; }
    const StickLayers& getStartSticks() const { return startSticks; }
    const StickLayers& getSolutionSticks() const { return solutionSticks; }
    const StickLayers& getCurrentSticks() const { return currentSticks; }

    // True when a stick slot belongs to the active field.
    bool isActiveHorizontal(int32_t index) const;
    bool isActiveVertical(int32_t index) const;

    // The moves a layout stands away from the start: changed sticks, or pairs of them when
    // moving (a stick still in hand is not yet a move).
    int32_t movesFromStart(const StickLayers& layout);
    // The layout shows exactly targetSquares complete squares and every stick lies on one.
    bool formsTargetSquares(const StickLayers& layout);

    // Builds and shows the puzzle of an origin, as newPuzzle built it, whatever the two
    // settings are now; they stay as they are. The random source is left where it was, so
    // the player's own puzzles go on as if this one had not been played. An origin the
    // board cannot build changes nothing and gives false.
    bool newPuzzleFrom(const PuzzleOrigin& from);
    // A playable origin whose field fits the largest field.
    bool canBuild(const PuzzleOrigin& from) const {
        return isPlayableOrigin(from) && from.columns <= maxColumns && from.rows <= maxRows;
    }
    // What the current puzzle was built from; not playable before the first puzzle.
    const PuzzleOrigin& getOrigin() const { return origin; }
    // What newPuzzle draws from: the board's own, so two boards never draw from each other.
    RandomSource& randomSource() { return random; }
    const RandomSource& randomSource() const { return random; }

    // Sizes every array for the largest field; the field starts as large as that.
    void configureField(int32_t maxColumns, int32_t maxRows);

    // Every draw formula relies on next() being below this bound: the pick and add chances
    // are fractions of it.
    static constexpr int32_t kRandomRange = 32767;

  protected:
    // First step of newPuzzle; the element side also drops its highlight here.
    virtual void resetPlayState();
    // Last step of newPuzzle; the element side centres the field and updates its sprites.
    virtual void showPuzzle();

    int32_t horizontalCount() const { return slotGrid().horizontalSlots(); }
    int32_t verticalCount() const { return slotGrid().verticalSlots(); }
    int32_t fullStickCount() const { return SlotGrid(activeColumns, activeRows).slotCount(); }

    int32_t maxColumns = 0;
    int32_t maxRows = 0;
    FieldSize fieldSize = 0;
    ActionType actionType = Mixed;
    int32_t activeColumns = 0;
    int32_t activeRows = 0;
    int32_t smallSide = 0;
    int32_t largeSide = 0;
    int32_t squareCount = 0;
    StickLayers startSticks;
    StickLayers solutionSticks;
    StickLayers currentSticks;
    BoardMode mode = Add;
    int32_t requiredMoves = 0;
    int32_t targetSquares = 0;
    int32_t movesMade = 0;
    bool active = false;
    bool stickInHand = false;

  private:
    void chooseFieldSize();
    // The steps of newPuzzle after the field and the kind are known.
    void buildPuzzle(int32_t kind);
    void buildLayouts(int32_t kind, uint8_t* squares);
    void pickInto(uint8_t* squares, StickLayers& layout) {
        pickRandomSquares(squares, layout.horizontal.data(), layout.vertical.data());
    }
    // Picks into the layout until at most half of the possible squares are complete; the list
    // then holds exactly the complete squares.
    void pickAtMostHalfComplete(uint8_t* squares, StickLayers& layout);
    int32_t sticksIn(StickLayers& layout) {
        return countSticks(layout.horizontal.data(), layout.vertical.data());
    }
    int32_t squaresIn(StickLayers& layout, uint8_t* squares) {
        return findSquares(layout.horizontal.data(), layout.vertical.data(), squares);
    }

    PuzzleOrigin origin{0, 0, 0, AddFromNone};
    RandomSource random;
};

}  // namespace kz
