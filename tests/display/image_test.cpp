#include "display/image.h"

#include <gtest/gtest.h>

#include "tests/support/recording_display.h"

namespace kz {
namespace {

using test::RecordingDisplay;
using test::RecordingSurface;

TEST(ImageTest, FieldsFollowTheGrid) {
    Image image(nullptr, BitmapName::resource(116), 125, 52, 2, 1, 2);
    EXPECT_EQ(image.getFrameWidth(), 62) << "integer division";
    EXPECT_EQ(image.getFrameHeight(), 52);
    EXPECT_EQ(image.getColumns(), 2);
    EXPECT_EQ(image.getRows(), 1);
    EXPECT_EQ(image.getFrameCount(), 2);
    EXPECT_EQ(image.getSource().resourceId, 116);
    EXPECT_FALSE(image.isColourKeyed());
    EXPECT_EQ(image.getKeyLow(), 0u);
    EXPECT_EQ(image.getKeyHigh(), 0u);
    EXPECT_EQ(image.getBlitFlags(), 0x1000000u);
    EXPECT_EQ(image.getSurface(), nullptr) << "construction loads nothing";

    Image digits(nullptr, BitmapName::resource(119), 48, 20, 6, 2, 12);
    EXPECT_EQ(digits.frameRect(0), (Rect{0, 0, 8, 10}));
    EXPECT_EQ(digits.frameRect(5), (Rect{40, 0, 48, 10}));
    EXPECT_EQ(digits.frameRect(11), (Rect{40, 10, 48, 20}));
    EXPECT_EQ(digits.frameRect(7), (Rect{8, 10, 16, 20}));

    Image empty(nullptr, BitmapName::resource(1), 10, 10, 0, 0, 0);
    EXPECT_EQ(empty.getFrameWidth(), 0);
    EXPECT_EQ(empty.frameRect(3), (Rect{0, 0, 0, 0}));
}

TEST(ImageTest, LoadsOnceThroughTheActiveDisplay) {
    RecordingDisplay display;
    Image image(&display, BitmapName::resource(102), 100, 100, 1, 1, 1);
    ASSERT_TRUE(image.load());
    ASSERT_NE(image.getSurface(), nullptr);
    auto* surface = static_cast<RecordingSurface*>(image.getSurface());
    EXPECT_EQ(surface->width, 100);
    EXPECT_EQ(surface->height, 100);
    EXPECT_FALSE(surface->keyed);

    EXPECT_TRUE(image.load());
    EXPECT_EQ(image.getSurface(), surface);
    EXPECT_EQ(display.openCount, 1);
    EXPECT_EQ(display.createCount, 1);
    EXPECT_EQ(display.copyCount, 1);
}

TEST(ImageTest, LoadFailsWithNothingCreatedWhenTheBitmapCannotBeOpened) {
    RecordingDisplay display;
    display.failOpen = true;
    Image image(&display, BitmapName{0, "no such picture.bmp"}, 10, 10, 1, 1, 1);
    EXPECT_FALSE(image.load());
    EXPECT_EQ(image.getSurface(), nullptr);
    EXPECT_EQ(display.createCount, 0);
    EXPECT_FALSE(image.blit(display.target(), {0, 0, 1, 1}, {0, 0, 1, 1}));
    EXPECT_TRUE(display.calls.empty());

    display.failOpen = false;
    display.failCreate = true;
    EXPECT_FALSE(image.load());
    EXPECT_EQ(image.getSurface(), nullptr);
    EXPECT_EQ(display.copyCount, 0);

    Image without(nullptr, BitmapName::resource(102), 100, 100, 1, 1, 1);
    EXPECT_FALSE(without.load()) << "no display to load through";
    EXPECT_EQ(without.getSurface(), nullptr);
}

TEST(ImageTest, SurfaceStaysWhenTheCopyFails) {
    RecordingDisplay display;
    display.failCopy = true;
    Image image(&display, BitmapName::resource(102), 100, 100, 1, 1, 1);
    EXPECT_FALSE(image.load());
    EXPECT_NE(image.getSurface(), nullptr);
    EXPECT_TRUE(image.load()) << "a later load finds the surface and copies nothing";
    EXPECT_EQ(display.copyCount, 1);
    EXPECT_TRUE(image.blit(display.target(), {0, 0, 5, 5}, {0, 0, 5, 5}));
}

TEST(ImageTest, BlitPassesTheFlagWordAndReportsFailure) {
    RecordingDisplay display;
    Image plain(&display, BitmapName::resource(1), 10, 10, 1, 1, 1);
    Image keyed(&display, BitmapName::resource(2), 10, 10, 1, 1, 1, true, 0x00FF00FF, 0x00FF00FF);
    EXPECT_EQ(keyed.getBlitFlags(), 0x1008000u);
    ASSERT_TRUE(plain.load());
    ASSERT_TRUE(keyed.load());
    auto* keyedSurface = static_cast<RecordingSurface*>(keyed.getSurface());
    EXPECT_TRUE(keyedSurface->keyed);
    EXPECT_EQ(keyedSurface->key.low, 0x00FF00FFu);

    EXPECT_TRUE(plain.blit(display.target(), {1, 2, 4, 6}, {0, 0, 3, 4}));
    EXPECT_TRUE(keyed.blit(display.target(), {0, 0, 3, 4}, {5, 5, 8, 9}));
    display.failCallIndex = 2;
    EXPECT_FALSE(plain.blit(display.target(), {0, 0, 1, 1}, {0, 0, 1, 1}));
    ASSERT_EQ(display.calls.size(), 3u);
    EXPECT_EQ(display.calls[0].flags, 0x1000000u);
    EXPECT_EQ(display.calls[0].dst, (Rect{1, 2, 4, 6}));
    EXPECT_EQ(display.calls[0].src, (Rect{0, 0, 3, 4}));
    EXPECT_EQ(display.calls[0].source, plain.getSurface());
    EXPECT_EQ(display.calls[1].flags, 0x1008000u);
    EXPECT_FALSE(plain.blit(nullptr, {0, 0, 1, 1}, {0, 0, 1, 1}));
}

TEST(ImageTest, UnusedImageNeverGetsASurface) {
    RecordingDisplay display;
    { Image unused(&display, BitmapName::resource(129), 101, 15, 1, 1, 1); }
    EXPECT_EQ(display.openCount, 0);
    EXPECT_EQ(display.createCount, 0);
}

}  // namespace
}  // namespace kz
