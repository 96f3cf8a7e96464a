#include "display/backdrop.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/holder.h"
#include "tests/support/recording_display.h"

namespace kz {
namespace {

using test::DrawCall;
using test::Holder;
using test::RecordingDisplay;

class BackdropTest : public ::testing::Test {
  protected:
    RecordingDisplay display;
    Image felt{&display, BitmapName::resource(102), 100, 100, 1, 1, 1};

    // Draws r of a felt Backdrop at (0, 0) whose parent's top-left is at (baseX, baseY).
    std::vector<DrawCall> tile(int32_t baseX, int32_t baseY, const Rect& r) {
        Holder root(nullptr, baseX, baseY, nullptr);
        auto* backdrop = root.add<Backdrop>(0, 0, 690, 500, &felt);
        backdrop->clearDirty();
        backdrop->addDirtyRect(r);
        display.clear();
        EXPECT_TRUE(backdrop->draw(display.target()));
        EXPECT_TRUE(backdrop->getDirtyRects().empty());
        return display.calls;
    }
};

TEST_F(BackdropTest, SetupSizesItWithoutInvalidating) {
    Holder root(nullptr, 0, 0, nullptr);
    auto* backdrop = root.add<Backdrop>(0, 0, 690, 500, &felt);
    EXPECT_EQ(backdrop->getWidth(), 690);
    EXPECT_EQ(backdrop->getHeight(), 500);
    EXPECT_EQ(backdrop->getFillColour(), 0u);
    EXPECT_TRUE(backdrop->getHasImage());
    EXPECT_FALSE(backdrop->isMouseEnabled());
    // Only the image's own frame is dirty from init; the rest waits for the first paint.
    EXPECT_EQ(backdrop->getDirtyRects(), (std::vector<Rect>{{0, 0, 100, 100}}));

    Backdrop plain(nullptr, 0, 0, 50, 40, nullptr);
    EXPECT_TRUE(plain.getHasImage());
    EXPECT_TRUE(plain.getDirtyRects().empty());
}

TEST_F(BackdropTest, RectangleAcrossFourTilesIsCutAtTileBoundaries) {
    const auto calls = tile(300, 200, {150, 80, 260, 130});
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].dst, (Rect{450, 280, 500, 300}));
    EXPECT_EQ(calls[0].src, (Rect{50, 80, 100, 100}));
    EXPECT_EQ(calls[1].dst, (Rect{500, 280, 560, 300}));
    EXPECT_EQ(calls[1].src, (Rect{0, 80, 60, 100}));
    EXPECT_EQ(calls[2].dst, (Rect{450, 300, 500, 330}));
    EXPECT_EQ(calls[2].src, (Rect{50, 0, 100, 30}));
    EXPECT_EQ(calls[3].dst, (Rect{500, 300, 560, 330}));
    EXPECT_EQ(calls[3].src, (Rect{0, 0, 60, 30}));
    for (const DrawCall& c : calls) {
        EXPECT_EQ(c.source, felt.getSurface());
        EXPECT_EQ(c.flags, 0x1000000u);
    }
}

TEST_F(BackdropTest, EdgeOnATileBoundaryMeansAFullTile) {
    const auto calls = tile(0, 0, {0, 0, 200, 100});
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].dst, (Rect{0, 0, 100, 100}));
    EXPECT_EQ(calls[0].src, (Rect{0, 0, 100, 100}));
    EXPECT_EQ(calls[1].dst, (Rect{100, 0, 200, 100}));
    EXPECT_EQ(calls[1].src, (Rect{0, 0, 100, 100}));
}

TEST_F(BackdropTest, RectangleInsideOneTileIsOneBlit) {
    const auto calls = tile(0, 0, {10, 10, 20, 20});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].dst, (Rect{10, 10, 20, 20}));
    EXPECT_EQ(calls[0].src, (Rect{10, 10, 20, 20}));
}

