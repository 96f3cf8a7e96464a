#include "puzzle/solution_search.h"

#include <algorithm>
#include <array>
#include <functional>

#include "puzzle/figure_turns.h"
#include "puzzle/move_rules.h"

namespace kz {

namespace {

// Counted in the register, since without a population count instruction in the target the
// library's count is a call, and the searches count bits at every step.
int32_t bitCount(uint64_t m) {
    m -= (m >> 1) & 0x5555555555555555u;
    m = (m & 0x3333333333333333u) + ((m >> 2) & 0x3333333333333333u);
    m = (m + (m >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int32_t>((m * 0x0101010101010101u) >> 56);
}

// The index of the lowest set bit of a non-zero mask, by a de Bruijn sequence.
int32_t lowestBit(uint64_t m) {
    static constexpr uint8_t kIndex[64] = {
        0,  1,  48, 2,  57, 49, 28, 3,  61, 58, 50, 42, 38, 29, 17, 4,  62, 55, 59, 36, 53, 51,
        43, 22, 45, 39, 33, 30, 24, 18, 12, 5,  63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21,
        44, 32, 23, 11, 46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9,  13, 8,  7,  6};
    return kIndex[((m & (~m + 1)) * 0x03F79D71B4CB0A89u) >> 58];
}

}  // namespace

void SolutionSearch::FruitlessBranches::clear() {
    table.assign(1024, Entry{});
    used = 0;
}

size_t SolutionSearch::FruitlessBranches::slotOf(Mask first, Mask second) const {
    // Both masks mixed into every bit (the finalizer of splitmix64), so that branches
    // differing in a few sticks spread over the table rather than crowd one run of it.
    uint64_t hash = first ^ (second * 0x9E3779B97F4A7C15u);
    hash = (hash ^ (hash >> 30)) * 0xBF58476D1CE4E5B9u;
    hash = (hash ^ (hash >> 27)) * 0x94D049BB133111EBu;
    hash ^= hash >> 31;
    size_t slot = static_cast<size_t>(hash) & (table.size() - 1);
    while (table[slot].second != ~Mask{0} &&
           (table[slot].first != first || table[slot].second != second)) {
        slot = (slot + 1) & (table.size() - 1);
    }
    return slot;
}

bool SolutionSearch::FruitlessBranches::contains(Mask first, Mask second) const {
    return table[slotOf(first, second)].second != ~Mask{0};
}

void SolutionSearch::FruitlessBranches::insert(Mask first, Mask second) {
    if (2 * (used + 1) > table.size()) {
        std::vector<Entry> old(table.size() * 2);
        old.swap(table);
        for (const Entry& e : old) {
            if (e.second != ~Mask{0}) {
                table[slotOf(e.first, e.second)] = e;
            }
        }
    }
    Entry& entry = table[slotOf(first, second)];
    if (entry.second == ~Mask{0}) {
        entry = Entry{first, second};
        ++used;
    }
}

SolutionSearch::SolutionSearch(PuzzleBoard& puzzle) : board(puzzle), grid(puzzle.slotGrid()) {
    const int32_t columns = board.getMaxColumns();
    const int32_t rows = board.getMaxRows();
    fits = grid.slotCount() <= 64 && board.getSquareCount() <= 64 &&
           std::min(columns, rows) <= static_cast<int32_t>(kLargestSquare);
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
                scratch = grid.emptyLayout();
                board.markSquare(x, y, n, scratch.horizontal.data(), scratch.vertical.data());
                perimeters.push_back(maskOf(scratch));
            }
        }
    }
    start = maskOf(board.getStartSticks());
    generatedLayout = maskOf(board.getSolutionSticks());
    listed = perimeters;
    mode = board.getMode();
    requiredMoves = board.getRequiredMoves();
    targetSquares = board.getTargetSquares();
}

// A slot's bit is its place in the grid's run of both layers.
SolutionSearch::Mask SolutionSearch::maskOf(const StickLayers& layout) const {
    Mask m = 0;
    for (int32_t bit = 0; bit < grid.slotCount(); ++bit) {
        if (layout.at(grid.slotOfSerial(bit)) != 0) {
            m |= Mask{1} << bit;
        }
    }
    return m;
}

