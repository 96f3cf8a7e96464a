#include <gtest/gtest.h>

#include "app/win32/window_geometry.h"

namespace kz {
namespace {

TEST(ClientAreaCorrection, ExactFitChangesNothing) {
    const WindowSize outer{696, 548};
    EXPECT_EQ(growForClientArea(outer, Rect{0, 0, 690, 500}, 690, 500), outer);
}

TEST(ClientAreaCorrection, WrappedMenuBarGrowsTheHeightByTheShortfall) {
    // The menu bar took a second line of 19 pixels from the client area.
    const WindowSize grown = growForClientArea({696, 548}, Rect{0, 0, 690, 481}, 690, 500);
    EXPECT_EQ(grown, (WindowSize{696, 567}));
}

TEST(ClientAreaCorrection, GrowsBothWaysIndependently) {
    const WindowSize grown = growForClientArea({700, 550}, Rect{0, 0, 680, 490}, 690, 500);
    EXPECT_EQ(grown, (WindowSize{710, 560}));
}

TEST(ClientAreaCorrection, NeverShrinks) {
    const WindowSize outer{720, 580};
    EXPECT_EQ(growForClientArea(outer, Rect{0, 0, 714, 532}, 690, 500), outer);
    EXPECT_EQ(growForClientArea(outer, Rect{0, 0, 714, 490}, 690, 500), (WindowSize{720, 590}));
}

TEST(Centring, CentresOnTheOwner) {
    const Point p = centredOn(Rect{0, 0, 300, 200}, Rect{100, 50, 800, 650});
    EXPECT_EQ(p.x, 100 + (700 - 300) / 2);
    EXPECT_EQ(p.y, 50 + (600 - 200) / 2);
}

TEST(Centring, OddSpareGoesRightAndDownTruncating) {
    const Point p = centredOn(Rect{7, 9, 10, 12}, Rect{0, 0, 10, 10});  // 3 x 3 in 10 x 10
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 3);
}

TEST(Centring, LargerThanOwnerTruncatesTowardZero) {
    // Spare of -101 pixels: -50 (toward zero), not -51.
    const Point p = centredOn(Rect{0, 0, 301, 301}, Rect{1000, 1000, 1200, 1200});
    EXPECT_EQ(p.x, 1000 - 50);
    EXPECT_EQ(p.y, 1000 - 50);
}

TEST(Centring, OwnerOffTheLeftEdge) {
    const Point p = centredOn(Rect{0, 0, 100, 50}, Rect{-500, -20, -100, 180});
    EXPECT_EQ(p.x, -500 + 150);
    EXPECT_EQ(p.y, -20 + 75);
}

}  // namespace
}  // namespace kz
