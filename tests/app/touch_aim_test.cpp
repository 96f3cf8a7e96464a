// A finger or a pen aims at the nearest place: every point of the field's touch area reaches
// a stick of the active field, each stick's centre and points a quarter of its target off it
// reach that stick, the Controls panel reaches its nearest button, and the session's touch
// entries play a game where the mouse's exact areas would miss.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "app/common/touch_aim.h"
#include "display/messages.h"
#include "screen/board.h"
#include "tests/support/headless_game.h"

namespace kz {
namespace {

class TouchAimTest : public ::testing::Test {
  protected:
    void startGame(FieldSize size) {
        ASSERT_TRUE(game.paintAll());
        if (game.board().isActive()) {
            auto [gx, gy] = HeadlessGame::centreOf(*game.screen().getGiveUpButton());
            ASSERT_TRUE(game.click(gx, gy));
        }
        game.screen().setFieldSize(size);
        auto [x, y] = HeadlessGame::centreOf(*game.screen().getNextButton());
        ASSERT_TRUE(game.click(x, y));
        ASSERT_TRUE(game.board().isActive());
        ASSERT_EQ(game.board().getActiveColumns(), size);
    }
    // The active stick whose mouse hit area holds the point, as (orientation, index).
    std::optional<StickPlace> stickAt(Point p) {
        Board& board = game.board();
        Element* hit = board.hitTest(p.x - board.getX(), p.y - board.getY());
        if (hit == nullptr) {
            return std::nullopt;
        }
        return StickPlace{board.getHoveredOrientation(), board.getHoveredIndex()};
    }
    std::vector<StickPlace> activeSticks() {
        std::vector<StickPlace> sticks;
        for (int32_t i = 0; i < 30; ++i) {
            if (game.board().isActiveHorizontal(i)) {
                sticks.push_back({Horizontal, i});
            }
            if (game.board().isActiveVertical(i)) {
                sticks.push_back({Vertical, i});
            }
        }
        return sticks;
    }
    HeadlessGame game{KZ_SOURCE_ROOT};
    TouchAim aim{game.screen()};
};

TEST_F(TouchAimTest, EveryPointOfTheFieldAreaReachesTheNearestStickOfTheActiveField) {
    for (FieldSize size = 2; size <= 5; ++size) {
        SCOPED_TRACE(size);
        startGame(size);
        const Rect area = aim.fieldArea();
        const std::vector<StickPlace> sticks = activeSticks();
        ASSERT_EQ(sticks.size(), static_cast<size_t>(2 * size * (size + 1)));
        for (int32_t y = area.top; y < area.bottom; y += 3) {
            for (int32_t x = area.left; x < area.right; x += 3) {
                const std::optional<StickPlace> hit = stickAt(aim.aim({x, y}));
                ASSERT_TRUE(hit) << x << "," << y << " reaches no stick";
                // No other stick's centre lies nearer than the one reached.
                const auto [hx, hy] = game.stickCentre(hit->first, hit->second);
                const auto squared = [x, y](int32_t px, int32_t py) {
                    return (px - x) * (px - x) + (py - y) * (py - y);
                };
                for (const StickPlace& other : sticks) {
                    const auto [ox, oy] = game.stickCentre(other.first, other.second);
                    ASSERT_LE(squared(hx, hy), squared(ox, oy)) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(TouchAimTest, EachStickTakesItsCentreAndPointsAQuarterOfItsTargetOff) {
    for (FieldSize size : {2, 5}) {
        SCOPED_TRACE(size);
        startGame(size);
        // The target reaches a quarter pitch (23 pixels) from the centre; a quarter of that
        // target is about 12 pixels, every way.
        for (const StickPlace& stick : activeSticks()) {
            const auto [cx, cy] = game.stickCentre(stick.first, stick.second);
            for (const Point offset : {Point{0, 0}, Point{-11, -11}, Point{11, -11}, Point{-11, 11},
                                       Point{11, 11}, Point{0, 23}, Point{23, 0}}) {
                const std::optional<StickPlace> hit =
                    stickAt(aim.aim({cx + offset.x, cy + offset.y}));
                ASSERT_TRUE(hit) << stick.first << " " << stick.second << " offset " << offset.x
                                 << "," << offset.y;
                EXPECT_EQ(*hit, stick) << "offset " << offset.x << "," << offset.y;
            }
        }
    }
}

TEST_F(TouchAimTest, TheFieldAreaHasAQuarterPitchAroundTheOutermostSticksAndNothingBeyond) {
    startGame(3);
    const Rect area = aim.fieldArea();
    Board& board = game.board();
    // 3 x 3: sticks from the left vertical's centre to the right one's, 3 pitches of 95, and
    // a quarter pitch (23.75) beyond them each way, to the pixels that hold those points.
    EXPECT_EQ(area.width(), 3 * 95 + 2 * 24 + 1);
    EXPECT_EQ(area.height(), 3 * 95 + 2 * 24 + 1);
    EXPECT_EQ(area.left, board.getX() + 7 - 24);
    EXPECT_EQ(area.top, board.getY() + 7 - 24);
    // A stick's centre lies in the middle of the pixel stickCentre names (15 pixels wide).
    // A touch exactly a quarter pitch out from the outermost ones reaches them; a pixel
    // further out it stands where it is.
    const auto pixelAt = [](int32_t centre, double offset) {
        return static_cast<int32_t>(std::floor(centre + 0.5 + offset));
    };
    const auto [lx, ly] = game.stickCentre(Vertical, 0);
    const Point leftRim{pixelAt(lx, -23.75), ly};
    ASSERT_TRUE(stickAt(aim.aim(leftRim)));
    EXPECT_EQ(*stickAt(aim.aim(leftRim)), (StickPlace{Vertical, 0}));
    EXPECT_EQ(aim.aim({leftRim.x - 1, ly}), (Point{leftRim.x - 1, ly}));
    const auto [rx, ry] = game.stickCentre(Vertical, 3 * 5 + 2);
    const Point rightRim{pixelAt(rx, 23.75), ry};
    ASSERT_TRUE(stickAt(aim.aim(rightRim)));
    EXPECT_EQ(*stickAt(aim.aim(rightRim)), (StickPlace{Vertical, 3 * 5 + 2}));
    EXPECT_EQ(aim.aim({rightRim.x + 1, ry}), (Point{rightRim.x + 1, ry}));
    const auto [tx, ty] = game.stickCentre(Horizontal, 0);
    EXPECT_EQ(*stickAt(aim.aim({tx, pixelAt(ty, -23.75)})), (StickPlace{Horizontal, 0}));
    EXPECT_EQ(aim.aim({area.right, area.bottom}), (Point{area.right, area.bottom}));
    // The panels follow it in the areas a page lays out.
    const std::vector<Rect> areas = aim.layoutAreas();
    ASSERT_EQ(areas.size(), 5u);
    EXPECT_EQ(areas[0], area);
    EXPECT_EQ(areas[1], (Rect{10, 5, 162, 170}));
    EXPECT_EQ(areas[4], (Rect{10, 373, 162, 489}));
}

TEST_F(TouchAimTest, TheControlsPanelReachesTheNearestButtonShown) {
    ASSERT_TRUE(game.paintAll());
    GameScreen& screen = game.screen();
    const Rect panel{10, 373, 162, 489};
    const auto [qx, qy] = HeadlessGame::centreOf(*screen.getQuitButton());
    const auto [nx, ny] = HeadlessGame::centreOf(*screen.getNextButton());
    EXPECT_EQ(aim.aim({panel.left, panel.top}), (Point{qx, qy}));
    EXPECT_EQ(aim.aim({panel.right - 1, panel.bottom - 1}), (Point{nx, ny}));
    // Outside the panel, where the mouse finds nothing either, nothing changes.
    EXPECT_EQ(aim.aim({panel.left, panel.top - 3}), (Point{panel.left, panel.top - 3}));
}

TEST_F(TouchAimTest, TouchesPlayWhereTheMouseMissesAndALiftedFingerLeavesNoHoverLook) {
    game.screen().setActionType(AddFromNone);
    ASSERT_TRUE(game.paintAll());
    GameScreen& screen = game.screen();
    Button& next = *screen.getNextButton();
    // Next, touched at the Controls panel's corner, starts a game.
    ASSERT_TRUE(game.session().touch(msg::MouseMove, 0, 160, 487));
    ASSERT_TRUE(game.session().touch(msg::LeftButtonDown, mouseflag::LeftButton, 160, 487));
    ASSERT_TRUE(game.session().touch(msg::LeftButtonUp, 0, 160, 487));
    ASSERT_TRUE(game.board().isActive());
    // Inside a cell the mouse hits nothing; a finger there takes the nearest stick, the top
    // one of that cell when it lies a little nearer to it.
    const auto [hx, hy] = game.stickCentre(Horizontal, 0);
    const Point inCell{hx, hy + 30};
    ASSERT_TRUE(game.click(inCell.x, inCell.y));
    EXPECT_EQ(game.board().getMovesMade(), 0) << "the mouse keeps the exact areas";
    ASSERT_TRUE(game.session().touch(msg::MouseMove, 0, inCell.x, inCell.y));
    ASSERT_TRUE(
        game.session().touch(msg::LeftButtonDown, mouseflag::LeftButton, inCell.x, inCell.y));
    ASSERT_TRUE(game.session().touch(msg::LeftButtonUp, 0, inCell.x, inCell.y));
    EXPECT_EQ(game.board().getMovesMade(), 1);
    Element& stick = *game.board().getHorizontalSprite(0);
    EXPECT_EQ(stick.getFrame(), Added) << "a finger that pressed a stick leaves no highlight";
    EXPECT_EQ(game.board().getHoveredStick(), nullptr);
    ASSERT_TRUE(game.session().pointerLeft());
    EXPECT_EQ(stick.getFrame(), Added);
    // The mouse keeps the highlight of the stick it pressed while it stays there.
    const auto [nx, ny] = game.stickCentre(Horizontal, 1);
    ASSERT_TRUE(game.click(nx, ny));
    EXPECT_EQ(game.board().getHorizontalSprite(1)->getFrame(), AddedHover);
    // Give Up, tapped, leaves Next in its place without its label once the finger is lifted.
    Button& giveUp = *screen.getGiveUpButton();
    const auto [gx, gy] = HeadlessGame::centreOf(giveUp);
    ASSERT_TRUE(game.session().touch(msg::MouseMove, 0, gx, gy));
    ASSERT_TRUE(game.session().touch(msg::LeftButtonDown, mouseflag::LeftButton, gx, gy));
    ASSERT_TRUE(game.session().touch(msg::LeftButtonUp, 0, gx, gy));
    ASSERT_TRUE(next.isVisible());
    ASSERT_TRUE(game.session().pointerLeft());
    EXPECT_EQ(next.getFrame(), 0) << "Next keeps its label after the finger left";
}

}  // namespace
}  // namespace kz
