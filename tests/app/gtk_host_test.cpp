#include <gtest/gtest.h>

#include <vector>

#include "app/gtk/gtk_host.h"
#include "tests/support/glib_main_loop.h"

namespace kz {
namespace {

TEST(GtkHost, ATimerTicksWithItsIdUntilStopped) {
    std::vector<uint32_t> ticks;
    GtkHost host([&](uint32_t id) { ticks.push_back(id); }, nullptr);
    EXPECT_EQ(host.startTimer(1, 5), 1u);
    ASSERT_TRUE(runUntil([&] { return ticks.size() >= 3; }, 2000));
    for (uint32_t id : ticks) {
        EXPECT_EQ(id, 1u);
    }
    host.stopTimer(1);
    EXPECT_EQ(host.runningTimers(), 0u);
    size_t count = ticks.size();
    runUntil([] { return false; }, 40);
    EXPECT_EQ(ticks.size(), count);
}

TEST(GtkHost, StartingARunningTimerAgainReplacesIt) {
    int ticks = 0;
    GtkHost host([&](uint32_t) { ++ticks; }, nullptr);
    EXPECT_EQ(host.startTimer(1, 5), 1u);
    EXPECT_EQ(host.startTimer(1, 60000), 1u);
    EXPECT_EQ(host.runningTimers(), 1u);
    runUntil([] { return false; }, 40);
    EXPECT_EQ(ticks, 0);
}

TEST(GtkHost, ATimerCanBeStoppedFromItsOwnTick) {
    int ticks = 0;
    GtkHost* self = nullptr;
    GtkHost host(
        [&](uint32_t id) {
            ++ticks;
            self->stopTimer(id);
        },
        nullptr);
    self = &host;
    host.startTimer(1, 2);
    runUntil([] { return false; }, 40);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(host.runningTimers(), 0u);
}

TEST(GtkHost, StoppingATimerThatDoesNotRunIsHarmless) {
    GtkHost host(nullptr, nullptr);
    host.stopTimer(0);
    host.stopTimer(1);
    EXPECT_EQ(host.startTimer(0, 1000), 0u);
    EXPECT_EQ(host.runningTimers(), 0u);
}

TEST(GtkHost, QuitKeepsTheLastExitCode) {
    int quits = 0;
    GtkHost host(nullptr, [&] { ++quits; });
    EXPECT_FALSE(host.quitRequested());
    host.quit(0);
    host.quit(1);
    EXPECT_TRUE(host.quitRequested());
    EXPECT_EQ(host.exitCode(), 1);
    EXPECT_EQ(quits, 2);
}

TEST(GtkHost, TimersEndWithTheHost) {
    int ticks = 0;
    {
        GtkHost host([&](uint32_t) { ++ticks; }, nullptr);
        host.startTimer(1, 1);
        host.startTimer(2, 1);
    }
    runUntil([] { return false; }, 30);
    EXPECT_EQ(ticks, 0);
}

}  // namespace
}  // namespace kz