StickLayers SolutionSearch::layoutOf(Mask mask) const {
    StickLayers layout = grid.emptyLayout();
    for (int32_t bit = 0; bit < grid.slotCount(); ++bit) {
        const StickSlot slot = grid.slotOfSerial(bit);
        (slot.orientation == Horizontal ? layout.horizontal
                                        : layout.vertical)[static_cast<size_t>(slot.index)] =
            (mask >> bit) & 1u ? 1 : 0;
    }
    return layout;
}

bool SolutionSearch::aimAt(const StickLayers& layout) {
    nodes = 0;
    fruitlessSquares.clear();
    fruitlessChanges.clear();
    if (!fits) {
        return false;
    }
    const Mask current = maskOf(layout);
    const int32_t startSticks = bitCount(start);
    // Slots the clicks cannot change keep the start, changes made stay: the rest is open.
    const Mask unchangeable = (putsDown(mode) ? 0 : ~start) | (takesAway(mode) ? 0 : start);
    const Mask kept = (current & ~unchangeable) | (start & unchangeable);
    const Mask decided = (kept ^ start) | unchangeable;
    required = kept & decided;
    forbidden = ~kept & decided;
    sticksToAdd = putsDown(mode) ? requiredMoves : 0;
    sticksToRemove = takesAway(mode) ? requiredMoves : 0;
    stickTarget = startSticks + sticksToAdd - sticksToRemove;
    startSticksKept = startSticks - sticksToRemove;
    orderSquares(required & ~start);
    allowed = 0;
    for (size_t q = 0; q < perimeters.size(); ++q) {
        if ((perimeters[q] & forbidden) == 0) {
            allowed |= Mask{1} << q;
        }
    }
    // The changes still to make, for the search by changes.
    Mask active = 0;
    for (Mask p : perimeters) {
        active |= p;
    }
    changed = kept;
    removable = sticksToRemove > 0 ? changed & start & ~required : 0;
    addable = sticksToAdd > 0 ? active & ~changed & ~start & ~forbidden : 0;
    startFull = (active & ~start) == 0;
    return (required & forbidden) == 0;
}

// The order the search by squares decides them in: first those through a stick the player
// put down, which every solution must cover, then the generated solution's squares, since a
// player's changes often leave most of them standing, then the rest, each group in list
// order.
void SolutionSearch::orderSquares(Mask added) {
    const auto rank = [&](Mask p) {
        return (p & added) != 0 ? 0 : (p & ~generatedLayout) == 0 ? 1 : 2;
    };
    perimeters = listed;
    std::stable_sort(perimeters.begin(), perimeters.end(),
                     [&](Mask a, Mask b) { return rank(a) < rank(b); });
    holders.assign(64, 0);
    squaresOfSize.fill(0);
    guide = 0;
    for (size_t q = 0; q < perimeters.size(); ++q) {
        for (Mask p = perimeters[q]; p != 0; p &= p - 1) {
            holders[static_cast<size_t>(lowestBit(p))] |= Mask{1} << q;
        }
        if ((perimeters[q] & ~generatedLayout) == 0) {
            guide |= Mask{1} << q;
        }
        squaresOfSize[static_cast<size_t>(bitCount(perimeters[q]) / 4)] |= Mask{1} << q;
    }
}

std::optional<StickLayers> SolutionSearch::solutionKeeping(const StickLayers& layout) {
    if (!aimAt(layout)) {
        return std::nullopt;
    }
    // The generated solution turned, mirrored or shifted is often one that keeps the changes
    // when the solution itself does not, and trying its copies costs little.
    for (Mask copy : copiesOf(generatedLayout)) {
        if (solves(copy)) {
            return layoutOf(copy);
        }
    }
    if (countSolutionsKeeping(layout, 1) == 0) {
        return std::nullopt;
    }
    return layoutOf(firstSolution);
}

bool SolutionSearch::solves(Mask sticks) const {
    if ((required & ~sticks) != 0 || (sticks & forbidden) != 0 || bitCount(sticks) != stickTarget ||
        bitCount(sticks & ~start) != sticksToAdd) {
        return false;
    }
    int32_t complete = 0;
    Mask covered = 0;
    for (Mask p : perimeters) {
        if ((p & ~sticks) == 0) {
            ++complete;
            covered |= p;
        }
    }
    return complete == targetSquares && covered == sticks;
}

