// What the end-to-end test asks of the game, built only into the testing module: where to
// click to win the puzzle on the screen, the settings the game holds, the clock and the
// moves counter, where the keyboard focus and a hint are, the stick under the pointer, the
// field's touch area and whether a game runs or was won.
#include <emscripten/emscripten.h>

#include <optional>
#include <string>
#include <utility>

#include "app/common/touch_aim.h"
#include "app/web/web_program.h"
#include "tests/support/extra_play_inspection.h"
#include "tests/support/solution_walk.h"

namespace kz {

WebProgram* currentWebProgram();

}  // namespace kz

namespace {

std::string pointJson(std::pair<int32_t, int32_t> point) {
    return "[" + std::to_string(point.first) + "," + std::to_string(point.second) + "]";
}

// The centre of what has the keyboard focus, and of the stick a hint shows, or nulls.
std::string extrasJson(kz::GameSession& session) {
    const kz::KeyboardFocus& keyboard = kz::ExtraPlayInspection::focus(session);
    const kz::HintBlinker& blinker = kz::ExtraPlayInspection::blinker(session);
    kz::Board& board = *session.screen().getBoard();
    const kz::KeyboardFocus::Target& focus = keyboard.getFocus();
    std::string focusText = "null";
    if (focus.onStick) {
        focusText = pointJson(kz::stickCentre(board, {focus.stick.orientation, focus.stick.index}));
    } else if (focus.button != nullptr) {
        kz::Button& b = *focus.button;
        focusText = pointJson({b.getX() + b.getWidth() / 2, b.getY() + b.getHeight() / 2});
    }
    const std::optional<kz::StickSlot> hinted = blinker.getHintedStick();
    // The stick under the pointer, as the Board highlights it, and how the game stands.
    std::string hoveredText = "null";
    if (board.getHoveredStick() != nullptr) {
        hoveredText = pointJson(
            kz::stickCentre(board, {board.getHoveredOrientation(), board.getHoveredIndex()}));
    }
    const std::string standing =
        ",\"hovered\":" + hoveredText + ",\"playing\":" + (board.isActive() ? "true" : "false") +
        ",\"won\":" + (session.screen().getWinBanner()->isVisible() ? "true" : "false") +
        ",\"movesMade\":" + std::to_string(board.getMovesMade());
    return ",\"focus\":" + focusText + ",\"focusOnStick\":" + (focus.onStick ? "true" : "false") +
           ",\"focusShown\":" + (keyboard.isShown() ? "true" : "false") + ",\"hinted\":" +
           (hinted ? pointJson(kz::stickCentre(board, {hinted->orientation, hinted->index}))
                   : std::string("null")) +
           standing;
}

}  // namespace

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
           ",\"mode\":" + std::to_string(static_cast<int>(board.getMode())) + ",\"clock\":" +
           std::to_string(program->gameSession()->screen().getClockCounter()->getValue()) +
           ",\"moves\":" +
           std::to_string(program->gameSession()->screen().getMovesCounter()->getValue()) +
           ",\"clicks\":[";
    const char* separator = "";
    for (const kz::StickPlace& stick : kz::solutionClicks(board)) {
        const auto [x, y] = kz::stickCentre(board, stick);
        text += separator;
        text += pointJson({x, y});
        separator = ",";
    }
    // The centres of the active field's sticks, horizontal ones first, and of those holding a
    // stick the player put there.
    text += "],\"sticks\":[";
    std::string added;
    separator = "";
    for (const kz::StickOrientation orientation : {kz::Horizontal, kz::Vertical}) {
        const int32_t count = orientation == kz::Horizontal
                                  ? board.getMaxColumns() * (board.getMaxRows() + 1)
                                  : (board.getMaxColumns() + 1) * board.getMaxRows();
        for (int32_t i = 0; i < count; ++i) {
            const bool active = orientation == kz::Horizontal ? board.isActiveHorizontal(i)
                                                              : board.isActiveVertical(i);
            if (active) {
                const std::string centre = pointJson(kz::stickCentre(board, {orientation, i}));
                text += separator + centre;
                separator = ",";
                const int32_t frame = board.getSprite({orientation, i})->getFrame();
                if (frame == kz::Added || frame == kz::AddedHover) {
                    added += (added.empty() ? "" : ",") + centre;
                }
            }
        }
    }
    text += "],\"added\":[" + added;
    // Where a finger reaches the field's sticks, as [left, top, right, bottom).
    const kz::Rect area = kz::TouchAim(program->gameSession()->screen()).fieldArea();
    text += "],\"touchArea\":[" + std::to_string(area.left) + "," + std::to_string(area.top) + "," +
            std::to_string(area.right) + "," + std::to_string(area.bottom) + "]" +
            extrasJson(*program->gameSession()) + "}";
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
