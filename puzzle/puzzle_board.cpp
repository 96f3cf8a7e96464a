#include "puzzle/puzzle_board.h"

#include <algorithm>

#include "puzzle/move_rules.h"

namespace kz {

void PuzzleBoard::configureField(int32_t columns, int32_t rows) {
    maxColumns = columns;
    maxRows = rows;
    activeColumns = columns;
    activeRows = rows;
    startSticks = slotGrid().emptyLayout();
    solutionSticks = startSticks;
    currentSticks = startSticks;
}

bool PuzzleBoard::isActiveHorizontal(int32_t index) const {
    return slotGrid().inField({Horizontal, index}, activeColumns, activeRows);
}

bool PuzzleBoard::isActiveVertical(int32_t index) const {
    return slotGrid().inField({Vertical, index}, activeColumns, activeRows);
}

void PuzzleBoard::markSquare(int32_t x, int32_t y, int32_t n, uint8_t* horizontal,
                             uint8_t* vertical) {
    const SlotGrid grid = slotGrid();
    for (int32_t i = 0; i < n; ++i) {
        horizontal[grid.horizontalIndex(x + i, y)] = 1;
        horizontal[grid.horizontalIndex(x + i, y + n)] = 1;
        vertical[grid.verticalIndex(x, y + i)] = 1;
        vertical[grid.verticalIndex(x + n, y + i)] = 1;
    }
}

bool PuzzleBoard::isSquareComplete(int32_t x, int32_t y, int32_t n, const uint8_t* horizontal,
                                   const uint8_t* vertical) {
    const SlotGrid grid = slotGrid();
    for (int32_t i = 0; i < n; ++i) {
        if (horizontal[grid.horizontalIndex(x + i, y)] == 0 ||
            horizontal[grid.horizontalIndex(x + i, y + n)] == 0 ||
            vertical[grid.verticalIndex(x, y + i)] == 0 ||
            vertical[grid.verticalIndex(x + n, y + i)] == 0) {
            return false;
        }
    }
    return true;
}

void PuzzleBoard::squaresToSticks(const uint8_t* squares, uint8_t* horizontal, uint8_t* vertical) {
    std::fill(horizontal, horizontal + horizontalCount(), uint8_t{0});
    std::fill(vertical, vertical + verticalCount(), uint8_t{0});
    int32_t index = 0;
    for (int32_t n = smallSide; n >= 1; --n) {
        for (int32_t x = 0; x <= activeColumns - n; ++x) {
            for (int32_t y = 0; y <= activeRows - n; ++y) {
                if (squares[index++] != 0) {
                    markSquare(x, y, n, horizontal, vertical);
                }
            }
        }
    }
}

int32_t PuzzleBoard::findSquares(const uint8_t* horizontal, const uint8_t* vertical,
                                 uint8_t* squares) {
    int32_t index = 0;
    int32_t complete = 0;
    for (int32_t n = smallSide; n >= 1; --n) {
        for (int32_t x = 0; x <= activeColumns - n; ++x) {
            for (int32_t y = 0; y <= activeRows - n; ++y) {
                const bool found = isSquareComplete(x, y, n, horizontal, vertical);
                if (found) {
                    ++complete;
                }
                if (squares != nullptr) {
                    squares[index] = found ? 1 : 0;
                }
                ++index;
            }
        }
    }
    return complete;
}

int32_t PuzzleBoard::countSticks(const uint8_t* horizontal, const uint8_t* vertical) {
    const auto present = [](uint8_t b) { return b != 0; };
    return static_cast<int32_t>(std::count_if(horizontal, horizontal + horizontalCount(), present) +
                                std::count_if(vertical, vertical + verticalCount(), present));
}

int32_t PuzzleBoard::countDifferences(const uint8_t* firstHorizontal, const uint8_t* firstVertical,
                                      const uint8_t* secondHorizontal,
                                      const uint8_t* secondVertical) {
    int32_t differences = 0;
    for (int32_t i = 0; i < horizontalCount(); ++i) {
        differences += firstHorizontal[i] != secondHorizontal[i] ? 1 : 0;
    }
    for (int32_t i = 0; i < verticalCount(); ++i) {
        differences += firstVertical[i] != secondVertical[i] ? 1 : 0;
    }
    return differences;
}

int32_t PuzzleBoard::pickRandomSquares(uint8_t* squares, uint8_t* horizontal, uint8_t* vertical) {
    for (;;) {
        int32_t index = 0;
        for (int32_t n = smallSide; n >= 1; --n) {
            for (int32_t x = 0; x <= activeColumns - n; ++x) {
                for (int32_t y = 0; y <= activeRows - n; ++y) {
                    const int32_t r = random.next();
                    squares[index++] = picksSquare(r, largeSide, n) ? 1 : 0;
                }
            }
        }
        squaresToSticks(squares, horizontal, vertical);
        const int32_t sticks = countSticks(horizontal, vertical);
        if (sticks != 0 && sticks != fullStickCount()) {
            return sticks;
        }
    }
}

void PuzzleBoard::addRandomSquares(uint8_t* squares, uint8_t* horizontal, uint8_t* vertical) {
    SquareList scratch(static_cast<size_t>(squareCount));
    for (;;) {
        std::copy(squares, squares + squareCount, scratch.begin());
        bool added = false;
        for (int32_t i = 0; i < squareCount; ++i) {
            if (squares[i] == 0 && random.next() * activeRows * activeColumns < kRandomRange) {
                scratch[i] = 1;
                added = true;
            }
        }
        squaresToSticks(scratch.data(), horizontal, vertical);
        if (added && countSticks(horizontal, vertical) != fullStickCount()) {
            break;
        }
    }
    std::copy(scratch.begin(), scratch.end(), squares);
}

void PuzzleBoard::resetPlayState() {
    active = true;
    stickInHand = false;
    movesMade = 0;
}

void PuzzleBoard::showPuzzle() {
    currentSticks = startSticks;
}

void PuzzleBoard::chooseFieldSize() {
    // A size the menus never offer, or one the arrays cannot hold, counts as random.
    const bool fixedSize =
        fieldSize >= 2 && fieldSize <= 5 && fieldSize <= maxColumns && fieldSize <= maxRows;
    if (fixedSize) {
        activeColumns = fieldSize;
        activeRows = fieldSize;
        return;
    }
    activeColumns = random.next() * 4 / 32768 + 2;
    activeRows = random.next() * 4 / 32768 + 2;
    // Random sizes reach 5; a smaller field keeps the draws but never leaves its arrays.
    activeColumns = std::min(activeColumns, maxColumns);
    activeRows = std::min(activeRows, maxRows);
}

void PuzzleBoard::newPuzzle() {
    resetPlayState();
    chooseFieldSize();
    int32_t kind = actionType;
    if (kind == Mixed) {
        // Five outcomes 0..4: a mixed game never draws RemoveFromSome, and 0 acts as 4.
        kind = random.next() * 5 / 32768;
    }
    // Kinds outside 1..5 build RemoveFromFull, so the origin names that kind for them.
    const bool namedKind = kind >= AddFromNone && kind <= RemoveFromSome;
    origin = {random.currentState(), activeColumns, activeRows,
              namedKind ? static_cast<ActionType>(kind) : RemoveFromFull};
    buildPuzzle(kind);
}

bool PuzzleBoard::newPuzzleFrom(const PuzzleOrigin& from) {
    if (!canBuild(from)) {
        return false;
    }
    const uint32_t ownState = random.currentState();
    resetPlayState();
    activeColumns = from.columns;
    activeRows = from.rows;
    origin = from;
    random.seed(from.state);
    buildPuzzle(from.kind);
    random.seed(ownState);
    return true;
}

void PuzzleBoard::buildPuzzle(int32_t kind) {
    largeSide = std::max(activeColumns, activeRows);
    smallSide = std::min(activeColumns, activeRows);
    squareCount = squareCountFor(smallSide, largeSide);
    SquareList squares(static_cast<size_t>(squareCount));

    std::fill(startSticks.horizontal.begin(), startSticks.horizontal.end(), uint8_t{0});
    std::fill(startSticks.vertical.begin(), startSticks.vertical.end(), uint8_t{0});
    std::fill(solutionSticks.horizontal.begin(), solutionSticks.horizontal.end(), uint8_t{0});
    std::fill(solutionSticks.vertical.begin(), solutionSticks.vertical.end(), uint8_t{0});

    buildLayouts(kind, squares.data());
    targetSquares =
        findSquares(solutionSticks.horizontal.data(), solutionSticks.vertical.data(), nullptr);
    showPuzzle();
}

void PuzzleBoard::buildLayouts(int32_t kind, uint8_t* squares) {
    StickLayers& start = startSticks;
    StickLayers& solution = solutionSticks;
    switch (kind) {
        case AddFromNone:
            pickInto(squares, solution);
            mode = Add;
            requiredMoves = sticksIn(solution);
            break;
        case AddFromSome:
            pickAtMostHalfComplete(squares, start);
            // The list now holds exactly the complete squares of the start, so the solution
            // contains every start stick.
            addRandomSquares(squares, solution.horizontal.data(), solution.vertical.data());
            mode = Add;
            requiredMoves = sticksIn(solution) - sticksIn(start);
            break;
        case MoveFromSome: {
            pickInto(squares, start);
            const int32_t startCount = sticksIn(start);
            for (;;) {
                pickInto(squares, solution);
                if (sticksIn(solution) == startCount) {
                    requiredMoves =
                        countDifferences(start.horizontal.data(), start.vertical.data(),
                                         solution.horizontal.data(), solution.vertical.data()) /
                        2;
                    if (requiredMoves != 0) {
                        break;
                    }
                }
            }
            mode = Move;
            break;
        }
        case RemoveFromSome:
            pickAtMostHalfComplete(squares, solution);
            addRandomSquares(squares, start.horizontal.data(), start.vertical.data());
            mode = Remove;
            requiredMoves = sticksIn(start) - sticksIn(solution);
            break;
        default:  // RemoveFromFull, and the 0 of a mixed draw
            for (int32_t i = 0; i < horizontalCount(); ++i) {
                if (isActiveHorizontal(i)) {
                    start.horizontal[static_cast<size_t>(i)] = 1;
                }
            }
            for (int32_t i = 0; i < verticalCount(); ++i) {
                if (isActiveVertical(i)) {
                    start.vertical[static_cast<size_t>(i)] = 1;
                }
            }
            pickInto(squares, solution);
            mode = Remove;
            requiredMoves = fullStickCount() - sticksIn(solution);
            break;
    }
}

void PuzzleBoard::pickAtMostHalfComplete(uint8_t* squares, StickLayers& layout) {
    pickInto(squares, layout);
    while (squaresIn(layout, squares) > squareCount / 2) {
        pickInto(squares, layout);
    }
}

int32_t PuzzleBoard::movesFromStart(const StickLayers& layout) {
    return movesOfChanges(
        mode, countDifferences(startSticks.horizontal.data(), startSticks.vertical.data(),
                               layout.horizontal.data(), layout.vertical.data()));
}

bool PuzzleBoard::formsTargetSquares(const StickLayers& layout) {
    SquareList squares(static_cast<size_t>(squareCount));
    if (findSquares(layout.horizontal.data(), layout.vertical.data(), squares.data()) !=
        targetSquares) {
        return false;
    }
    StickLayers covered = slotGrid().emptyLayout();
    squaresToSticks(squares.data(), covered.horizontal.data(), covered.vertical.data());
    return covered == layout;
}

}  // namespace kz