std::vector<SolutionSearch::Mask> SolutionSearch::copiesOf(Mask sticks) const {
    const int32_t columns = board.getActiveColumns();
    const int32_t rows = board.getActiveRows();
    std::vector<Joint> joints;
    for (Mask m = sticks; m != 0; m &= m - 1) {
        joints.push_back(jointOf(grid.placeOf(grid.slotOfSerial(lowestBit(m)))));
    }
    std::vector<Mask> copies;
    // A field that is not square keeps its shape only under the turns that keep its sides.
    for (int32_t turn = 0; turn < kFigureTurns; ++turn) {
        if (swapsSides(turn) && columns != rows) {
            continue;
        }
        const std::vector<Joint> turned = turnedFigure(joints, turn, columns, rows);
        int32_t left = columns;
        int32_t top = rows;
        int32_t right = 0;
        int32_t bottom = 0;
        for (const Joint& t : turned) {
            left = std::min(left, t.x0);
            right = std::max(right, t.x1);
            top = std::min(top, t.y0);
            bottom = std::max(bottom, t.y1);
        }
        for (int32_t dx = -left; right + dx <= columns; ++dx) {
            for (int32_t dy = -top; bottom + dy <= rows; ++dy) {
                Mask copy = 0;
                for (const Joint& t : turned) {
                    SlotPlace place = placeOf(t);
                    place.column += dx;
                    place.row += dy;
                    copy |= Mask{1} << grid.serialOf(grid.slotAt(place));
                }
                copies.push_back(copy);
            }
        }
    }
    return copies;
}

int64_t SolutionSearch::countSolutionsKeeping(const StickLayers& layout, int64_t most) {
    if (!aimAt(layout) || most <= 0) {
        return 0;
    }
    limit = most;
    // Two exact searches suit different puzzles: by squares where few squares make many
    // sticks, by changes where few changes are left among many sticks. They take turns with
    // a growing allowance of decisions, and the first to finish answers, so a hint costs
    // about what the better search costs, whatever the puzzle. Where sticks are only added
    // or only taken away, the search by changes gets a quarter of each allowance: where it
    // is the better one there it wins by far more than that, while the search by squares,
    // the better one on the hardest of those puzzles, then loses less to the turns it
    // waits. A move both adds and takes away, and there either search may be far better.
    for (int64_t allowance = 1024;; allowance *= 2) {
        for (const bool bySquares : {true, false}) {
            nodes = 0;
            nodeAllowance = bySquares || mode == Move ? allowance : allowance / 4;
            stopped = false;
            const int64_t found =
                bySquares ? search(0, 0) : searchChanges(changed, removable | addable);
            if (!stopped) {
                return found;
            }
        }
    }
}

std::vector<StickLayers> SolutionSearch::solutionsKeeping(const StickLayers& layout, int64_t most) {
    // Every turn of either search adds what it found; a turn cut short found real solutions
    // too, so the list is complete once the turn that answers has run.
    std::vector<Mask> found;
    collected = &found;
    countSolutionsKeeping(layout, most);
    collected = nullptr;
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    found.resize(std::min(found.size(), static_cast<size_t>(std::max<int64_t>(most, 0))));
    std::vector<StickLayers> solutions;
    for (Mask m : found) {
        solutions.push_back(layoutOf(m));
    }
    return solutions;
}

