// Writes the game screen's layout as the end-to-end scripts read it: the rectangles of its
// panels, buttons, counters and field, a point of bare felt, and the centres of the sticks of
// each field size. Built from the screen itself with the real pictures, so the scripts never
// restate a position. Rectangles are [left, top, right, bottom), points [x, y].
// usage: screen_layout SOURCE_ROOT OUTPUT_JSON
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/headless_game.h"

namespace {

std::string rectOf(kz::Element& e) {
    std::ostringstream out;
    out << "[" << e.getX() << ", " << e.getY() << ", " << e.getX() + e.getWidth() << ", "
        << e.getY() + e.getHeight() << "]";
    return out.str();
}

std::string point(int32_t x, int32_t y) {
    return "[" + std::to_string(x) + ", " + std::to_string(y) + "]";
}

bool inside(kz::Element& e, int32_t x, int32_t y) {
    return x >= e.getX() && x < e.getX() + e.getWidth() && y >= e.getY() &&
           y < e.getY() + e.getHeight();
}

// The centres of the active field's sticks once Next has started a game of this size:
// horizontal ones first, each orientation in index order. Empty when no game started.
std::vector<std::string> stickCentres(const std::string& sourceRoot, kz::FieldSize size) {
    kz::HeadlessGame game(sourceRoot);
    game.screen().setFieldSize(size);
    auto [x, y] = kz::HeadlessGame::centreOf(*game.screen().getNextButton());
    if (!game.paintAll() || !game.click(x, y) || !game.board().isActive()) {
        return {};
    }
    // The slots of the largest field: a row more of horizontal ones, a column more of
    // vertical ones.
    const int32_t columns = game.board().getMaxColumns();
    const int32_t rows = game.board().getMaxRows();
    std::vector<std::string> centres;
    for (kz::StickOrientation o : {kz::Horizontal, kz::Vertical}) {
        const int32_t count = o == kz::Horizontal ? columns * (rows + 1) : (columns + 1) * rows;
        for (int32_t i = 0; i < count; ++i) {
            const bool active = o == kz::Horizontal ? game.board().isActiveHorizontal(i)
                                                    : game.board().isActiveVertical(i);
            if (active) {
                auto [cx, cy] = game.stickCentre(o, i);
                centres.push_back(point(cx, cy));
            }
        }
    }
    return centres;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: screen_layout SOURCE_ROOT OUTPUT_JSON\n";
        return 2;
    }
    const std::string sourceRoot = argv[1];
    kz::HeadlessGame game(sourceRoot);
    kz::GameScreen& s = game.screen();

    // Left of the panels and below the controls: felt that no element covers.
    const int32_t feltX = s.getInstructionsPanel()->getX() / 2;
    const int32_t feltY = s.getHeight() - s.getInstructionsPanel()->getY();
    for (int32_t i = 0; i < s.getChildCount(); ++i) {
        kz::Element* child = s.getChild(i);
        if (child != s.getBackdrop() && inside(*child, feltX, feltY)) {
            std::cerr << "the felt point " << feltX << ", " << feltY << " is under an element\n";
            return 1;
        }
    }

    std::ostringstream json;
    json << "{\n  \"screen\": " << point(s.getWidth(), s.getHeight()) << ",\n"
         << "  \"board\": " << rectOf(*s.getBoard()) << ",\n"
         << "  \"instructions\": " << rectOf(*s.getInstructionsPanel()) << ",\n"
         << "  \"moves_panel\": " << rectOf(*s.getMovesPanel()) << ",\n"
         << "  \"time_panel\": " << rectOf(*s.getTimePanel()) << ",\n"
         << "  \"controls_panel\": " << rectOf(*s.getControlsPanel()) << ",\n"
         << "  \"restart\": " << rectOf(*s.getRestartButton()) << ",\n"
         << "  \"give_up\": " << rectOf(*s.getGiveUpButton()) << ",\n"
         << "  \"quit\": " << rectOf(*s.getQuitButton()) << ",\n"
         << "  \"next\": " << rectOf(*s.getNextButton()) << ",\n"
         << "  \"moves_counter\": " << rectOf(*s.getMovesCounter()) << ",\n"
         << "  \"clock\": " << rectOf(*s.getClockCounter()) << ",\n"
         << "  \"win_banner\": " << rectOf(*s.getWinBanner()) << ",\n"
         << "  \"felt\": " << point(feltX, feltY) << ",\n"
         << "  \"sticks\": {";
    const char* separator = "\n";
    for (kz::FieldSize size = 2; size <= 5; ++size) {
        const std::vector<std::string> centres = stickCentres(sourceRoot, size);
        // 2 n (n + 1) sticks in an n x n field.
        if (centres.size() != static_cast<size_t>(2 * size * (size + 1))) {
            std::cerr << "Next started no " << size << " x " << size << " game\n";
            return 1;
        }
        json << separator << "    \"" << size << "\": [";
        for (size_t i = 0; i < centres.size(); ++i) {
            json << (i ? ", " : "") << centres[i];
        }
        json << "]";
        separator = ",\n";
    }
    json << "\n  }\n}\n";

    std::ofstream out(argv[2]);
    out << json.str();
    if (!out.flush()) {
        std::cerr << "cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
