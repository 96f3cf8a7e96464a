#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include "app/gtk/quit_signals.h"
#include "tests/support/glib_main_loop.h"

namespace kz {
namespace {

TEST(QuitSignals, EachSignalReachesTheHandlerOnTheMainLoopAndLeavesTheProcessAlive) {
    std::vector<int> received;
    QuitSignals signals([&](int number) { received.push_back(number); });
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        size_t before = received.size();
        ASSERT_EQ(raise(number), 0);
        // Not from the signal handler itself: only the main loop delivers it.
        EXPECT_EQ(received.size(), before);
        ASSERT_TRUE(runUntil([&] { return received.size() > before; }, 2000)) << number;
        EXPECT_EQ(received.back(), number);
    }
    // A second request while the first is being handled arrives as well.
    raise(SIGTERM);
    ASSERT_TRUE(runUntil([&] { return received.size() == 4; }, 2000));
}

TEST(QuitSignals, AfterwardsTheSignalsHaveTheirDefaultActionAgain) {
    {
        QuitSignals signals([](int) {});
    }
    for (int number : QuitSignals::signalNumbers()) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(number, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << number;
    }
}

}  // namespace
}  // namespace kz