int64_t SolutionSearch::searchChanges(Mask layout, Mask candidates) {
    if (++nodes > nodeAllowance) {
        stopped = true;
        return 0;
    }
    const int32_t removesLeft = sticksToRemove - bitCount(start & ~layout);
    const int32_t addsLeft = sticksToAdd - bitCount(layout & ~start);
    const Mask futureRemoves = removesLeft > 0 ? candidates & removable : 0;
    const Mask futureAdds = addsLeft > 0 ? candidates & addable : 0;
    if (removesLeft < 0 || addsLeft < 0 || bitCount(futureRemoves) < removesLeft ||
        bitCount(futureAdds) < addsLeft || fruitlessChanges.contains(layout, candidates)) {
        return 0;
    }
    const int64_t nodesBefore = nodes;
    const Mask surely = layout & ~futureRemoves;
    const Mask possibly = layout | futureAdds;
    int32_t least = 0;
    Mask mayComplete = 0;
    Mask covered = 0;
    for (size_t q = 0; q < perimeters.size(); ++q) {
        const Mask p = perimeters[q];
        if ((p & ~possibly) == 0) {
            mayComplete |= Mask{1} << q;
            covered |= p;
            least += (p & ~surely) == 0 ? 1 : 0;
        }
    }
    const int32_t most = bitCount(mayComplete);
    // A stick on no square that may be complete has to go.
    if (least > targetSquares || most < targetSquares || (surely & ~covered) != 0 ||
        bitCount(layout & ~covered) > removesLeft) {
        return 0;
    }
    // A stick that stays with one square left that may hold it keeps that square's sticks,
    // and has its missing ones put down: decided at once, without a branch.
    Mask keep = 0;
    for (Mask m = surely; m != 0; m &= m - 1) {
        const Mask options = holders[static_cast<size_t>(lowestBit(m))] & mayComplete;
        if ((options & (options - 1)) == 0) {
            keep |= perimeters[static_cast<size_t>(lowestBit(options))];
        }
    }
    if ((keep & (futureRemoves | futureAdds)) != 0) {
        return searchChanges(layout | (keep & futureAdds), candidates & ~keep);
    }
    // Additions only complete squares; each removal breaks at most the complete squares
    // through it. When even the removals breaking the most leave too many, none will do.
    Mask completeNow = 0;
    for (Mask m = mayComplete; m != 0; m &= m - 1) {
        if ((perimeters[static_cast<size_t>(lowestBit(m))] & ~layout) == 0) {
            completeNow |= m & (~m + 1);
        }
    }
    if (!canBreak(completeNow, futureRemoves, removesLeft, bitCount(completeNow) - targetSquares)) {
        return 0;
    }
    if (removesLeft == 0 && addsLeft == 0) {
        return solutionFound(layout);
    }
    const Mask left = futureRemoves | futureAdds;
    Mask slot = left & (~left + 1);
    // Removals and additions both left: first the side with fewer ways to choose, since
    // each choice there settles most. An addition that completes the most squares first.
    const auto ways = [](int32_t n, int32_t k) {
        double c = 1;
        for (int32_t i = 0; i < k; ++i) {
            c = c * (n - i) / (i + 1);
        }
        return c;
    };
    if (futureAdds != 0 && futureRemoves != 0 &&
        ways(bitCount(futureAdds), addsLeft) < ways(bitCount(futureRemoves), removesLeft)) {
        int32_t completing = -1;
        for (Mask m = futureAdds; m != 0; m &= m - 1) {
            const int32_t n = bitCount(holders[static_cast<size_t>(lowestBit(m))] & mayComplete);
            if (n > completing) {
                completing = n;
                slot = m & (~m + 1);
            }
        }
    } else if (futureRemoves != 0) {
        // The stick that the fewest squares can still hold: kept, it is the likeliest to be
        // left on no square.
        int32_t fewest = 65;
        for (Mask m = futureRemoves; m != 0; m &= m - 1) {
            const Mask s = m & (~m + 1);
            const int32_t n = bitCount(holders[static_cast<size_t>(lowestBit(m))] & mayComplete);
            if (n < fewest) {
                fewest = n;
                slot = s;
            }
        }
    }
    if (futureRemoves == 0) {
        // The stick on no square yet that the fewest squares can still complete around: add
        // a missing stick of the first of them.
        Mask onSquare = 0;
        for (Mask m = mayComplete; m != 0; m &= m - 1) {
            const Mask p = perimeters[static_cast<size_t>(lowestBit(m))];
            if ((p & ~surely) == 0) {
                onSquare |= p;
            }
        }
        int32_t fewest = 65;
        for (Mask m = surely & ~onSquare; m != 0; m &= m - 1) {
            const Mask options = holders[static_cast<size_t>(lowestBit(m))] & mayComplete;
            const int32_t n = bitCount(options);
            if (n < fewest) {
                fewest = n;
                slot = perimeters[static_cast<size_t>(lowestBit(options))] & futureAdds;
                slot &= ~slot + 1;
            }
        }
    }
    const Mask rest = left & ~slot;
    const bool changeFirst = ((start ^ generatedLayout) & slot) != 0;
    int64_t found = 0;
    for (int32_t branch = 0; branch < 2 && found < limit; ++branch) {
        const int64_t saved = limit;
        limit -= found;
        found += (branch == 0) == changeFirst ? searchChanges(layout ^ slot, rest)
                                              : searchChanges(layout, rest);
        limit = saved;
    }
    // Only branches of some size are remembered: they spare the search most when its turn
    // comes again, and the table stays small.
    if (found == 0 && !stopped && nodes - nodesBefore >= 16) {
        fruitlessChanges.insert(layout, candidates);
    }
    return found;
}

