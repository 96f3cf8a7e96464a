#include "puzzle/solution_search.h"

#include <algorithm>
#include <climits>

namespace kz {

namespace {

int32_t bitCount(uint64_t m) {
    int32_t n = 0;
    for (; m != 0; m &= m - 1) {
        ++n;
    }
    return n;
}

int32_t lowestBit(uint64_t m) {
    int32_t i = 0;
    while ((m & 1u) == 0) {
        m >>= 1;
        ++i;
    }
    return i;
}

}  // namespace

SolutionSearch::SolutionSearch(PuzzleBoard& puzzle) : board(puzzle) {
    const int32_t columns = board.getMaxColumns();
    const int32_t rows = board.getMaxRows();
    horizontalSlots = columns * (rows + 1);
    const int32_t slots = horizontalSlots + (columns + 1) * rows;
    fits = slots <= 64 && board.getSquareCount() <= 64;
    if (!fits) {
        return;
    }
    const int32_t activeColumns = board.getActiveColumns();
    const int32_t activeRows = board.getActiveRows();
    // The squares in the order of a square list, each drawn by the Board's own perimeter rule.
    StickLayers scratch;
    for (int32_t n = std::min(activeColumns, activeRows); n >= 1; --n) {
        for (int32_t x = 0; x <= activeColumns - n; ++x) {
            for (int32_t y = 0; y <= activeRows - n; ++y) {
                scratch.allocate(columns, rows);
                board.markSquare(x, y, n, scratch.horizontal.data(), scratch.vertical.data());
                perimeters.push_back(maskOf(scratch));
            }
        }
    }
    start = maskOf(board.getStartSticks());
    mode = board.getMode();
    requiredMoves = board.getRequiredMoves();
    targetSquares = board.getTargetSquares();
}

SolutionSearch::Mask SolutionSearch::maskOf(const StickLayers& layout) const {
    Mask m = 0;
    for (size_t i = 0; i < layout.horizontal.size(); ++i) {
        if (layout.horizontal[i] != 0) {
            m |= Mask{1} << i;
        }
    }
    for (size_t i = 0; i < layout.vertical.size(); ++i) {
        if (layout.vertical[i] != 0) {
            m |= Mask{1} << (static_cast<size_t>(horizontalSlots) + i);
        }
    }
    return m;
}

StickLayers SolutionSearch::layoutOf(Mask mask) const {
    StickLayers layout;
    layout.allocate(board.getMaxColumns(), board.getMaxRows());
    for (size_t i = 0; i < layout.horizontal.size(); ++i) {
        layout.horizontal[i] = (mask >> i) & 1u ? 1 : 0;
    }
    for (size_t i = 0; i < layout.vertical.size(); ++i) {
        layout.vertical[i] = (mask >> (static_cast<size_t>(horizontalSlots) + i)) & 1u ? 1 : 0;
    }
    return layout;
}

int32_t SolutionSearch::completeSquares(Mask sticks) const {
    int32_t complete = 0;
    for (Mask p : perimeters) {
        complete += (p & ~sticks) == 0 ? 1 : 0;
    }
    return complete;
}

std::optional<StickLayers> SolutionSearch::solutionKeeping(const StickLayers& layout,
                                                           int64_t nodeBudget) {
    nodes = 0;
    outOfNodes = false;
    if (!fits) {
        return std::nullopt;
    }
    const Mask current = maskOf(layout);
    const int32_t startSticks = bitCount(start);
    switch (mode) {
        case Add:
            // Added sticks stay, and no start stick can go.
            required = current | start;
            forbidden = 0;
            stickTarget = startSticks + requiredMoves;
            newSticksAllowed = requiredMoves;
            break;
        case Remove:
            // Removed sticks stay away, and nothing can be added.
            required = 0;
            forbidden = ~(current & start);
            stickTarget = startSticks - requiredMoves;
            newSticksAllowed = 0;
            break;
        case Move:
            required = current & ~start;
            forbidden = start & ~current;
            stickTarget = startSticks;
            newSticksAllowed = requiredMoves;
            break;
    }
    squaresHolding.assign(64, 0);
    for (size_t q = 0; q < perimeters.size(); ++q) {
        if ((perimeters[q] & forbidden) != 0) {
            continue;
        }
        for (Mask p = perimeters[q]; p != 0; p &= p - 1) {
            squaresHolding[static_cast<size_t>(lowestBit(p))] |= Mask{1} << q;
        }
    }
    budget = nodeBudget;
    found = 0;
    if (!search(0, 0)) {
        return std::nullopt;
    }
    return layoutOf(found);
}

bool SolutionSearch::search(Mask sticks, Mask excludedSquares) {
    if (++nodes > budget) {
        outOfNodes = true;
        return false;
    }
    // Whatever comes of this branch holds these sticks and the required ones; sticks only
    // add up, and adding sticks never breaks a square.
    const Mask least = sticks | required;
    if (bitCount(least) > stickTarget || bitCount(least & ~start) > newSticksAllowed ||
        completeSquares(least) > targetSquares) {
        return false;
    }
    const int32_t count = bitCount(sticks);
    const int32_t complete = completeSquares(sticks);
    const int32_t squares = static_cast<int32_t>(perimeters.size());
    const auto usable = [&](int32_t q) {
        return ((excludedSquares >> q) & 1u) == 0 &&
               (perimeters[static_cast<size_t>(q)] & forbidden) == 0;
    };
    const Mask uncovered = required & ~sticks;
    if (uncovered != 0) {
        // Cover the required stick that the fewest usable squares hold.
        Mask bestOptions = 0;
        int32_t bestCount = INT_MAX;
        for (Mask left = uncovered; left != 0; left &= left - 1) {
            const Mask options =
                squaresHolding[static_cast<size_t>(lowestBit(left))] & ~excludedSquares;
            const int32_t n = bitCount(options);
            if (n < bestCount) {
                bestCount = n;
                bestOptions = options;
                if (n <= 1) {
                    break;
                }
            }
        }
        for (Mask options = bestOptions; options != 0; options &= options - 1) {
            const int32_t q = lowestBit(options);
            if (search(sticks | perimeters[static_cast<size_t>(q)], excludedSquares)) {
                return true;
            }
            if (outOfNodes) {
                return false;
            }
            excludedSquares |= Mask{1} << q;
        }
        return false;
    }
    if (count == stickTarget) {
        if (complete == targetSquares &&
            bitCount(sticks ^ start) == (mode == Move ? 2 : 1) * requiredMoves) {
            found = sticks;
            return true;
        }
        return false;
    }
    // Every required stick is held: grow by squares that bring new sticks.
    for (int32_t q = 0; q < squares; ++q) {
        if (!usable(q)) {
            continue;
        }
        const Mask next = sticks | perimeters[static_cast<size_t>(q)];
        if (next == sticks) {
            continue;
        }
        if (bitCount(next) <= stickTarget) {
            if (search(next, excludedSquares)) {
                return true;
            }
            if (outOfNodes) {
                return false;
            }
        }
        excludedSquares |= Mask{1} << q;
    }
    return false;
}

}  // namespace kz
