// Writes the golden pictures of the game screen: render-goldens <source root> <output folder>.
// Run it after an art change and look at every picture before committing them.
#include <cstdio>
#include <string>

#include "tests/support/golden_scenes.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source root> <output folder>\n", argv[0]);
        return 2;
    }
    int failures = 0;
    for (const kz::golden::Scene& scene : kz::golden::scenes()) {
        kz::HeadlessGame game(argv[1]);
        const std::string path = std::string(argv[2]) + "/" + scene.name + ".png";
        if (!scene.stage(game) || !game.savePng(path)) {
            std::fprintf(stderr, "could not render %s\n", scene.name.c_str());
            ++failures;
            continue;
        }
        std::printf("%s\n", path.c_str());
    }
    return failures == 0 ? 0 : 1;
}