// Each square that joins completes at least itself, so at most squaresLeft more join: the
// sticks they bring cannot reach the stick counts (in all, outside the start, of the start)
// when even the squares bringing the most new sticks fall short.
bool SolutionSearch::canGrow(Mask sticks, Mask open, int32_t squaresLeft) const {
    // How many open squares bring each number of new sticks (a square has at most 20): in
    // all, outside the start, inside it. A count already met needs no tally (in Remove mode
    // nothing is added), nor does the inside one when the start is full: it is the one in all.
    const int32_t toAdd = sticksToAdd - bitCount(sticks & ~start);
    const int32_t toKeep = startSticksKept - bitCount(sticks & start);
    const bool inside = toKeep > 0 && !startFull;
    std::array<int32_t, 21> bringing{};
    std::array<int32_t, 21> bringingOutside{};
    std::array<int32_t, 21> bringingInside{};
    for (Mask m = open; m != 0; m &= m - 1) {
        const Mask brought = perimeters[static_cast<size_t>(lowestBit(m))] & ~sticks;
        ++bringing[static_cast<size_t>(bitCount(brought))];
        if (toAdd > 0) {
            ++bringingOutside[static_cast<size_t>(bitCount(brought & ~start))];
        }
        if (inside) {
            ++bringingInside[static_cast<size_t>(bitCount(brought & start))];
        }
    }
    const auto most = [squaresLeft](const std::array<int32_t, 21>& counts) {
        int32_t sum = 0;
        int32_t left = squaresLeft;
        for (int32_t n = 20; n > 0 && left > 0; --n) {
            const int32_t take = std::min(left, counts[static_cast<size_t>(n)]);
            sum += take * n;
            left -= take;
        }
        return sum;
    };
    return most(bringing) >= stickTarget - bitCount(sticks) &&
           (toAdd <= 0 || most(bringingOutside) >= toAdd) &&
           (toKeep <= 0 || most(inside ? bringingInside : bringing) >= toKeep);
}

// The squares still to complete are open ones, each missing some sticks, and each stick
// put down completes at most the open squares through it. When the squares missing the
// fewest sticks miss more, counted per square, than the sticks still to put down can give,
// the squares cannot all complete.
bool SolutionSearch::canComplete(Mask least, Mask open, int32_t squaresLeft) const {
    if (squaresLeft <= 0) {
        return true;
    }
    std::array<int32_t, 21> missing{};  // open squares by the sticks they miss
    Mask free = 0;
    for (Mask m = open; m != 0; m &= m - 1) {
        const Mask p = perimeters[static_cast<size_t>(lowestBit(m))] & ~least;
        ++missing[static_cast<size_t>(bitCount(p))];
        free |= p;
    }
    int32_t needed = 0;
    int32_t squares = squaresLeft;
    for (int32_t n = 0; n <= 20 && squares > 0; ++n) {
        const int32_t take = std::min(squares, missing[static_cast<size_t>(n)]);
        needed += take * n;
        squares -= take;
    }
    // A stick serves at most squaresLeft of the squares to complete.
    std::array<int32_t, 65> serving{};  // free slots by the open squares through them
    for (Mask m = free; m != 0; m &= m - 1) {
        const int32_t through = bitCount(holders[static_cast<size_t>(lowestBit(m))] & open);
        ++serving[static_cast<size_t>(std::min(squaresLeft, through))];
    }
    int32_t given = 0;
    int32_t sticksLeft = stickTarget - bitCount(least);
    for (int32_t n = 64; n > 0 && sticksLeft > 0; --n) {
        const int32_t take = std::min(sticksLeft, serving[static_cast<size_t>(n)]);
        given += take * n;
        sticksLeft -= take;
    }
    return needed <= given;
}

