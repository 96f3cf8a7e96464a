// The grades, measured for every action type and field size over fixed seeds.
//
// Measure/KIND/SIZE: puzzles as the generator draws them, each measured by the solver: the
// share of them in each grade, and of trivial, tedious, unique (one shape) and loose (too
// many solutions to list) ones.
// Draw/GRADE/KIND/SIZE: graded Next presses: the puzzles drawn for one, the CPU time of one
// (p50, p99, slowest) and, of the puzzles handed out, the share with one shape.
// Times are CPU time of this thread, so another process on the machine does not count.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "app/common/extras_texts.h"
#include "puzzle/embedded_catalogue.h"
#include "puzzle/puzzle_grade.h"
#include "puzzle/random_source.h"

namespace kz {
namespace {

constexpr int32_t kMeasured = 1000;
constexpr int32_t kGradedDraws = 100;
constexpr uint32_t kSeed = 20261209;

int64_t threadCpuNanoseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

double share(int32_t count, int32_t of) {
    return static_cast<double>(count) / static_cast<double>(of);
}

void reportTimes(benchmark::State& state, std::vector<int64_t> times) {
    std::sort(times.begin(), times.end());
    const auto rank = [&](size_t percent) {
        return times[(times.size() * percent + 99) / 100 - 1];
    };
    state.counters["p50_ms"] = static_cast<double>(rank(50)) / 1e6;
    state.counters["p99_ms"] = static_cast<double>(rank(99)) / 1e6;
    state.counters["max_ms"] = static_cast<double>(times.back()) / 1e6;
}

void measure(benchmark::State& state, ActionType type, FieldSize size) {
    for (auto _ : state) {
        PuzzleBoard board;
        board.configureField(5, 5);
        board.setFieldSize(size);
        board.setActionType(type);
        board.randomSource().seed(kSeed + static_cast<uint32_t>(size));
        int32_t inGrade[4] = {};
        int32_t trivial = 0;
        int32_t tedious = 0;
        int32_t unique = 0;
        int32_t loose = 0;
        std::vector<int64_t> times;
        for (int32_t i = 0; i < kMeasured; ++i) {
            board.newPuzzle();
            const int64_t start = threadCpuNanoseconds();
            const PuzzleMeasure m = measurePuzzle(board);
            times.push_back(threadCpuNanoseconds() - start);
            for (Difficulty grade : kGrades) {
                inGrade[grade] += meetsGrade(grade, m) ? 1 : 0;
            }
            trivial += isTrivial(m) ? 1 : 0;
            tedious += isTedious(m) ? 1 : 0;
            unique += m.shapes == 1 ? 1 : 0;
            loose += m.listed() ? 0 : 1;
        }
        state.counters["easy"] = share(inGrade[Easy], kMeasured);
        state.counters["medium"] = share(inGrade[Medium], kMeasured);
        state.counters["hard"] = share(inGrade[Hard], kMeasured);
        state.counters["trivial"] = share(trivial, kMeasured);
        state.counters["tedious"] = share(tedious, kMeasured);
        state.counters["unique"] = share(unique, kMeasured);
        state.counters["loose"] = share(loose, kMeasured);
        reportTimes(state, times);
    }
}

void draw(benchmark::State& state, Difficulty grade, ActionType type, FieldSize size) {
    const PuzzleCatalogue catalogue = embeddedCatalogue().value();
    for (auto _ : state) {
        RandomSource random;
        random.seed(kSeed + static_cast<uint32_t>(size));
        std::vector<int64_t> times;
        int64_t draws = 0;
        int32_t mostDraws = 0;
        int32_t unique = 0;
        PuzzleBoard board;
        board.configureField(5, 5);
        for (int32_t i = 0; i < kGradedDraws; ++i) {
            const int64_t start = threadCpuNanoseconds();
            const GradedPick d = pickGradedPuzzle(random, grade, size, type, 5, 5, &catalogue);
            times.push_back(threadCpuNanoseconds() - start);
            draws += d.puzzlesMade;
            mostDraws = std::max(mostDraws, d.puzzlesMade);
            board.newPuzzleFrom(d.origin);
            unique += measurePuzzle(board).shapes == 1 ? 1 : 0;
        }
        state.counters["draws"] = static_cast<double>(draws) / kGradedDraws;
        state.counters["most_draws"] = mostDraws;
        state.counters["unique"] = share(unique, kGradedDraws);
        reportTimes(state, times);
    }
}

constexpr std::pair<const char*, ActionType> kTypes[] = {
    {"AddFromNone", AddFromNone},       {"AddFromSome", AddFromSome},
    {"MoveFromSome", MoveFromSome},     {"RemoveFromFull", RemoveFromFull},
    {"RemoveFromSome", RemoveFromSome}, {"Mixed", Mixed}};

std::string sizeName(FieldSize size) {
    return size == 0 ? "random" : std::to_string(size) + "x" + std::to_string(size);
}

void registerGradeBenchmarks() {
    for (const auto& [name, type] : kTypes) {
        for (FieldSize size : {2, 3, 4, 5, 0}) {
            const std::string label = std::string("Measure/") + name + "/" + sizeName(size);
            benchmark::RegisterBenchmark(
                label.c_str(),
                [type = type, size](benchmark::State& state) { measure(state, type, size); })
                ->Iterations(1)
                ->Unit(benchmark::kMillisecond);
        }
    }
    for (Difficulty grade : kGrades) {
        for (const auto& [name, type] : kTypes) {
            for (FieldSize size : {2, 3, 4, 5, 0}) {
                const std::string label = std::string("Draw/") + difficultyName(grade) + "/" +
                                          name + "/" + sizeName(size);
                benchmark::RegisterBenchmark(label.c_str(),
                                             [grade, type = type, size](benchmark::State& state) {
                                                 draw(state, grade, type, size);
                                             })
                    ->Iterations(1)
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
}

}  // namespace
}  // namespace kz

int main(int argc, char** argv) {
    kz::registerGradeBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
