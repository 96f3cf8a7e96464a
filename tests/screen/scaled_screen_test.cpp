// The screen drawn 2 and 3 times larger: the same draws as at the design's size, each rectangle
// multiplied, from the larger set of pictures; the same dirty areas, multiplied; and a scale
// changed during a game that gives the same picture as a game drawn at that scale from the
// start (a scale without pictures is refused: scaled_display_test).
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "software/software_display.h"
#include "tests/support/golden_scenes.h"
#include "tests/support/picture_check.h"
#include "tests/support/resource_files.h"

namespace kz {
namespace {

Rect times(const Rect& r, int32_t scale) {
    return {r.left * scale, r.top * scale, r.right * scale, r.bottom * scale};
}

// The picture a list of writes at the design's size makes at a larger scale when each one
// copies the larger set's picture (or fills) at the multiplied place: what a scaled screen
// must show.
class ArtPlacer {
  public:
    ArtPlacer(int32_t scale, int32_t width, int32_t height)
        : factor(scale),
          display(width * scale, height * scale, sourceTreeResolver(KZ_SOURCE_ROOT)) {}

    void place(const std::vector<test::TargetWrite>& writes) {
        for (const test::TargetWrite& write : writes) {
            if (write.fill) {
                ASSERT_TRUE(
                    display.fill(*display.target(), times(write.dst, factor), write.colour));
                continue;
            }
            ASSERT_EQ(write.picture.scale, 1);
            SoftwareSurface& larger = picture(write.picture.resourceId);
            ASSERT_TRUE(display.blit(*display.target(), times(write.dst, factor), larger,
                                     times(write.src, factor), kBlitWait));
        }
    }

    const SoftwareSurface& pixels() const { return display.targetPixels(); }

  private:
    SoftwareSurface& picture(int32_t id) {
        auto found = art.find(id);
        if (found == art.end()) {
            // Read from the file without the image table: the larger set must stand alone.
            auto bitmap =
                decodeBitmapFile(std::string(KZ_SOURCE_ROOT) + "/resources/bitmaps/" +
                                 std::to_string(factor) + "x/" + std::to_string(id) + ".png");
            EXPECT_NE(bitmap, nullptr) << "no picture " << id << " at scale " << factor;
            auto surface = std::make_unique<SoftwareSurface>(bitmap ? bitmap->width() : 1,
                                                             bitmap ? bitmap->height() : 1);
            if (bitmap) {
                display.copyBitmap(*surface, *bitmap);
            }
            found = art.emplace(id, std::move(surface)).first;
        }
        return *found->second;
    }

    int32_t factor;
    SoftwareDisplay display;
    std::map<int32_t, std::unique_ptr<SoftwareSurface>> art;
};

class ScaledScreen : public ::testing::TestWithParam<int32_t> {};

TEST_P(ScaledScreen, EveryGoldenSceneIsTheLargerArtPlacedWhereTheDesignPlacesItsArt) {
    const int32_t scale = GetParam();
    for (const golden::Scene& scene : golden::scenes()) {
        SCOPED_TRACE(scene.name);
        HeadlessGame design(KZ_SOURCE_ROOT);
        HeadlessGame larger(KZ_SOURCE_ROOT, {}, scale);
        ASSERT_TRUE(scene.stage(design));
        ASSERT_TRUE(scene.stage(larger));
        const std::vector<test::TargetWrite> writes = design.display().takeTargetWrites();
        const std::vector<test::TargetWrite> scaledWrites = larger.display().takeTargetWrites();
        ASSERT_EQ(scaledWrites.size(), writes.size()) << "the same draws, no more, no fewer";
        for (size_t i = 0; i < writes.size(); ++i) {
            EXPECT_EQ(scaledWrites[i].fill, writes[i].fill) << "write " << i;
            EXPECT_EQ(scaledWrites[i].picture.resourceId, writes[i].picture.resourceId);
            EXPECT_EQ(scaledWrites[i].picture.scale, writes[i].fill ? 1 : scale);
            EXPECT_EQ(scaledWrites[i].dst, times(writes[i].dst, scale)) << "write " << i;
            EXPECT_EQ(scaledWrites[i].src, times(writes[i].src, scale)) << "write " << i;
        }
        ArtPlacer expected(scale, design.session().width(), design.session().height());
        expected.place(writes);
        const SoftwareSurface& want = expected.pixels();
        expectPixels(larger.display().targetPixels(), want.width(), want.height(), want.pixels(),
                     scene.name + "-" + std::to_string(scale) + "x", KZ_BINARY_DIR);
    }
}

TEST_P(ScaledScreen, OnlyTheDirtyAreasAreDrawnAndPresentedMultiplied) {
    const int32_t scale = GetParam();
    HeadlessGame design(KZ_SOURCE_ROOT);
    HeadlessGame larger(KZ_SOURCE_ROOT, {}, scale);
    ASSERT_TRUE(golden::playing(design));
    ASSERT_TRUE(golden::playing(larger));
    design.display().takeWrittenRects();
    larger.display().takeWrittenRects();
    design.shell().presented.clear();
    larger.shell().presented.clear();
    design.display().resetPixelsWritten();
    larger.display().resetPixelsWritten();

    // A tick of the clock and the pointer onto the Next button: small areas change.
    ASSERT_TRUE(design.tick());
    ASSERT_TRUE(larger.tick());
    auto [x, y] = HeadlessGame::centreOf(*design.screen().getGiveUpButton());
    ASSERT_TRUE(design.moveTo(x, y));
    ASSERT_TRUE(larger.moveTo(x, y));

    const std::vector<Rect> written = design.display().takeWrittenRects();
    std::vector<Rect> expected;
    for (const Rect& r : written) {
        expected.push_back(times(r, scale));
    }
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(larger.display().takeWrittenRects(), expected);
    EXPECT_EQ(larger.display().pixelsWritten(),
              design.display().pixelsWritten() * static_cast<uint64_t>(scale * scale));
    EXPECT_LT(design.display().pixelsWritten(), 690u * 500u / 10u) << "a small part only";
    // The program is handed the game's areas; it multiplies them as it shows them.
    EXPECT_EQ(larger.shell().presented, design.shell().presented);
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledScreen, ::testing::Values(2, 3),
                         [](const auto& test) { return std::to_string(test.param) + "x"; });

TEST(ScaledScreenChange, AGameMovedToAnotherScaleLooksAsOneDrawnThereFromTheStart) {
    HeadlessGame game(KZ_SOURCE_ROOT);
    HeadlessGame atTwo(KZ_SOURCE_ROOT, {}, 2);
    ASSERT_TRUE(golden::won(game));
    ASSERT_TRUE(golden::won(atTwo));

    ASSERT_TRUE(game.scaledDisplay().setScale(2));
    game.display().resetTarget(690 * 2, 500 * 2);
    ASSERT_TRUE(game.paintAll());
    const SoftwareSurface& two = atTwo.display().targetPixels();
    expectPixels(game.display().targetPixels(), two.width(), two.height(), two.pixels(),
                 "won-to-2x", KZ_BINARY_DIR);

    // And back: the design's picture again.
    HeadlessGame design(KZ_SOURCE_ROOT);
    ASSERT_TRUE(golden::won(design));
    ASSERT_TRUE(game.scaledDisplay().setScale(1));
    game.display().resetTarget(690, 500);
    ASSERT_TRUE(game.paintAll());
    const SoftwareSurface& one = design.display().targetPixels();
    expectPixels(game.display().targetPixels(), one.width(), one.height(), one.pixels(),
                 "won-to-1x", KZ_BINARY_DIR);
}

}  // namespace
}  // namespace kz