// The solution holds the least sticks and lies within reach: it leaves out of reach all but
// the stick count, and each stick left out breaks at most the squares through it. When even
// the sticks breaking the most leave more squares complete in reach than the puzzle wants,
// no solution lies below.
bool SolutionSearch::canThin(Mask least, Mask reach) const {
    Mask whole = 0;  // squares complete in reach
    for (size_t q = 0; q < perimeters.size(); ++q) {
        if ((perimeters[q] & ~reach) == 0) {
            whole |= Mask{1} << q;
        }
    }
    const int32_t excess = bitCount(whole) - targetSquares;
    if (excess <= 0) {
        return true;
    }
    return canBreak(whole, reach & ~least, bitCount(reach) - stickTarget, excess);
}

// Whether taking away count of the sticks can break needed of the squares. Each stick breaks
// the squares through it, so no more than the count sticks breaking the most do; and, size by
// size, no more squares break than there are, however many sticks go through each. The second
// bound is the one that ends the hopeless positions of a full start: there the large squares,
// which nearly every stick lies on, would otherwise count once for each stick.
bool SolutionSearch::canBreak(Mask squares, Mask sticks, int32_t count, int32_t needed) const {
    if (needed <= 0) {
        return true;
    }
    // The sum of the count largest values, given how many sticks take each value.
    const auto most = [count](const int32_t* sticksBreaking, int32_t highest) {
        int32_t sum = 0;
        int32_t left = count;
        for (int32_t n = highest; n > 0 && left > 0; --n) {
            const int32_t take = std::min(left, sticksBreaking[n]);
            sum += take * n;
            left -= take;
        }
        return sum;
    };
    std::array<int32_t, 65> breaking{};  // sticks by the squares they break
    for (Mask m = sticks; m != 0; m &= m - 1) {
        ++breaking[static_cast<size_t>(
            bitCount(holders[static_cast<size_t>(lowestBit(m))] & squares))];
    }
    if (most(breaking.data(), 64) < needed) {
        return false;
    }
    int32_t broken = 0;
    for (size_t size = 1; size <= kLargestSquare; ++size) {
        const Mask ofSize = squares & squaresOfSize[size];
        // A stick lies on at most two squares of a size for each stick of their side.
        std::array<int32_t, 2 * kLargestSquare + 1> breakingOfSize{};
        Mask breakable = 0;
        for (Mask m = ofSize != 0 ? sticks : 0; m != 0; m &= m - 1) {
            const Mask through = holders[static_cast<size_t>(lowestBit(m))] & ofSize;
            ++breakingOfSize[static_cast<size_t>(bitCount(through))];
            breakable |= through;
        }
        broken += std::min(bitCount(breakable),
                           most(breakingOfSize.data(), 2 * static_cast<int32_t>(size)));
        if (broken >= needed) {
            return true;
        }
    }
    return false;
}

// The layout below a branch once no choice is left: 1 when it solves the puzzle with no
// square decided incomplete complete in it, else 0.
int64_t SolutionSearch::settle(Mask layout, Mask incomplete) {
    int32_t complete = 0;
    for (size_t q = 0; q < perimeters.size(); ++q) {
        if ((perimeters[q] & ~layout) == 0) {
            if (((incomplete >> q) & 1u) != 0) {
                return 0;
            }
            ++complete;
        }
    }
    if (complete != targetSquares || bitCount(layout & ~start) != sticksToAdd) {
        return 0;
    }
    return solutionFound(layout);
}

// Every search ends in here when a layout solves the puzzle: 1, with the layout kept.
int64_t SolutionSearch::solutionFound(Mask layout) {
    firstSolution = layout;
    if (collected != nullptr) {
        collected->push_back(layout);
    }
    return 1;
}

