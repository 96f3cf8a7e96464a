#include <gtest/gtest.h>

#include "app/win32/blit_clipping.h"

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

// Two monitors of 1280 x 1024, the second left of the primary: the virtual screen starts at
// x = -1280, and the primary surface says it is the primary monitor's size.
const Rect kDesktopWithLeftMonitor{-1280, 0, 1280, 1024};
const Rect kPrimary{0, 0, 1280, 1024};

TEST(BlitClipping, AWindowLeftOfThePrimaryMonitorIsKeptWhole) {
    // Wholly on the left monitor: nothing is cut off.
    auto c = clipBlit({-1000, 100, -310, 600}, {0, 0, 690, 500}, kDesktopWithLeftMonitor);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->dst, (Rect{-1000, 100, -310, 600}));
    EXPECT_EQ(c->src, (Rect{0, 0, 690, 500}));
    // Off the desktop's left edge by 20: the source loses its first 20 columns.
    c = clipBlit({-1300, 0, -1200, 50}, {100, 0, 200, 50}, kDesktopWithLeftMonitor);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->dst, (Rect{-1280, 0, -1200, 50}));
    EXPECT_EQ(c->src, (Rect{120, 0, 200, 50}));
    EXPECT_FALSE(clipFill({-1400, 0, -1280, 10}, kDesktopWithLeftMonitor).has_value());
}

TEST(BlitClipping, ABlitAcrossMonitorsSplitsAtThePrimarySurface) {
    // Across the seam at x = 0: 40 columns on the left monitor, 60 on the primary.
    const auto parts = splitAtPrimary({{-40, 10, 60, 30}, {200, 5, 300, 25}}, kPrimary);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_FALSE(parts[0].outsidePrimary);
    EXPECT_EQ(parts[0].blit.dst, (Rect{0, 10, 60, 30}));
    EXPECT_EQ(parts[0].blit.src, (Rect{240, 5, 300, 25}));
    EXPECT_TRUE(parts[1].outsidePrimary);
    EXPECT_EQ(parts[1].blit.dst, (Rect{-40, 10, 0, 30}));
    EXPECT_EQ(parts[1].blit.src, (Rect{200, 5, 240, 25}));

    // Wholly on a monitor right of the primary: one piece, all of it outside.
    const auto right = splitAtPrimary({{1500, 100, 2190, 600}, {0, 0, 690, 500}}, kPrimary);
    ASSERT_EQ(right.size(), 1u);
    EXPECT_TRUE(right[0].outsidePrimary);
    EXPECT_EQ(right[0].blit.dst, (Rect{1500, 100, 2190, 600}));
    EXPECT_EQ(right[0].blit.src, (Rect{0, 0, 690, 500}));

    // Wholly inside: one piece, drawn as before.
    const auto inside = splitAtPrimary({{10, 10, 20, 20}, {0, 0, 10, 10}}, kPrimary);
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_FALSE(inside[0].outsidePrimary);
}

TEST(BlitClipping, PiecesAroundThePrimaryCoverTheBlitOnce) {
    // Larger than the primary on every side: the inside piece and four bands.
    const ClippedBlit blit{{-10, -20, 1300, 1030}, {0, 0, 1310, 1050}};
    const auto parts = splitAtPrimary(blit, kPrimary);
    ASSERT_EQ(parts.size(), 5u);
    int64_t area = 0;
    for (size_t i = 0; i < parts.size(); ++i) {
        const ClippedBlit& p = parts[i].blit;
        EXPECT_EQ(parts[i].outsidePrimary, i != 0);
        EXPECT_EQ(p.dst.width(), p.src.width());
        EXPECT_EQ(p.dst.height(), p.src.height());
        // The source moves with the destination.
        EXPECT_EQ(p.src.left - p.dst.left, 10);
        EXPECT_EQ(p.src.top - p.dst.top, 20);
        area += int64_t{p.dst.width()} * p.dst.height();
        for (size_t j = 0; j < i; ++j) {
            EXPECT_TRUE(p.dst.intersected(parts[j].blit.dst).empty()) << i << " overlaps " << j;
        }
    }
    EXPECT_EQ(area, int64_t{1310} * 1050);
    EXPECT_EQ(parts[0].blit.dst, kPrimary);
}

