// Cost of newPuzzle for every field size and action type on a 5 x 5 board. The generator
// repeats its picks until they fit, so the tail matters more than the mean: each run times
// 20,000 puzzles one by one and reports the mean, the 99th percentile and the slowest, with
// the random draws per puzzle and the time per draw. The most draws any one puzzle took tells
// the generator's own worst case apart from a slowest time the scheduler stretched.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "puzzle/puzzle_board.h"
#include "puzzle/random_source.h"

namespace kz {
namespace {

constexpr int32_t kPuzzlesPerRun = 20000;
// Fixed so that every run generates the same puzzles.
constexpr uint32_t kSeed = 20240611;

constexpr FieldSize kFieldSizes[] = {0, 2, 3, 4, 5};
constexpr ActionType kActionTypes[] = {Mixed,        AddFromNone,    AddFromSome,
                                       MoveFromSome, RemoveFromFull, RemoveFromSome};

double microseconds(int64_t nanoseconds) {
    return static_cast<double>(nanoseconds) / 1000.0;
}

void generatePuzzles(benchmark::State& state, FieldSize size, ActionType type) {
    PuzzleBoard board;
    board.configureField(5, 5);
    board.setFieldSize(size);
    board.setActionType(type);
    RandomSource& random = board.randomSource();

    std::vector<int64_t> times(static_cast<size_t>(kPuzzlesPerRun));
    int64_t totalNanoseconds = 0;
    uint64_t totalDraws = 0;
    uint64_t mostDraws = 0;
    int64_t puzzles = 0;
    for (auto _ : state) {
        random.seed(kSeed);
        const uint64_t drawsBefore = random.drawCount();
        for (int64_t& time : times) {
            const uint64_t drawsAtStart = random.drawCount();
            const auto start = std::chrono::steady_clock::now();
            board.newPuzzle();
            const auto stop = std::chrono::steady_clock::now();
            mostDraws = std::max(mostDraws, random.drawCount() - drawsAtStart);
            benchmark::DoNotOptimize(board.getRequiredMoves());
            time = std::chrono::duration_cast<std::chrono::nanoseconds>(stop - start).count();
            totalNanoseconds += time;
        }
        totalDraws += random.drawCount() - drawsBefore;
        puzzles += kPuzzlesPerRun;
    }

    // The percentiles describe the last run; with Iterations(1) that is the only one.
    std::sort(times.begin(), times.end());
    const size_t p99 = (times.size() * 99 + 99) / 100 - 1;  // nearest rank
    state.counters["mean_us"] = microseconds(totalNanoseconds) / static_cast<double>(puzzles);
    state.counters["p99_us"] = microseconds(times[p99]);
    state.counters["max_us"] = microseconds(times.back());
    state.counters["draws_per_puzzle"] =
        static_cast<double>(totalDraws) / static_cast<double>(puzzles);
    state.counters["max_draws"] = static_cast<double>(mostDraws);
    state.counters["ns_per_draw"] = static_cast<double>(totalNanoseconds) /
                                    static_cast<double>(std::max<uint64_t>(totalDraws, 1));
}

void registerGeneratorBenchmarks() {
    for (FieldSize size : kFieldSizes) {
        for (ActionType type : kActionTypes) {
            const std::string name = "newPuzzle/size:" + std::to_string(size) +
                                     "/type:" + std::to_string(static_cast<int32_t>(type));
            benchmark::RegisterBenchmark(
                name.c_str(),
                [size, type](benchmark::State& state) { generatePuzzles(state, size, type); })
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

}  // namespace
}  // namespace kz

int main(int argc, char** argv) {
    kz::registerGeneratorBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
