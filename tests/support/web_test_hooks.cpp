// What the end-to-end test asks of the game, built only into the testing module: where to
// click to win the puzzle on the screen, and the settings the game holds.
#include <emscripten/emscripten.h>

#include <string>

#include "app/web/web_program.h"
#include "tests/support/solution_walk.h"

namespace kz {

WebProgram* currentWebProgram();

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
    for (const kz::StickPlace& stick : kz::solutionClicks(board)) {
        const auto [x, y] = kz::stickCentre(board, stick);
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
