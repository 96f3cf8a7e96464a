#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "puzzle/random_source.h"
#include "tests/support/headless_game.h"

namespace kz {

// The whole game on the software surface with the real pictures, already painted once.
class GameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game = std::make_unique<HeadlessGame>(KZ_SOURCE_ROOT);
        ASSERT_TRUE(game->paintAll());
    }

    GameScreen& screen() { return game->screen(); }
    Board& board() { return game->board(); }

    // Next clicked with the given settings and seed.
    void startGame(FieldSize size, ActionType type, uint32_t seed) {
        ASSERT_TRUE(screen().getNextButton()->isVisible()) << "Next is offered between games only";
        screen().setFieldSize(size);
        screen().setActionType(type);
        board().randomSource().seed(seed);
        auto [x, y] = HeadlessGame::centreOf(*screen().getNextButton());
        ASSERT_TRUE(game->click(x, y));
        ASSERT_TRUE(board().isActive());
    }

    void hoverStick(StickOrientation o, int32_t index) {
        auto [x, y] = game->stickCentre(o, index);
        ASSERT_TRUE(game->moveTo(x, y));
    }
    void clickStick(StickOrientation o, int32_t index) {
        auto [x, y] = game->stickCentre(o, index);
        ASSERT_TRUE(game->click(x, y));
    }
    void clickButton(Element* button) {
        auto [x, y] = HeadlessGame::centreOf(*button);
        ASSERT_TRUE(game->click(x, y));
    }

    // Active slots of one orientation that hold (or lack) a stick in the start layout.
    std::vector<int32_t> startSlots(StickOrientation o, bool withStick) {
        const StickLayers& start = board().getStartSticks();
        const auto& layer = o == Horizontal ? start.horizontal : start.vertical;
        std::vector<int32_t> out;
        for (int32_t i = 0; i < static_cast<int32_t>(layer.size()); ++i) {
            const bool active =
                o == Horizontal ? board().isActiveHorizontal(i) : board().isActiveVertical(i);
            if (active && (layer[static_cast<size_t>(i)] != 0) == withStick) {
                out.push_back(i);
            }
        }
        return out;
    }

    int32_t frameOf(StickOrientation o, int32_t index) {
        return (o == Horizontal ? board().getHorizontalSprite(index)
                                : board().getVerticalSprite(index))
            ->getFrame();
    }

    std::unique_ptr<HeadlessGame> game;
};

}  // namespace kz
