#include "tests/support/solution_walk.h"

namespace kz {

SolutionChanges solutionChanges(Board& board) {
    const StickLayers& start = board.getStartSticks();
    const StickLayers& solution = board.getSolutionSticks();
    SolutionChanges changes;
    for (size_t i = 0; i < start.horizontal.size(); ++i) {
        if (start.horizontal[i] != solution.horizontal[i]) {
            (start.horizontal[i] != 0 ? changes.taken : changes.filled)
                .emplace_back(Horizontal, static_cast<int32_t>(i));
        }
    }
    for (size_t i = 0; i < start.vertical.size(); ++i) {
        if (start.vertical[i] != solution.vertical[i]) {
            (start.vertical[i] != 0 ? changes.taken : changes.filled)
                .emplace_back(Vertical, static_cast<int32_t>(i));
        }
    }
    return changes;
}

std::vector<StickPlace> solutionClicks(Board& board) {
    const auto [taken, filled] = solutionChanges(board);
    std::vector<StickPlace> clicks;
    if (board.getMode() == Move) {
        if (taken.size() == filled.size()) {
            for (size_t i = 0; i < taken.size(); ++i) {
                clicks.push_back(taken[i]);
                clicks.push_back(filled[i]);
            }
        }
        return clicks;
    }
    clicks = taken;
    clicks.insert(clicks.end(), filled.begin(), filled.end());
    return clicks;
}

std::pair<int32_t, int32_t> stickCentre(Board& board, StickPlace stick) {
    Element* sprite = stick.first == Horizontal ? board.getHorizontalSprite(stick.second)
                                                : board.getVerticalSprite(stick.second);
    return {board.getX() + sprite->getX() + sprite->getWidth() / 2,
            board.getY() + sprite->getY() + sprite->getHeight() / 2};
}

}  // namespace kz
