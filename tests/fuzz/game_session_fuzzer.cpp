// The game session fed a stream of mouse, key, timer, paint, move and menu messages, as a
// window delivers them. After every message: the entry returned its draw's result, the
// frame of every stick agrees with the layouts the Board holds, and the moves counter shows
// how far the field stands from its start.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "app/common/commands.h"
#include "display/messages.h"
#include "puzzle/random_source.h"
#include "tests/support/headless_game.h"

namespace kz {
namespace {

[[noreturn]] void fail(const char* what, int32_t detail = 0) {
    std::fprintf(stderr, "game session: %s (%d)\n", what, detail);
    std::abort();
}

constexpr std::array<uint32_t, 10> kMouseMessages = {msg::MouseMove,
                                                     msg::LeftButtonDown,
                                                     msg::LeftButtonUp,
                                                     msg::LeftButtonDoubleClick,
                                                     msg::RightButtonDown,
                                                     msg::RightButtonUp,
                                                     msg::RightButtonDoubleClick,
                                                     msg::MiddleButtonDown,
                                                     msg::MiddleButtonUp,
                                                     msg::MiddleButtonDoubleClick};

// The frame a stick shows without its highlight, from whether the two layouts hold it.
int32_t frameFor(bool inFirst, bool inSecond, StickFrame both, StickFrame onlySecond) {
    if (inFirst && inSecond) {
        return both;
    }
    if (inSecond) {
        return onlySecond;
    }
    return inFirst ? Removed : Empty;
}

// During play and after a win a stick shows start against current; after giving up, start
// against solution. Only the hovered stick carries a highlight.
void checkSticks(HeadlessGame& game) {
    Board& board = game.board();
    GameScreen& screen = game.screen();
    const bool idle = screen.getStartText()->isVisible();
    const bool gaveUp = !idle && !board.isActive() && !screen.getWinBanner()->isVisible();
    const StickLayers& start = board.getStartSticks();
    const StickLayers& shown = gaveUp ? board.getSolutionSticks() : board.getCurrentSticks();
    for (int32_t o = 0; o < 2; ++o) {
        const bool horizontal = o == 0;
        const auto& first = horizontal ? start.horizontal : start.vertical;
        const auto& second = horizontal ? shown.horizontal : shown.vertical;
        for (size_t i = 0; i < first.size(); ++i) {
            const int32_t index = static_cast<int32_t>(i);
            Element* sprite =
                horizontal ? board.getHorizontalSprite(index) : board.getVerticalSprite(index);
            const int32_t frame = sprite->getFrame();
            if (frame < Present || frame > RemovedHover) {
                fail("a stick frame out of range", frame);
            }
            const bool highlighted = (frame & 1) != 0;
            if (highlighted != (sprite == board.getHoveredStick() && !gaveUp)) {
                fail("a highlight on a stick that is not hovered, or none on the hovered one",
                     frame);
            }
            const bool inField =
                horizontal ? board.isActiveHorizontal(index) : board.isActiveVertical(index);
            if (idle) {
                if (frame != Present) {
                    fail("a stick before the first puzzle is not a present match", frame);
                }
                continue;
            }
            if (sprite->isVisible() != inField) {
                fail("a stick's visibility disagrees with the field", index);
            }
            const int32_t expected = frameFor(first[i] != 0, second[i] != 0, Present, Added);
            if (inField && (frame & ~1) != expected) {
                fail("a stick frame disagrees with the layouts", frame);
            }
        }
    }
    const int32_t moves = idle ? 0 : board.movesFromStart(board.getCurrentSticks());
    if (screen.getMovesCounter()->getValue() != moves) {
        fail("the moves counter differs from the moves made", screen.getMovesCounter()->getValue());
    }
    if (board.isActive() && game.host().timers.empty()) {
        fail("a puzzle is played with no clock running");
    }
}

// The point a byte picks inside an element (in client coordinates).
std::pair<int32_t, int32_t> pointIn(Element& e, int32_t parentX, int32_t parentY, uint8_t where) {
    const int32_t dx = (where & 0x0F) * e.getWidth() / 16;
    const int32_t dy = (where >> 4) * e.getHeight() / 16;
    return {parentX + e.getX() + dx, parentY + e.getY() + dy};
}

bool pressAndRelease(HeadlessGame& game, int32_t x, int32_t y) {
    return game.mouse(msg::LeftButtonDown, mouseflag::LeftButton, x, y) &&
           game.mouse(msg::LeftButtonUp, 0, x, y);
}

}  // namespace
}  // namespace kz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kz;
    FuzzedDataProvider input(data, size);
    const GameSettings settings{input.ConsumeIntegralInRange<int32_t>(0, 5),
                                input.ConsumeIntegralInRange<int32_t>(0, 5)};
    HeadlessGame game(KZ_SOURCE_ROOT, {validFieldSizeOrDefault(settings.fieldSize),
                                       validActionTypeOrDefault(settings.actionType)});
    // After the Board seeded it from the clock, so every run of an input plays the same.
    game.board().randomSource().seed(input.ConsumeIntegral<uint32_t>());
    if (!game.paintAll()) {
        fail("the first paint failed");
    }
    bool offOrigin = false;
    for (int step = 0; step < 400 && input.remaining_bytes() > 0; ++step) {
        Board& board = game.board();
        GameScreen& screen = game.screen();
        bool drawn = true;
        switch (input.ConsumeIntegralInRange<int>(0, 9)) {
            case 0: {  // any mouse message anywhere, also beyond the window
                const uint32_t message = input.PickValueInArray(kMouseMessages);
                const uint32_t flags = input.ConsumeIntegral<uint8_t>();
                const int32_t x = input.ConsumeIntegral<uint16_t>();
                const int32_t y = input.ConsumeIntegral<uint16_t>();
                drawn = game.mouse(message, flags, x, y);
                break;
            }
            case 1:    // onto a stick slot, in play or not
            case 2: {  // and a click there
                const bool horizontal = input.ConsumeBool();
                const int32_t count =
                    static_cast<int32_t>(horizontal ? board.getStartSticks().horizontal.size()
                                                    : board.getStartSticks().vertical.size());
                const int32_t index = input.ConsumeIntegralInRange<int32_t>(0, count - 1);
                Element& sprite = horizontal ? *board.getHorizontalSprite(index)
                                             : *board.getVerticalSprite(index);
                auto [x, y] =
                    pointIn(sprite, board.getX(), board.getY(), input.ConsumeIntegral<uint8_t>());
                drawn = game.mouse(msg::MouseMove, 0, x, y);
                if (drawn && input.ConsumeBool()) {
                    drawn = pressAndRelease(game, x, y);
                }
                break;
            }
            case 3: {  // onto one of the four buttons, maybe clicking it
                const std::array<Element*, 4> buttons = {
                    screen.getNextButton(), screen.getRestartButton(), screen.getGiveUpButton(),
                    screen.getQuitButton()};
                Element& button = *input.PickValueInArray(buttons);
                auto [x, y] = pointIn(button, 0, 0, input.ConsumeIntegral<uint8_t>());
                drawn = game.mouse(msg::MouseMove, 0, x, y);
                if (drawn && input.ConsumeBool()) {
                    drawn = pressAndRelease(game, x, y);
                }
                break;
            }
            case 4:
                drawn =
                    game.key(input.ConsumeBool() ? msg::KeyDown : msg::KeyUp,
                             input.ConsumeIntegral<uint8_t>(), input.ConsumeIntegral<uint8_t>());
                break;
            case 5:
                drawn = game.session().timer() && game.frame();
                break;
            case 6: {  // a paint of any rectangle, empty, inverted or beyond the window too
                Rect area;
                area.left = input.ConsumeIntegralInRange<int32_t>(-1000, 1700);
                area.top = input.ConsumeIntegralInRange<int32_t>(-1000, 1500);
                area.right = input.ConsumeIntegralInRange<int32_t>(-1000, 1700);
                area.bottom = input.ConsumeIntegralInRange<int32_t>(-1000, 1500);
                drawn = game.paint(area);
                break;
            }
            case 7: {  // a menu command: one the menus have, or any number
                const uint16_t id = input.ConsumeBool() ? input.ConsumeIntegralInRange<uint16_t>(
                                                              command::Exit, command::Mixed)
                                                        : input.ConsumeIntegral<uint16_t>();
                drawn = game.command(id);
                break;
            }
            case 8:
                drawn = game.paintAll();
                break;
            case 9: {  // the window moved: the screen's place on the target changes
                const int32_t x = input.ConsumeIntegralInRange<int32_t>(-40, 40);
                const int32_t y = input.ConsumeIntegralInRange<int32_t>(-40, 40);
                game.session().moveTo(x, y);
                offOrigin = x != 0 || y != 0;
                drawn = game.paintAll();
                break;
            }
        }
        if (drawn == game.session().failed()) {
            fail("an entry's result disagrees with the session's failure");
        }
        if (!drawn && !offOrigin) {
            fail("a draw onto the whole target failed");
        }
        checkSticks(game);
    }
    return 0;
}
