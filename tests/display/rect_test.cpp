#include "display/rect.h"

#include <gtest/gtest.h>

#include "tests/support/recording_display.h"  // prints rectangles and points

namespace kz {
namespace {

TEST(RectTest, EmptyMeansNoPixelInside) {
    EXPECT_FALSE((Rect{0, 0, 1, 1}.empty()));
    EXPECT_TRUE((Rect{}.empty()));
    EXPECT_TRUE((Rect{5, 0, 5, 10}.empty()));   // no width
    EXPECT_TRUE((Rect{0, 7, 10, 7}.empty()));   // no height
    EXPECT_TRUE((Rect{6, 0, 5, 10}.empty()));   // right before left
    EXPECT_TRUE((Rect{0, 8, 10, -2}.empty()));  // bottom above top
}

TEST(RectTest, TranslatedMovesEveryEdge) {
    EXPECT_EQ((Rect{1, 2, 11, 22}.translated(10, -5)), (Rect{11, -3, 21, 17}));
    EXPECT_EQ((Rect{1, 2, 11, 22}.translated(0, 0)), (Rect{1, 2, 11, 22}));
}

TEST(RectTest, IntersectedKeepsTheSharedPart) {
    const Rect area{0, 0, 20, 10};
    EXPECT_EQ(area.intersected({-5, -5, 8, 4}), (Rect{0, 0, 8, 4}));
    EXPECT_EQ(area.intersected({5, 2, 40, 40}), (Rect{5, 2, 20, 10}));
    EXPECT_EQ(area.intersected({3, 3, 4, 4}), (Rect{3, 3, 4, 4}));  // inside: unchanged
    EXPECT_EQ((Rect{3, 3, 4, 4}.intersected(area)), (Rect{3, 3, 4, 4}));
    // Rectangles that only touch, or lie apart, share nothing.
    EXPECT_TRUE(area.intersected({20, 0, 30, 10}).empty());
    EXPECT_TRUE(area.intersected({0, -10, 20, 0}).empty());
    EXPECT_TRUE(area.intersected({50, 50, 60, 60}).empty());
}

TEST(RectTest, PointsCompareByBothCoordinates) {
    EXPECT_EQ((Point{3, 4}), (Point{3, 4}));
    EXPECT_NE((Point{3, 4}), (Point{4, 3}));
    EXPECT_NE((Point{3, 4}), (Point{3, 5}));
}

}  // namespace
}  // namespace kz