TEST(BlitClipping, OnlyAClientAreaWhollyOnThePrimaryIsDrawnOnThePrimarySurface) {
    const Rect desktopWithRightMonitor{0, 0, 2560, 1024};
    // Wholly on the primary, also touching its edges from inside.
    EXPECT_TRUE(onPrimarySurface({300, 200, 990, 700}, desktopWithRightMonitor, kPrimary));
    EXPECT_TRUE(onPrimarySurface({590, 524, 1280, 1024}, desktopWithRightMonitor, kPrimary));
    // One column on the monitor to the right, or 345 of them.
    EXPECT_FALSE(onPrimarySurface({591, 200, 1281, 700}, desktopWithRightMonitor, kPrimary));
    EXPECT_FALSE(onPrimarySurface({935, 262, 1625, 762}, desktopWithRightMonitor, kPrimary));
    // Across the seam with a monitor left of the primary, and wholly on that monitor.
    EXPECT_FALSE(onPrimarySurface({-345, 262, 345, 762}, kDesktopWithLeftMonitor, kPrimary));
    EXPECT_FALSE(onPrimarySurface({-985, 262, -295, 762}, kDesktopWithLeftMonitor, kPrimary));
    // A monitor below the primary.
    EXPECT_FALSE(onPrimarySurface({100, 900, 790, 1400}, {0, 0, 1280, 2048}, kPrimary));
}

TEST(BlitClipping, WhatLiesOnNoMonitorLeavesTheWindowOnThePrimarySurface) {
    // One monitor: a window partly off its edges shows only on the primary.
    EXPECT_TRUE(onPrimarySurface({-100, 60, 590, 560}, kPrimary, kPrimary));
    EXPECT_TRUE(onPrimarySurface({1180, 900, 1870, 1400}, kPrimary, kPrimary));
    // Partly above the desktop, the rest on the primary; partly off the left monitor's
    // outer edge, the rest on that monitor.
    EXPECT_TRUE(onPrimarySurface({1000, -30, 1280, 470}, kDesktopWithLeftMonitor, kPrimary));
    EXPECT_FALSE(onPrimarySurface({-1300, 100, -610, 600}, kDesktopWithLeftMonitor, kPrimary));
    // Minimized: far off every monitor, or with an empty client area.
    EXPECT_TRUE(
        onPrimarySurface({-32000, -32000, -31310, -31500}, kDesktopWithLeftMonitor, kPrimary));
    EXPECT_TRUE(onPrimarySurface({-500, 100, -500, 100}, kDesktopWithLeftMonitor, kPrimary));
}

TEST(BlitClipping, OnlyARefusedRectangleBeyondThePrimaryGoesThroughTheWindow) {
    constexpr int32_t kSurfaceLost = static_cast<int32_t>(0x887601C2u);
    constexpr int32_t kGenericFailure = static_cast<int32_t>(0x80004005u);
    EXPECT_EQ(judgePart(0, false), PartOutcome::Drawn);
    EXPECT_EQ(judgePart(0, true), PartOutcome::Drawn);
    EXPECT_EQ(judgePart(1, true), PartOutcome::Drawn);  // S_FALSE is success too
    EXPECT_EQ(judgePart(kInvalidRectStatus, true), PartOutcome::DrawThroughWindow);
    // On the primary surface's own rectangle a refusal is a real failure.
    EXPECT_EQ(judgePart(kInvalidRectStatus, false), PartOutcome::Failed);
    // Any other failure fails the redraw wherever the piece lies (a surface still lost
    // after its restore, a blit from an Image without a surface).
    EXPECT_EQ(judgePart(kSurfaceLost, true), PartOutcome::Failed);
    EXPECT_EQ(judgePart(kGenericFailure, true), PartOutcome::Failed);
    EXPECT_EQ(judgePart(kGenericFailure, false), PartOutcome::Failed);
}

}  // namespace
}  // namespace kz
