// What a hint costs, for every action type and field size (each square one and the random
// size, which draws the oblong fields). Each benchmark builds a fixed set of positions
// (fixed seeds): every puzzle's start and the start after 1 to 8 random changes the mode
// allows, so that many positions have no solution keeping the changes and the search must
// prove it; then it times one hint per position in CPU time of this thread, so another
// process on the machine does not count. It reports the slowest hint, the 99th percentile
// and the mean in ms, and the share of hints whose aim does not keep every change, so that
// they take one back.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "puzzle/hint.h"
#include "puzzle/random_source.h"
#include "tests/puzzle/random_changes.h"
#include "tests/puzzle/test_board.h"

namespace kz {
namespace {

constexpr int32_t kPuzzles = 1000;
constexpr int32_t kMostChanges = 8;
constexpr uint32_t kSeed = 20261209;

int64_t threadCpuNanoseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Whether the solution keeps every slot the changes left different from the start.
bool keepsEveryChange(const StickLayers& solution, const StickLayers& start,
                      const PlayedPosition& p) {
    return std::all_of(p.changes.begin(), p.changes.end(), [&](StickSlot s) {
        return p.layout.at(s) == start.at(s) || solution.at(s) == p.layout.at(s);
    });
}

void hints(benchmark::State& state, ActionType type, FieldSize size) {
    struct Puzzle {
        std::unique_ptr<TestBoard> board;
        std::vector<PlayedPosition> positions;
    };
    std::vector<Puzzle> puzzles;
    // Each puzzle's board draws on where the one before it stopped, as one game's Next would.
    uint32_t drawnTo = kSeed + static_cast<uint32_t>(size);
    for (int32_t i = 0; i < kPuzzles; ++i) {
        Puzzle puzzle{std::make_unique<TestBoard>(), {}};
        puzzle.board->setFieldSize(size);
        puzzle.board->setActionType(type);
        puzzle.board->randomSource().seed(drawnTo);
        puzzle.board->newPuzzle();
        drawnTo = puzzle.board->randomSource().currentState();
        std::mt19937 random(kSeed + static_cast<uint32_t>(i));
        for (int32_t changes = 0; changes <= kMostChanges; ++changes) {
            puzzle.positions.push_back(randomChanges(*puzzle.board, changes, random));
        }
        puzzles.push_back(std::move(puzzle));
    }
    std::vector<int64_t> times;
    int64_t takeBacks = 0;
    for (auto _ : state) {
        times.clear();
        takeBacks = 0;
        for (Puzzle& puzzle : puzzles) {
            for (const PlayedPosition& p : puzzle.positions) {
                puzzle.board->setCurrent(p.layout);
                const int64_t start = threadCpuNanoseconds();
                const auto hint = nextHint(*puzzle.board, p.layout, p.changes, nullptr);
                times.push_back(threadCpuNanoseconds() - start);
                benchmark::DoNotOptimize(hint);
                takeBacks +=
                    hint && !keepsEveryChange(hint->solution, puzzle.board->getStartSticks(), p)
                        ? 1
                        : 0;
            }
        }
    }
    std::sort(times.begin(), times.end());
    const size_t p99 = (times.size() * 99 + 99) / 100 - 1;  // nearest rank
    int64_t total = 0;
    for (int64_t t : times) {
        total += t;
    }
    state.counters["positions"] = static_cast<double>(times.size());
    state.counters["max_ms"] = static_cast<double>(times.back()) / 1e6;
    state.counters["p99_ms"] = static_cast<double>(times[p99]) / 1e6;
    state.counters["mean_ms"] =
        static_cast<double>(total) / static_cast<double>(times.size()) / 1e6;
    state.counters["take_back"] =
        static_cast<double>(takeBacks) / static_cast<double>(times.size());
}

void registerHintBenchmarks() {
    const std::pair<const char*, ActionType> types[] = {{"AddFromNone", AddFromNone},
                                                        {"AddFromSome", AddFromSome},
                                                        {"MoveFromSome", MoveFromSome},
                                                        {"RemoveFromFull", RemoveFromFull},
                                                        {"RemoveFromSome", RemoveFromSome}};
    for (const auto& [name, type] : types) {
        for (FieldSize size : {2, 3, 4, 5, 0}) {
            const std::string field =
                size == 0 ? "random" : std::to_string(size) + "x" + std::to_string(size);
            const std::string label = std::string("Hint/") + name + "/" + field;
            benchmark::RegisterBenchmark(
                label.c_str(),
                [type = type, size](benchmark::State& state) { hints(state, type, size); })
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace
}  // namespace kz

int main(int argc, char** argv) {
    kz::registerHintBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
