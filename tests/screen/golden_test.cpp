// The screen pixel for pixel against the pictures in tests/golden. After an art change or a
// deliberate change of the screen, run this test with KZ_UPDATE_GOLDENS=1 to write the
// pictures anew, and look at every one before committing them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <string>

#include "software/software_display.h"
#include "tests/support/golden_scenes.h"
#include "tests/support/picture_check.h"

namespace kz {
namespace golden {
// Names the scene in test listings instead of dumping its bytes.
void PrintTo(const Scene& scene, std::ostream* os) {
    *os << scene.name;
}
}  // namespace golden

namespace {

class GoldenPicture : public ::testing::TestWithParam<golden::Scene> {};

TEST_P(GoldenPicture, ScreenMatchesPixelForPixel) {
    const golden::Scene& scene = GetParam();
    HeadlessGame game(KZ_SOURCE_ROOT);
    ASSERT_TRUE(scene.stage(game));
    const std::string goldenPath =
        std::string(KZ_SOURCE_ROOT) + "/tests/golden/" + scene.name + ".png";
    const char* update = std::getenv("KZ_UPDATE_GOLDENS");
    if (update && std::string(update) == "1") {
        ASSERT_TRUE(game.savePng(goldenPath)) << "could not write " << goldenPath;
        std::printf("wrote %s\n", goldenPath.c_str());
        return;
    }
    const auto expected = decodeBitmapFile(goldenPath);
    ASSERT_NE(expected, nullptr) << "missing golden picture " << scene.name;
    expectPixels(game.display().targetPixels(), expected->width(), expected->height(),
                 expected->data().data(), scene.name, KZ_BINARY_DIR);
}

INSTANTIATE_TEST_SUITE_P(Screens, GoldenPicture, ::testing::ValuesIn(golden::scenes()),
                         [](const auto& test) {
                             std::string name = test.param.name;
                             for (char& c : name) {
                                 if (c == '-')
                                     c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace kz
