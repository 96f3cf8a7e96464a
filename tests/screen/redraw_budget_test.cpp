// What a redraw may cost, counted in pixels written to the target.
#include <gtest/gtest.h>

#include <vector>

#include "game_fixture.h"

namespace kz {
namespace {

// A written rectangle lies wholly inside the area.
bool inside(const Rect& r, const Rect& area) {
    return r.intersected(area) == r;
}

// An element's rectangle on the screen, given where its parent's top-left corner is.
Rect screenRect(Element& e, int32_t offsetX, int32_t offsetY) {
    return Rect{0, 0, e.getWidth(), e.getHeight()}.translated(offsetX + e.getX(),
                                                              offsetY + e.getY());
}

class RedrawBudget : public GameTest {
  protected:
    void startCounting() {
        game->display().takeWrittenRects();
        game->display().resetPixelsWritten();
    }
};

TEST_F(RedrawBudget, AnIdleRedrawWritesNothing) {
    startCounting();
    ASSERT_TRUE(game->redraw());
    ASSERT_TRUE(game->tick());  // no game: no clock
    EXPECT_EQ(game->display().pixelsWritten(), 0u);

    startGame(4, AddFromSome, 3);
    game->tick();
    startCounting();
    ASSERT_TRUE(game->redraw());
    ASSERT_TRUE(game->moveTo(3, 3));  // over the felt, away from everything
    EXPECT_EQ(game->display().pixelsWritten(), 0u);
}

TEST_F(RedrawBudget, MovingFromStickToStickRepaintsOnlyThoseTwo) {
    startGame(5, RemoveFromFull, 3);
    hoverStick(Horizontal, 6);
    startCounting();
    hoverStick(Horizontal, 7);
    Board& b = board();
    const Rect first = screenRect(*b.getHorizontalSprite(6), b.getX(), b.getY());
    const Rect second = screenRect(*b.getHorizontalSprite(7), b.getX(), b.getY());
    for (const Rect& r : game->display().takeWrittenRects()) {
        EXPECT_TRUE(inside(r, first) || inside(r, second));
    }
    // Each stick once, with the felt under it once.
    EXPECT_LE(game->display().pixelsWritten(), 2u * 2u * 80u * 15u);
    EXPECT_GT(game->display().pixelsWritten(), 0u);
}

TEST_F(RedrawBudget, AClockTickRepaintsOnlyTheDigitsThatChanged) {
    startGame(3, AddFromNone, 3);
    Counter* clock = screen().getClockCounter();
    const auto digitRect = [&](int32_t child) {
        return screenRect(*clock->getChild(child), clock->getX(), clock->getY());
    };
    startCounting();
    game->tick();  // 00:00:00 -> 00:00:01: the last digit
    for (const Rect& r : game->display().takeWrittenRects()) {
        EXPECT_TRUE(inside(r, digitRect(7)));
    }
    // Felt, panel and digit, one digit of 14 x 16.
    EXPECT_LE(game->display().pixelsWritten(), 3u * 14u * 16u);

    clock->setValue(9);
    game->redraw();
    startCounting();
    game->tick();  // 00:00:09 -> 00:00:10: two digits
    for (const Rect& r : game->display().takeWrittenRects()) {
        EXPECT_TRUE(inside(r, digitRect(6)) || inside(r, digitRect(7)));
    }
    EXPECT_LE(game->display().pixelsWritten(), 2u * 3u * 14u * 16u);
}

}  // namespace
}  // namespace kz
