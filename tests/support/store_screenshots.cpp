// Draws the screenshots the AppStream data names, from the game itself: for each
// <image ... width="W" height="H">ADDRESS/NAME.png</image> of the metainfo file it stages the
// scene NAME as the golden pictures do and writes OUTPUT_DIR/NAME.png. A name with no scene,
// or a size other than the screen's, fails the build, so the listing and the pictures agree.
// usage: store_screenshots SOURCE_ROOT METAINFO_XML OUTPUT_DIR
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>

#include "tests/support/golden_scenes.h"

namespace {

bool drawScene(const std::string& sourceRoot, const std::string& name, int width, int height,
               const std::string& path) {
    for (const kz::golden::Scene& scene : kz::golden::scenes()) {
        if (scene.name != name) {
            continue;
        }
        kz::HeadlessGame game(sourceRoot);
        if (game.screen().getWidth() != width || game.screen().getHeight() != height) {
            std::cerr << name << ": the listing says " << width << " x " << height
                      << ", the screen is " << game.screen().getWidth() << " x "
                      << game.screen().getHeight() << "\n";
            return false;
        }
        if (!scene.stage(game) || !game.savePng(path)) {
            std::cerr << name << ": the scene could not be drawn to " << path << "\n";
            return false;
        }
        return true;
    }
    std::cerr << name << ": no scene of that name\n";
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: store_screenshots SOURCE_ROOT METAINFO_XML OUTPUT_DIR\n";
        return 2;
    }
    std::ifstream in(argv[2]);
    std::stringstream text;
    text << in.rdbuf();
    const std::string metainfo = text.str();
    const std::regex image(
        R"re(<image[^>]*\bwidth="(\d+)"[^>]*\bheight="(\d+)"[^>]*>[^<]*/([a-z0-9-]+)\.png</image>)re");
    int drawn = 0;
    for (auto it = std::sregex_iterator(metainfo.begin(), metainfo.end(), image);
         it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        const std::string path = std::string(argv[3]) + "/" + m[3].str() + ".png";
        if (!drawScene(argv[1], m[3].str(), std::stoi(m[1].str()), std::stoi(m[2].str()), path)) {
            return 1;
        }
        ++drawn;
    }
    if (drawn == 0) {
        std::cerr << argv[2] << " names no screenshot\n";
        return 1;
    }
    return 0;
}
