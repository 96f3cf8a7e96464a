// Writes the golden pictures of the game screen, and with a third folder the pictures of
// the help pages: render-goldens <source root> <golden folder> [<help folder>].
// Run it after an art change and look at every picture before committing them.
#include <stb_image_write.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/golden_scenes.h"
#include "tests/support/help_pictures.h"

namespace {

bool writePng(const std::string& path, const kz::help::Picture& picture) {
    std::vector<unsigned char> rgb;
    rgb.reserve(picture.pixels.size() * 3);
    for (uint32_t p : picture.pixels) {
        rgb.push_back(static_cast<unsigned char>(p >> 16));
        rgb.push_back(static_cast<unsigned char>(p >> 8));
        rgb.push_back(static_cast<unsigned char>(p));
    }
    return stbi_write_png(path.c_str(), picture.width, picture.height, 3, rgb.data(),
                          picture.width * 3) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <source root> <golden folder> [<help folder>]\n", argv[0]);
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
    if (argc == 4) {
        std::vector<kz::help::Picture> pictures = kz::help::pictures(argv[1]);
        if (pictures.empty()) {
            std::fprintf(stderr, "could not render the help pictures\n");
            ++failures;
        }
        for (const kz::help::Picture& picture : pictures) {
            const std::string path = std::string(argv[3]) + "/" + picture.name;
            if (!writePng(path, picture)) {
                std::fprintf(stderr, "could not write %s\n", path.c_str());
                ++failures;
                continue;
            }
            std::printf("%s\n", path.c_str());
        }
    }
    return failures == 0 ? 0 : 1;
}
