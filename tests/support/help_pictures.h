#pragma once

// The pictures of the help pages, made from the game's own bitmaps and screens so they stay
// true when the art changes: the eight frames of a stick and one worked puzzle from its
// start through each move to the won field. The help pictures test holds the committed
// pictures against them and, with KZ_UPDATE_GOLDENS=1, writes them.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "puzzle/random_source.h"
#include "tests/support/headless_game.h"

namespace kz::help {

struct Picture {
    std::string name;  // the file name in the help, .png
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, row by row
};

// The puzzle of the worked example: a move puzzle of two moves, each shown.
constexpr int32_t kExampleFieldSize = 3;
constexpr ActionType kExampleActionType = MoveFromSome;
constexpr uint32_t kExampleSeed = 19;
// Around the active field in the pictures of single moves.
constexpr int32_t kFieldMargin = 10;

inline Picture crop(const std::string& name, const SoftwareSurface& surface, const Rect& area) {
    Picture picture{name, area.width(), area.height(), {}};
    picture.pixels.reserve(static_cast<size_t>(area.width()) * static_cast<size_t>(area.height()));
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint32_t* row = surface.row(y);
        for (int32_t x = area.left; x < area.right; ++x) {
            picture.pixels.push_back(row[x] & 0xFFFFFF);
        }
    }
    return picture;
}

// Each frame of the horizontal stick, as the bitmap holds it.
inline bool stickFrames(const std::string& sourceRoot, std::vector<Picture>& out) {
    std::unique_ptr<SoftwareBitmap> sticks =
        decodeBitmapFile(sourceRoot + "/resources/bitmaps/105.bmp");
    constexpr int32_t kFrames = 8;
    if (!sticks || sticks->height() % kFrames != 0) {
        return false;
    }
    const int32_t w = sticks->width();
    const int32_t h = sticks->height() / kFrames;
    for (int32_t frame = 0; frame < kFrames; ++frame) {
        Picture picture{"stick-frame-" + std::to_string(frame) + ".png", w, h, {}};
        for (int32_t y = frame * h; y < (frame + 1) * h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                picture.pixels.push_back(
                    sticks->data()[static_cast<size_t>(y) * static_cast<size_t>(w) +
                                   static_cast<size_t>(x)] &
                    0xFFFFFF);
            }
        }
        out.push_back(std::move(picture));
    }
    return true;
}

// The active field of the Board, in screen coordinates, with a margin of felt.
inline Rect activeField(HeadlessGame& game) {
    Board& board = game.board();
    Rect field{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    const auto add = [&](Element* sprite) {
        field.left = std::min(field.left, board.getX() + sprite->getX());
        field.top = std::min(field.top, board.getY() + sprite->getY());
        field.right = std::max(field.right, board.getX() + sprite->getX() + sprite->getWidth());
        field.bottom = std::max(field.bottom, board.getY() + sprite->getY() + sprite->getHeight());
    };
    for (int32_t i = 0; i < static_cast<int32_t>(board.getStartSticks().horizontal.size()); ++i) {
        if (board.isActiveHorizontal(i)) {
            add(board.getHorizontalSprite(i));
        }
    }
    for (int32_t i = 0; i < static_cast<int32_t>(board.getStartSticks().vertical.size()); ++i) {
        if (board.isActiveVertical(i)) {
            add(board.getVerticalSprite(i));
        }
    }
    return Rect{field.left - kFieldMargin, field.top - kFieldMargin, field.right + kFieldMargin,
                field.bottom + kFieldMargin};
}

// The whole screen after Next; the field after each click of the solution but the last
// (a match picked up, then put down); the whole screen once the puzzle is won. The pointer
// rests on the Time panel, so no stick is highlighted.
inline bool workedExample(const std::string& sourceRoot, std::vector<Picture>& out) {
    HeadlessGame game(sourceRoot);
    const Rect screen{0, 0, game.screen().getWidth(), game.screen().getHeight()};
    auto [restX, restY] = HeadlessGame::centreOf(*game.screen().getTimePanel());
    auto [nextX, nextY] = HeadlessGame::centreOf(*game.screen().getNextButton());
    game.screen().setFieldSize(kExampleFieldSize);
    game.screen().setActionType(kExampleActionType);
    game.board().randomSource().seed(kExampleSeed);
    if (!game.paintAll() || !game.click(nextX, nextY) || !game.moveTo(restX, restY)) {
        return false;
    }
    out.push_back(crop("example-start.png", game.display().targetPixels(), screen));

    Board& board = game.board();
    const std::vector<StickPlace> clicks = solutionClicks(board);
    if (board.getMode() != Move || clicks.empty()) {
        return false;
    }
    const Rect field = activeField(game);
    for (size_t i = 0; i < clicks.size(); ++i) {
        auto [x, y] = game.stickCentre(clicks[i].first, clicks[i].second);
        if (!game.tick() || !game.click(x, y) || !game.moveTo(restX, restY)) {
            return false;
        }
        const size_t move = i / 2 + 1;
        if (i + 1 == clicks.size()) {
            out.push_back(crop("example-won.png", game.display().targetPixels(), screen));
        } else {
            out.push_back(crop(
                "example-move-" + std::to_string(move) + (i % 2 == 0 ? "-picked.png" : "-put.png"),
                game.display().targetPixels(), field));
        }
    }
    return game.host().beeps == 1;
}

// Every picture, in a fixed order; empty when one of them could not be made.
inline std::vector<Picture> pictures(const std::string& sourceRoot) {
    std::vector<Picture> out;
    if (!stickFrames(sourceRoot, out) || !workedExample(sourceRoot, out)) {
        return {};
    }
    return out;
}

}  // namespace kz::help
