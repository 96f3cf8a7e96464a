// The instruction line's verbs, drawn on a display that records every blit.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "display/image.h"
#include "screen/game_screen.h"
#include "tests/support/recording_display.h"
#include "tests/support/recording_host.h"

namespace kz {
namespace {

class InstructionLine : public ::testing::Test {
  protected:
    void SetUp() override {
        for (size_t i = 0; i < kScreenImageOrder.size(); ++i) {
            const ImageInfo& info = kImageTable[imageIndexOf(kScreenImageOrder[i])];
            images[i] =
                std::make_unique<Image>(&display, BitmapName::resource(info.resourceId), info.width,
                                        info.height, info.columns, info.rows, info.frameCount);
        }
        ScreenImages borrowed{};
        for (size_t i = 0; i < images.size(); ++i) {
            borrowed[i] = images[i].get();
        }
        screen = std::make_unique<GameScreen>(nullptr, 0, 0, borrowed, host);
        screen->invalidateRect({0, 0, screen->getWidth(), screen->getHeight()});
        ASSERT_TRUE(screen->draw(display.target()));
    }

    // The blits and fills of the redraw that follows a new instruction.
    std::vector<test::DrawCall> drawInstruction(BoardMode mode) {
        display.clear();
        screen->showInstruction(mode, 2, 3);
        EXPECT_TRUE(screen->draw(display.target()));
        return display.calls;
    }

    static Rect rectOf(Element* e) {
        return {e->getX(), e->getY(), e->getX() + e->getWidth(), e->getY() + e->getHeight()};
    }

    static Surface* surfaceOf(Element* e) { return e->getImage()->getSurface(); }

    test::RecordingDisplay display;
    std::array<std::unique_ptr<Image>, kImageCount> images;
    RecordingHost host;
    std::unique_ptr<GameScreen> screen;
};

// A new verb's rectangle becomes dirty before those of the verbs it replaces, and each is
// painted felt, panel, verb from the bottom up.
TEST_F(InstructionLine, TheNewVerbIsPaintedBeforeTheOldOneIsCleared) {
    const Rect add = rectOf(screen->getWordAdd());        // (72, 60) - (99, 72)
    const Rect move = rectOf(screen->getWordMove());      // (68, 60) - (103, 72)
    const Rect remove = rectOf(screen->getWordRemove());  // (59, 60) - (113, 72)
    ASSERT_EQ(add, (Rect{72, 60, 99, 72}));
    ASSERT_EQ(move, (Rect{68, 60, 103, 72}));
    ASSERT_EQ(remove, (Rect{59, 60, 113, 72}));
    // The felt tiles are 100 pixels wide, so a verb's felt comes in two pieces where it
    // crosses x = 100.
    const auto feltOf = [](const Rect& r) {
        std::vector<Rect> pieces;
        if (r.right <= 100) {
            pieces.push_back(r);
        } else {
            pieces.push_back({r.left, r.top, 100, r.bottom});
            pieces.push_back({100, r.top, r.right, r.bottom});
        }
        return pieces;
    };

    drawInstruction(Add);
    std::vector<test::DrawCall> calls = drawInstruction(Move);
    // Shown Move, then hidden Add; Remove was hidden already and adds nothing.
    std::vector<Rect> expected = feltOf(move);
    for (const Rect& r : feltOf(add)) {
        expected.push_back(r);
    }
    expected.insert(expected.end(), {move, add, move, add});
    EXPECT_EQ(display.dsts(), expected);
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[3].source, surfaceOf(screen->getInstructionsPanel()));
    EXPECT_EQ(calls[5].source, surfaceOf(screen->getWordMove()));
    EXPECT_EQ(calls[6].source, surfaceOf(screen->getWordMove()));

    calls = drawInstruction(Remove);
    // Shown Remove, then hidden Move.
    expected = feltOf(remove);
    for (const Rect& r : feltOf(move)) {
        expected.push_back(r);
    }
    expected.insert(expected.end(), {remove, move, remove, move});
    EXPECT_EQ(display.dsts(), expected);
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_EQ(calls[7].source, surfaceOf(screen->getWordRemove()));

    calls = drawInstruction(Add);
    // Shown Add, then hidden Remove: the felt and panel pieces of Add lie inside Remove's.
    expected = feltOf(add);
    for (const Rect& r : feltOf(remove)) {
        expected.push_back(r);
    }
    expected.insert(expected.end(), {add, remove, add, add});
    EXPECT_EQ(display.dsts(), expected);
    EXPECT_TRUE(screen->getWordAdd()->isVisible());
    EXPECT_FALSE(screen->getWordMove()->isVisible());
    EXPECT_FALSE(screen->getWordRemove()->isVisible());
}

}  // namespace
}  // namespace kz