// sticks: the union of the squares decided complete; incomplete: the squares decided
// incomplete. The two say everything about the branch. Returns the solutions found below,
// at most limit.
int64_t SolutionSearch::search(Mask sticks, Mask incomplete) {
    if (++nodes > nodeAllowance) {
        stopped = true;
        return 0;
    }
    // Whatever comes of this branch holds these sticks; sticks only add up, and adding
    // sticks never breaks a square.
    const Mask least = sticks | required;
    if (bitCount(least) > stickTarget || bitCount(least & ~start) > sticksToAdd ||
        bitCount(least & start) > startSticksKept) {
        return 0;
    }
    Mask complete = 0;  // complete squares now
    Mask bound = 0;     // squares that will be complete
    for (size_t q = 0; q < perimeters.size(); ++q) {
        if ((perimeters[q] & ~least) == 0) {
            bound |= Mask{1} << q;
            if ((perimeters[q] & ~sticks) == 0) {
                complete |= Mask{1} << q;
            }
        }
    }
    if ((bound & incomplete) != 0 || bitCount(bound) > targetSquares) {
        return 0;
    }
    if (bitCount(sticks) == stickTarget) {
        // No square can join without a stick too many: this is the layout.
        if (bitCount(complete) != targetSquares || (required & ~sticks) != 0 ||
            bitCount(sticks & ~start) != sticksToAdd) {
            return 0;
        }
        return solutionFound(sticks);
    }
    if (fruitlessSquares.contains(sticks, incomplete)) {
        return 0;
    }
    // A square decided incomplete with one stick left that may stay away keeps that stick
    // away, and every square through it incomplete.
    Mask away = 0;
    for (Mask m = incomplete; m != 0; m &= m - 1) {
        const Mask free = perimeters[static_cast<size_t>(lowestBit(m))] & ~least;
        if ((free & (free - 1)) == 0) {
            away |= free;
        }
    }
    // The squares that may still join, and the sticks they can bring.
    Mask open = 0;
    Mask reach = sticks;
    for (Mask m = allowed & ~incomplete & ~complete; m != 0; m &= m - 1) {
        const int32_t q = lowestBit(m);
        const Mask p = perimeters[static_cast<size_t>(q)];
        const Mask grown = least | p;
        if ((p & away) != 0 || bitCount(grown) > stickTarget ||
            bitCount(grown & ~start) > sticksToAdd || bitCount(grown & start) > startSticksKept) {
            continue;
        }
        open |= Mask{1} << q;
        reach |= p;
    }
    const int32_t squaresLeft = targetSquares - bitCount(complete);
    // Where sticks are only taken away, a branch far more often leaves too many squares than
    // too few sticks to complete them, so that is checked first there.
    const bool thinFirst = sticksToAdd == 0;
    if ((required & ~reach) != 0 || bitCount(reach) < stickTarget ||
        bitCount(reach & ~start) < sticksToAdd || bitCount(start & ~reach) > sticksToRemove ||
        bitCount(open) < squaresLeft || !canGrow(sticks, open, squaresLeft) ||
        (thinFirst && !canThin(least, reach)) || !canComplete(least, open, squaresLeft) ||
        (!thinFirst && !canThin(least, reach))) {
        return 0;  // its parent is remembered, and checking it again costs less than a lookup
    }
    if (bitCount(reach) == stickTarget) {
        // Every stick within reach stays, so the layout is reach itself, each of its sticks on
        // an open square it completes.
        return settle(reach, incomplete);
    }
    // Decide next a square through the required stick that the fewest open squares hold,
    // since it is the likeliest to fail; with every required stick on a square, the open
    // square bringing the most sticks (the first in order of those), since deciding it
    // settles the most: joined, it nears the stick count; left out, it takes most reach.
    int32_t next = lowestBit(open);
    int32_t most = -1;
    for (Mask m = open; m != 0; m &= m - 1) {
        const int32_t brought = bitCount(perimeters[static_cast<size_t>(lowestBit(m))] & ~sticks);
        if (brought > most) {
            most = brought;
            next = lowestBit(m);
        }
    }
    int32_t fewest = 65;
    for (Mask m = required & ~sticks; m != 0; m &= m - 1) {
        const Mask options = holders[static_cast<size_t>(lowestBit(m))] & open;
        const int32_t n = bitCount(options);
        if (n < fewest) {
            fewest = n;
            next = lowestBit(options);
        }
    }
    const Mask joined = sticks | perimeters[static_cast<size_t>(next)];
    const Mask nextBit = Mask{1} << next;
    const bool joinFirst = (guide & nextBit) != 0;
    int64_t found = 0;
    for (int32_t branch = 0; branch < 2 && found < limit; ++branch) {
        const int64_t saved = limit;
        limit -= found;
        found += (branch == 0) != joinFirst ? search(sticks, incomplete | nextBit)
                                            : search(joined, incomplete);
        limit = saved;
    }
    if (found == 0 && !stopped) {
        fruitlessSquares.insert(sticks, incomplete);
    }
    return found;
}

}  // namespace kz
