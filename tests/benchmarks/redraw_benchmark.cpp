// Redraw cost of a tree shaped like the game screen, drawn into the software surface:
// the whole 690 x 500 client area, and the change of one element.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "display/backdrop.h"
#include "display/counter.h"
#include "display/element.h"
#include "software/software_display.h"
#include "tests/support/counting_display.h"
#include "tests/support/holder.h"
#include "tests/support/recording_display.h"
#include "tests/support/test_bitmaps.h"

namespace kz {
namespace {

uint32_t plain(int32_t x, int32_t y) {
    return static_cast<uint32_t>((x * 7 + y * 13) & 0xFF);
}

// Felt, four panels, a 5 x 5 field of 60 sticks in a board container, four counters.
struct Screen {
    Screen()
        : display(690, 500, shelf()),
          felt(&display, BitmapName::resource(102), 100, 100, 1, 1, 1),
          horizontal(&display, BitmapName::resource(105), 80, 120, 1, 8, 8),
          vertical(&display, BitmapName::resource(104), 120, 80, 8, 1, 8),
          instructions(&display, BitmapName::resource(111), 152, 165, 1, 1, 1),
          movesPanel(&display, BitmapName::resource(112), 152, 94, 1, 1, 1),
          timePanel(&display, BitmapName::resource(109), 152, 94, 1, 1, 1),
          controls(&display, BitmapName::resource(115), 152, 116, 1, 1, 1),
          small(&display, BitmapName::resource(119), 48, 20, 6, 2, 12),
          large(&display, BitmapName::resource(117), 84, 32, 6, 2, 12),
          root() {
        root.setSize(690, 500);
        root.add<Backdrop>(0, 0, 690, 500, &felt);
        test::Holder* board = root.add<test::Holder>(0, 0, nullptr);
        board->setSize(490, 500);
        for (int32_t row = 0; row <= 5; ++row) {
            for (int32_t col = 0; col < 5; ++col) {
                sticks.push_back(
                    board->add<Element>(45 + col * 80 + 7, 40 + row * 80, &horizontal));
            }
        }
        for (int32_t row = 0; row < 5; ++row) {
            for (int32_t col = 0; col <= 5; ++col) {
                sticks.push_back(board->add<Element>(45 + col * 80, 40 + row * 80 + 7, &vertical));
            }
        }
        root.add<Element>(514, 10, &instructions);
        root.add<Element>(514, 180, &movesPanel);
        root.add<Element>(514, 278, &timePanel);
        root.add<Element>(514, 376, &controls);
        root.add<Counter>(560, 60, &small, 2, 3, true);
        root.add<Counter>(560, 90, &small, 2, 5, true);
        root.add<Counter>(576, 220, &large, 2, 0, true);
        clock = root.add<Counter>(534, 318, &large, 8, 0, false, true);
        root.invalidateRect({0, 0, 690, 500});
        root.draw(display.target());
        display.resetPixelsWritten();
    }

    static SoftwareDisplay::BitmapResolver shelf() {
        auto bitmaps = std::make_shared<test::BitmapShelf>();
        bitmaps->bitmaps[102] = test::makeBmp(100, 100, plain);
        bitmaps->bitmaps[105] = test::makeBmp(80, 120, plain);
        bitmaps->bitmaps[104] = test::makeBmp(120, 80, plain);
        bitmaps->bitmaps[111] = test::makeBmp(152, 165, plain);
        bitmaps->bitmaps[112] = test::makeBmp(152, 94, plain);
        bitmaps->bitmaps[109] = test::makeBmp(152, 94, plain);
        bitmaps->bitmaps[115] = test::makeBmp(152, 116, plain);
        bitmaps->bitmaps[119] = test::makeBmp(48, 20, plain);
        bitmaps->bitmaps[117] = test::makeBmp(84, 32, plain);
        return [bitmaps](int32_t id, int32_t scale) { return bitmaps->resolver()(id, scale); };
    }

    test::CountingDisplay display;
    Image felt, horizontal, vertical, instructions, movesPanel, timePanel, controls, small, large;
    test::Holder root;
    std::vector<Element*> sticks;
    Counter* clock = nullptr;
};

void report(benchmark::State& state, const Screen& screen) {
    state.counters["pixels_per_frame"] = benchmark::Counter(
        static_cast<double>(screen.display.pixelsWritten()), benchmark::Counter::kAvgIterations);
}

void BM_FullRedraw(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) {
        screen.root.invalidateRect({0, 0, 690, 500});
        benchmark::DoNotOptimize(screen.root.draw(screen.display.target()));
    }
    report(state, screen);
}
BENCHMARK(BM_FullRedraw);

void BM_OneStickChange(benchmark::State& state) {
    Screen screen;
    Element* stick = screen.sticks[17];
    int32_t frame = 0;
    for (auto _ : state) {
        frame = frame == 0 ? 4 : 0;
        stick->setFrame(frame);
        benchmark::DoNotOptimize(screen.root.draw(screen.display.target()));
    }
    report(state, screen);
}
BENCHMARK(BM_OneStickChange);

void BM_ClockTick(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) {
        if (screen.clock->getValue() == screen.clock->getMaxValue()) {
            screen.clock->setValue(0);
        }
        screen.clock->increment();
        benchmark::DoNotOptimize(screen.root.draw(screen.display.target()));
    }
    report(state, screen);
}
BENCHMARK(BM_ClockTick);

void BM_Idle(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) {
        benchmark::DoNotOptimize(screen.root.draw(screen.display.target()));
    }
    report(state, screen);
}
BENCHMARK(BM_Idle);

}  // namespace
}  // namespace kz

BENCHMARK_MAIN();
