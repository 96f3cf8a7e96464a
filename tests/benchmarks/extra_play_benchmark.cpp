// What the extra play costs. Hint: one hint on a 5 x 5 field after the player made a move the
// generated solution does not make, so the hint must search for another solution that keeps
// it (or give up the search within its budget); each run times 200 such positions one by one
// and reports the mean and the slowest hint in ms of CPU time, with the share of
// positions where the search found a solution and where it ran out of nodes. UndoPixels: the pixels
// one undo writes, against those of a whole frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "app/common/game_session.h"
#include "display/messages.h"
#include "puzzle/hint.h"
#include "puzzle/random_source.h"
#include "tests/puzzle/test_board.h"
#include "tests/support/headless_game.h"

namespace kz {
namespace {

constexpr int32_t kPositions = 200;

// CPU time of this thread: the machine may be shared, and a hint's cost is its own work.
int64_t threadCpuNanoseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}
constexpr uint32_t kSeed = 20261208;

// A first move off the generated solution: a stick it neither adds nor takes away, in Move
// mode a stick it keeps carried to a slot it leaves empty.
bool moveOffTheSolution(TestBoard& board, StickLayers& layout, std::vector<StickSlot>& changes) {
    const StickLayers& start = board.getStartSticks();
    const StickLayers& solution = board.getSolutionSticks();
    std::vector<StickSlot> keptSticks;
    std::vector<StickSlot> emptySlots;
    for (int32_t layer = 0; layer < 2; ++layer) {
        const auto orientation = layer == 0 ? Horizontal : Vertical;
        const int32_t count =
            static_cast<int32_t>((layer == 0 ? start.horizontal : start.vertical).size());
        for (int32_t i = 0; i < count; ++i) {
            const StickSlot s{orientation, i};
            const bool active =
                layer == 0 ? board.isActiveHorizontal(i) : board.isActiveVertical(i);
            if (!active || start.at(s) != solution.at(s)) {
                continue;
            }
            (start.at(s) != 0 ? keptSticks : emptySlots).push_back(s);
        }
    }
    const auto flip = [&](StickSlot s) {
        auto& l = s.orientation == Horizontal ? layout.horizontal : layout.vertical;
        l[static_cast<size_t>(s.index)] = l[static_cast<size_t>(s.index)] != 0 ? 0 : 1;
        changes.insert(changes.begin(), s);
    };
    switch (board.getMode()) {
        case Add:
            if (emptySlots.empty()) {
                return false;
            }
            flip(emptySlots[emptySlots.size() / 2]);
            return true;
        case Remove:
            if (keptSticks.empty()) {
                return false;
            }
            flip(keptSticks[keptSticks.size() / 2]);
            return true;
        case Move:
            if (keptSticks.empty() || emptySlots.empty()) {
                return false;
            }
            flip(keptSticks[keptSticks.size() / 2]);
            flip(emptySlots[emptySlots.size() / 2]);
            return true;
    }
    return false;
}

void hintAfterADetour(benchmark::State& state, ActionType type) {
    struct Position {
        std::unique_ptr<TestBoard> board;
        StickLayers layout;
        std::vector<StickSlot> changes;
    };
    std::vector<Position> positions;
    randomSource().seed(kSeed);
    while (static_cast<int32_t>(positions.size()) < kPositions) {
        Position p{std::make_unique<TestBoard>(), {}, {}};
        p.board->setFieldSize(5);
        p.board->setActionType(type);
        p.board->newPuzzle();
        p.layout = p.board->getStartSticks();
        if (moveOffTheSolution(*p.board, p.layout, p.changes)) {
            p.board->setCurrent(p.layout);
            positions.push_back(std::move(p));
        }
    }
    int64_t total = 0;
    int64_t slowest = 0;
    int64_t hints = 0;
    int64_t searches = 0;
    int64_t outOfNodes = 0;
    int64_t found = 0;
    for (auto _ : state) {
        for (Position& p : positions) {
            const int64_t start = threadCpuNanoseconds();
            auto hint = nextHint(*p.board, p.layout, p.changes, nullptr);
            const int64_t ns = threadCpuNanoseconds() - start;
            benchmark::DoNotOptimize(hint);
            total += ns;
            slowest = std::max(slowest, ns);
            ++hints;
        }
    }
    // What the searches came to, outside the timing.
    for (Position& p : positions) {
        SolutionSearch search(*p.board);
        found += search.solutionKeeping(p.layout).has_value() ? 1 : 0;
        outOfNodes += search.ranOutOfNodes() ? 1 : 0;
        ++searches;
    }
    state.counters["mean_ms"] = static_cast<double>(total) / static_cast<double>(hints) / 1e6;
    state.counters["slowest_ms"] = static_cast<double>(slowest) / 1e6;
    state.counters["found"] = static_cast<double>(found) / static_cast<double>(searches);
    state.counters["out_of_nodes"] =
        static_cast<double>(outOfNodes) / static_cast<double>(searches);
}

void undoPixels(benchmark::State& state, ActionType type) {
    HeadlessGame game(KZ_SOURCE_ROOT);
    game.session().enableExtras();
    game.paintAll();
    const uint64_t wholeFrame = game.display().pixelsWritten();
    game.screen().setFieldSize(5);
    game.screen().setActionType(type);
    randomSource().seed(kSeed);
    auto [nx, ny] = HeadlessGame::centreOf(*game.screen().getNextButton());
    game.click(nx, ny);
    const auto changes = solutionChanges(*game.screen().getBoard());
    const auto first =
        type == MoveFromSome || !changes.taken.empty() ? changes.taken[0] : changes.filled[0];
    const auto clickStick = [&](std::pair<StickOrientation, int32_t> s) {
        auto [x, y] = game.stickCentre(s.first, s.second);
        game.click(x, y);
    };
    uint64_t pixels = 0;
    int64_t undos = 0;
    for (auto _ : state) {
        clickStick(first);
        if (type == MoveFromSome) {
            clickStick(changes.filled[0]);
        }
        game.moveTo(3, 3);
        game.redraw();
        game.display().resetPixelsWritten();
        game.key(msg::KeyDown, virtualkey::Z, keyflag::Control);
        pixels += game.display().pixelsWritten();
        ++undos;
    }
    state.counters["pixels_per_undo"] = static_cast<double>(pixels) / static_cast<double>(undos);
    state.counters["pixels_per_frame"] = static_cast<double>(wholeFrame);
}

void registerAll() {
    const std::pair<const char*, ActionType> types[] = {{"AddFromNone", AddFromNone},
                                                        {"AddFromSome", AddFromSome},
                                                        {"MoveFromSome", MoveFromSome},
                                                        {"RemoveFromFull", RemoveFromFull},
                                                        {"RemoveFromSome", RemoveFromSome}};
    for (const auto& [name, type] : types) {
        benchmark::RegisterBenchmark((std::string("Hint/") + name).c_str(), hintAfterADetour, type)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    for (ActionType type : {RemoveFromFull, MoveFromSome}) {
        benchmark::RegisterBenchmark((std::string("UndoPixels/") +
                                      (type == MoveFromSome ? "MoveFromSome" : "RemoveFromFull"))
                                         .c_str(),
                                     undoPixels, type);
    }
}

}  // namespace
}  // namespace kz

int main(int argc, char** argv) {
    kz::registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
