#include <gtest/gtest.h>

#include "app/win32/blit_clipping.h"
#include "tests/support/recording_display.h"

namespace kz {
namespace {

const Rect kScreen{0, 0, 1024, 768};

TEST(BlitClipping, ABlitInsideTheScreenIsUnchanged) {
    const auto clipped = clipBlit({10, 20, 110, 120}, {0, 0, 100, 100}, kScreen);
    ASSERT_TRUE(clipped.has_value());
    EXPECT_EQ(clipped->dst, (Rect{10, 20, 110, 120}));
    EXPECT_EQ(clipped->src, (Rect{0, 0, 100, 100}));
    // Touching the edges from inside is still inside.
    const auto full = clipBlit(kScreen, {5, 5, 1029, 773}, kScreen);
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->src, (Rect{5, 5, 1029, 773}));
}

TEST(BlitClipping, EachEdgeMovesTheSourceBySameAmount) {
    // Off the left by 30: the first 30 source columns are not drawn.
    auto c = clipBlit({-30, 100, 70, 150}, {200, 10, 300, 60}, kScreen);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->dst, (Rect{0, 100, 70, 150}));
    EXPECT_EQ(c->src, (Rect{230, 10, 300, 60}));
    // Off the top by 5.
    c = clipBlit({0, -5, 62, 47}, {62, 0, 124, 52}, kScreen);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->dst, (Rect{0, 0, 62, 47}));
    EXPECT_EQ(c->src, (Rect{62, 5, 124, 52}));
    // Off the right by 16 and the bottom by 2.
    c = clipBlit({1000, 760, 1040, 770}, {0, 0, 40, 10}, kScreen);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->dst, (Rect{1000, 760, 1024, 768}));
    EXPECT_EQ(c->src, (Rect{0, 0, 24, 8}));
    // Larger than the screen on every side.
    c = clipBlit({-10, -20, 1034, 788}, {0, 0, 1044, 808}, kScreen);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->dst, kScreen);
    EXPECT_EQ(c->src, (Rect{10, 20, 1034, 788}));
    EXPECT_EQ(c->dst.width(), c->src.width());
    EXPECT_EQ(c->dst.height(), c->src.height());
}

TEST(BlitClipping, NothingIsLeftOfABlitOffTheScreen) {
    EXPECT_FALSE(clipBlit({-100, 0, 0, 50}, {0, 0, 100, 50}, kScreen).has_value());
    EXPECT_FALSE(clipBlit({1024, 0, 1100, 50}, {0, 0, 76, 50}, kScreen).has_value());
    EXPECT_FALSE(clipBlit({0, 768, 50, 800}, {0, 0, 50, 32}, kScreen).has_value());
    EXPECT_FALSE(clipBlit({0, -32, 50, 0}, {0, 0, 50, 32}, kScreen).has_value());
    // An empty destination draws nothing either.
    EXPECT_FALSE(clipBlit({10, 10, 10, 20}, {0, 0, 0, 10}, kScreen).has_value());
}

TEST(BlitClipping, FillsAreClippedAlike) {
    EXPECT_EQ(clipFill({-5, 700, 100, 800}, kScreen), (Rect{0, 700, 100, 768}));
    EXPECT_EQ(clipFill({3, 4, 5, 6}, kScreen), (Rect{3, 4, 5, 6}));
    EXPECT_FALSE(clipFill({2000, 0, 2100, 10}, kScreen).has_value());
    // Bounds that do not start at the origin.
    EXPECT_EQ(clipFill({0, 0, 50, 50}, {10, 20, 30, 40}), (Rect{10, 20, 30, 40}));
}

}  // namespace
}  // namespace kz
