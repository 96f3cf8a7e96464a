// What the end-to-end test asks of the game, built only into the testing module: where to
// click to win the puzzle on the screen, and the settings the game holds.
#include <emscripten/emscripten.h>

#include <string>
#include <utility>
#include <vector>

#include "app/web/web_program.h"

namespace kz {

WebProgram* currentWebProgram();

namespace {

std::pair<int32_t, int32_t> stickCentre(Board& board, StickOrientation orientation, size_t index) {
    const auto i = static_cast<int32_t>(index);
    Element* sprite =
        orientation == Horizontal ? board.getHorizontalSprite(i) : board.getVerticalSprite(i);
    return {board.getX() + sprite->getX() + sprite->getWidth() / 2,
            board.getY() + sprite->getY() + sprite->getHeight() / 2};
}

// The clicks that turn the start into the solution: sticks taken away and slots filled, and
// for a move puzzle each taken stick followed by the slot it goes to.
std::vector<std::pair<int32_t, int32_t>> solutionClicks(Board& board) {
    std::vector<std::pair<int32_t, int32_t>> taken;
    std::vector<std::pair<int32_t, int32_t>> filled;
    const StickLayers& start = board.getStartSticks();
    const StickLayers& solution = board.getSolutionSticks();
    for (size_t i = 0; i < start.horizontal.size(); ++i) {
        if (start.horizontal[i] != solution.horizontal[i]) {
            (start.horizontal[i] != 0 ? taken : filled)
                .push_back(stickCentre(board, Horizontal, i));
        }
    }
    for (size_t i = 0; i < start.vertical.size(); ++i) {
        if (start.vertical[i] != solution.vertical[i]) {
            (start.vertical[i] != 0 ? taken : filled).push_back(stickCentre(board, Vertical, i));
        }
    }
    std::vector<std::pair<int32_t, int32_t>> clicks;
    if (board.getMode() == Move) {
        for (size_t i = 0; i < taken.size() && i < filled.size(); ++i) {
            clicks.push_back(taken[i]);
            clicks.push_back(filled[i]);
        }
        return clicks;
    }
    clicks = taken;
    clicks.insert(clicks.end(), filled.begin(), filled.end());
    return clicks;
}

}  // namespace
}  // namespace kz

extern "C" EMSCRIPTEN_KEEPALIVE const char* kz_test_solution() {
    static std::string text;
    kz::WebProgram* program = kz::currentWebProgram();
    if (program == nullptr || program->gameSession() == nullptr) {
        return "null";
    }
    kz::Board& board = *program->gameSession()->screen().getBoard();
    const kz::GameSettings settings = program->settings();
    text = "{\"fieldSize\":" + std::to_string(settings.fieldSize) +
           ",\"actionType\":" + std::to_string(settings.actionType) +
           ",\"mode\":" + std::to_string(static_cast<int>(board.getMode())) + ",\"clicks\":[";
    const char* separator = "";
    for (const auto& [x, y] : kz::solutionClicks(board)) {
        text += separator;
        text += "[" + std::to_string(x) + "," + std::to_string(y) + "]";
        separator = ",";
    }
    text += "]}";
    return text.c_str();
}

namespace {

// The test reaches the hook through the page's window.
// clang-format off
EM_JS(void, registerTestHook, (), {
    globalThis.kzTestState = () => JSON.parse(UTF8ToString(Module._kz_test_solution()));
});
// clang-format on

struct Registration {
    Registration() { registerTestHook(); }
} registration;

}  // namespace