TEST_F(BackdropTest, WholeScreenNeedsOneBlitPerTileTouched) {
    const auto calls = tile(0, 0, {0, 0, 690, 500});
    EXPECT_EQ(calls.size(), 35u);  // 7 columns x 5 rows
    int64_t area = 0;
    for (const DrawCall& c : calls) {
        EXPECT_EQ(c.dst.width(), c.src.width());
        EXPECT_EQ(c.dst.height(), c.src.height());
        area += int64_t{c.dst.width()} * c.dst.height();
    }
    EXPECT_EQ(area, 690 * 500) << "no pixel written twice";
    EXPECT_EQ(calls.back().dst, (Rect{600, 400, 690, 500}));
    EXPECT_EQ(calls.back().src, (Rect{0, 0, 90, 100}));
}

TEST_F(BackdropTest, WithoutImageFillsEachRectangleOnce) {
    Holder root(nullptr, 0, 0, nullptr);
    root.setBase(7, 9);
    auto* plain = root.add<Backdrop>(3, 4, 200, 100, nullptr);
    plain->setupBackdrop(200, 100, 0x00123456);
    plain->addDirtyRect({0, 0, 150, 100});
    plain->addDirtyRect({10, 20, 30, 40});
    plain->fillThrough(&display);
    ASSERT_TRUE(plain->draw(display.target()));
    ASSERT_EQ(display.calls.size(), 2u);
    EXPECT_EQ(display.calls[0].kind, DrawCall::Fill);
    EXPECT_EQ(display.calls[0].dst, (Rect{10, 13, 160, 113}));
    EXPECT_EQ(display.calls[0].colour, 0x00123456u);
    EXPECT_EQ(display.calls[0].flags, 0x1000400u);
    EXPECT_EQ(display.calls[1].dst, (Rect{20, 33, 40, 53}));
    EXPECT_TRUE(plain->getDirtyRects().empty());

    // Without a display to fill through the draw fails, and nothing is written.
    auto* unfilled = root.add<Backdrop>(3, 4, 200, 100, nullptr);
    unfilled->setupBackdrop(200, 100, 0x00123456);
    unfilled->addDirtyRect({0, 0, 150, 100});
    display.clear();
    EXPECT_FALSE(unfilled->draw(display.target()));
    EXPECT_TRUE(display.calls.empty());
}

TEST_F(BackdropTest, InvisibleOrCleanBackdropDrawsNothing) {
    Holder root(nullptr, 0, 0, nullptr);
    auto* backdrop = root.add<Backdrop>(0, 0, 690, 500, &felt);
    ASSERT_TRUE(backdrop->draw(display.target()));
    display.clear();

    backdrop->addDirtyRect({0, 0, 10, 10});  // flag not set
    EXPECT_TRUE(backdrop->draw(display.target()));
    EXPECT_TRUE(display.calls.empty());

    backdrop->invalidateTree();
    backdrop->setVisible(false);
    EXPECT_TRUE(backdrop->draw(display.target()));
    EXPECT_TRUE(display.calls.empty());
}

TEST_F(BackdropTest, FailedPieceStopsAndKeepsTheList) {
    Holder root(nullptr, 0, 0, nullptr);
    auto* backdrop = root.add<Backdrop>(0, 0, 690, 500, &felt);
    backdrop->clearDirty();
    backdrop->addDirtyRect({150, 80, 260, 130});
    display.failCallIndex = 1;
    EXPECT_FALSE(backdrop->draw(display.target()));
    EXPECT_EQ(display.calls.size(), 2u);
    EXPECT_EQ(backdrop->getDirtyCount(), 1);
    EXPECT_FALSE(backdrop->isRedrawNeeded());

    display.clear();
    Backdrop plain(nullptr, 0, 0, 10, 10, nullptr);
    plain.markAllDirty();
    display.failCallIndex = 0;
    EXPECT_FALSE(plain.draw(display.target()));
    EXPECT_EQ(plain.getDirtyCount(), 1);
}

}  // namespace
}  // namespace kz
