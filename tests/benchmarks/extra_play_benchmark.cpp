// What the extra play costs. UndoPixels: the pixels one undo writes, against those of a
// whole frame. (What a hint costs is hint_benchmark's.)
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "app/common/game_session.h"
#include "display/messages.h"
#include "puzzle/random_source.h"
#include "tests/support/headless_game.h"

namespace kz {
namespace {

constexpr uint32_t kSeed = 20261208;

void undoPixels(benchmark::State& state, ActionType type) {
    HeadlessGame game(KZ_SOURCE_ROOT, GameSettings{}, 1, HeadlessGame::withExtras());
    game.paintAll();
    const uint64_t wholeFrame = game.display().pixelsWritten();
    game.screen().setFieldSize(5);
    game.screen().setActionType(type);
    game.board().randomSource().seed(kSeed);
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
