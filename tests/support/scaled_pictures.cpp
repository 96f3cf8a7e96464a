// Writes the idle screen drawn 2 and 3 times larger from the larger sets of pictures, as
// the end-to-end scripts compare a program's picture with it: idle-2x.png and idle-3x.png.
// The screen tests hold these frames to the larger art placed where the design places its
// art.
// usage: scaled_pictures SOURCE_ROOT OUTPUT_DIR
#include <iostream>
#include <string>

#include "tests/support/headless_game.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: scaled_pictures SOURCE_ROOT OUTPUT_DIR\n";
        return 2;
    }
    for (int32_t scale : {2, 3}) {
        kz::HeadlessGame game(argv[1], {}, scale);
        const std::string path = std::string(argv[2]) + "/idle-" + std::to_string(scale) + "x.png";
        if (!game.paintAll() || !game.savePng(path)) {
            std::cerr << "cannot draw or write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
