#include <gtest/gtest.h>

#include "app/win32/lost_surface_retry.h"

namespace kz {
namespace {

constexpr long kOk = 0;
constexpr long kLost = -2005532222;  // DDERR_SURFACELOST
constexpr long kOtherError = -1;

struct Script {
    std::vector<long> results;  // what each attempt returns, in order
    bool restoreWorks = true;
    int attempts = 0;
    int restores = 0;

    long run() {
        return retryAfterRestore([&] { return results.at(attempts++); },
                                 [&] {
                                     ++restores;
                                     return restoreWorks;
                                 },
                                 kLost);
    }
};

TEST(LostSurfaceRetry, SuccessNeedsNoRestore) {
    Script s{{kOk}};
    EXPECT_EQ(s.run(), kOk);
    EXPECT_EQ(s.attempts, 1);
    EXPECT_EQ(s.restores, 0);
}

TEST(LostSurfaceRetry, OtherFailuresAreNotRetried) {
    Script s{{kOtherError, kOk}};
    EXPECT_EQ(s.run(), kOtherError);
    EXPECT_EQ(s.attempts, 1);
    EXPECT_EQ(s.restores, 0);
}

TEST(LostSurfaceRetry, LostSurfaceIsRestoredAndTheBlitRepeated) {
    Script s{{kLost, kOk}};
    EXPECT_EQ(s.run(), kOk);
    EXPECT_EQ(s.attempts, 2);
    EXPECT_EQ(s.restores, 1);
}

TEST(LostSurfaceRetry, StillFailingAfterRestoreIsFinal) {
    Script s{{kLost, kLost, kOk}};
    EXPECT_EQ(s.run(), kLost);
    EXPECT_EQ(s.attempts, 2);
    EXPECT_EQ(s.restores, 1);

    Script other{{kLost, kOtherError}};
    EXPECT_EQ(other.run(), kOtherError);
}

TEST(LostSurfaceRetry, FailedRestoreDoesNotRetry) {
    Script s{{kLost, kOk}};
    s.restoreWorks = false;
    EXPECT_EQ(s.run(), kLost);
    EXPECT_EQ(s.attempts, 1);
    EXPECT_EQ(s.restores, 1);
}

}  // namespace
}  // namespace kz
