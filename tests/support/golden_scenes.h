#pragma once

// The screens the golden pictures show, staged through the headless game the way a player
// gets there. Shared by the golden test and the tool that regenerates the pictures.

#include <functional>
#include <string>
#include <vector>

#include "puzzle/random_source.h"
#include "tests/support/headless_game.h"

namespace kz::golden {

constexpr uint32_t kSceneSeed = 20261207;

inline bool startGame(HeadlessGame& game, FieldSize size, ActionType type) {
    game.screen().setFieldSize(size);
    game.screen().setActionType(type);
    game.board().randomSource().seed(kSceneSeed);
    auto [x, y] = HeadlessGame::centreOf(*game.screen().getNextButton());
    return game.click(x, y);
}

// Just started: the full field of matches and the start picture.
inline bool idle(HeadlessGame& game) {
    return game.paintAll();
}

// A move puzzle in play: one stick moved, the pointer on another, three seconds gone.
inline bool playing(HeadlessGame& game) {
    if (!game.paintAll() || !startGame(game, 4, MoveFromSome))
        return false;
    Board& board = game.board();
    const StickLayers& start = board.getStartSticks();
    int32_t from = -1;
    int32_t to = -1;
    int32_t hover = -1;
    for (int32_t i = 0; i < static_cast<int32_t>(start.horizontal.size()); ++i) {
        if (!board.isActiveHorizontal(i))
            continue;
        if (start.horizontal[static_cast<size_t>(i)] != 0) {
            if (from < 0) {
                from = i;
            } else if (hover < 0) {
                hover = i;
            }
        } else if (to < 0) {
            to = i;
        }
    }
    if (from < 0 || to < 0 || hover < 0)
        return false;
    auto [fx, fy] = game.stickCentre(Horizontal, from);
    auto [tx, ty] = game.stickCentre(Horizontal, to);
    auto [hx, hy] = game.stickCentre(Horizontal, hover);
    return game.click(fx, fy) && game.click(tx, ty) && game.moveTo(hx, hy) && game.tick() &&
           game.tick() && game.tick();
}

// A remove puzzle solved through the mouse.
inline bool won(HeadlessGame& game) {
    return game.paintAll() && startGame(game, 3, RemoveFromFull) && game.tick() &&
           game.playSolution();
}

// An add puzzle abandoned after one added stick: the solution against the start.
inline bool givenUp(HeadlessGame& game) {
    if (!game.paintAll() || !startGame(game, 5, AddFromSome))
        return false;
    const StickLayers& start = game.board().getStartSticks();
    for (int32_t i = 0; i < static_cast<int32_t>(start.vertical.size()); ++i) {
        if (game.board().isActiveVertical(i) && start.vertical[static_cast<size_t>(i)] == 0) {
            auto [x, y] = game.stickCentre(Vertical, i);
            if (!game.click(x, y))
                return false;
            break;
        }
    }
    auto [gx, gy] = HeadlessGame::centreOf(*game.screen().getGiveUpButton());
    return game.tick() && game.click(gx, gy);
}

struct Scene {
    std::string name;
    std::function<bool(HeadlessGame&)> stage;
};

inline std::vector<Scene> scenes() {
    return {{"idle", idle}, {"playing", playing}, {"won", won}, {"given-up", givenUp}};
}

}  // namespace kz::golden
