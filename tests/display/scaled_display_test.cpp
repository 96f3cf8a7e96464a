#include "display/scaled_display.h"

#include <gtest/gtest.h>

#include <memory>

#include "display/image.h"
#include "tests/support/counting_display.h"
#include "tests/support/recording_display.h"
#include "tests/support/target_pixel.h"
#include "tests/support/test_bitmaps.h"

namespace kz {
namespace {

// A picture whose colour tells its scale and its pixel apart: 0x00SSYYXX, so that a key
// range can take one row.
uint32_t colourAt(int32_t scale, int32_t x, int32_t y) {
    return static_cast<uint32_t>(scale) << 16 | static_cast<uint32_t>(y) << 8 |
           static_cast<uint32_t>(x);
}

// One 4 x 2 picture (id 1) at scales 1, 2 and 3; scale 3 lacks it when told so.
struct Pictures {
    explicit Pictures(bool withThree = true) {
        shelf.bitmaps[1] =
            test::makeBmp(4, 2, [](int32_t x, int32_t y) { return colourAt(1, x, y); });
        for (int32_t scale = 2; scale <= (withThree ? 3 : 2); ++scale) {
            shelf.larger[{1, scale}] =
                test::makeBmp(4 * scale, 2 * scale,
                              [scale](int32_t x, int32_t y) { return colourAt(scale, x, y); });
        }
    }
    test::BitmapShelf shelf;
};

TEST(ScaledDisplay, AMissingLargerPictureFailsTheLoadAndTheScaleChange) {
    Pictures pictures(false);
    test::CountingDisplay software(24, 12, pictures.shelf.resolver());
    {
        ScaledDisplay atThree(software, 3);
        Image image(&atThree, BitmapName::resource(1), 4, 2, 1, 1, 1);
        EXPECT_FALSE(image.load()) << "no design picture stands in for a missing larger one";
    }
    ScaledDisplay scaled(software, 2);
    Image image(&scaled, BitmapName::resource(1), 4, 2, 1, 1, 1);
    ASSERT_TRUE(image.load());
    EXPECT_FALSE(scaled.setScale(3));
    EXPECT_EQ(scaled.scale(), 2);
    ASSERT_TRUE(image.blit(scaled.target(), {0, 0, 4, 2}, {0, 0, 4, 2}));
    EXPECT_EQ(pixelAt(software.targetPixels(), 7, 3), colourAt(2, 7, 3)) << "the old set stays";

    ASSERT_TRUE(scaled.setScale(1));
    ASSERT_TRUE(image.blit(scaled.target(), {0, 0, 4, 2}, {0, 0, 4, 2}));
    EXPECT_EQ(pixelAt(software.targetPixels(), 3, 1), colourAt(1, 3, 1));
    EXPECT_EQ(pixelAt(software.targetPixels(), 4, 1), colourAt(2, 4, 1))
        << "drawn only where asked";
}

TEST(ScaledDisplay, ASurfaceWithoutAPictureAndAKeyedOneKeepTheirKindAtAnotherScale) {
    Pictures pictures;
    test::CountingDisplay software(24, 12, pictures.shelf.resolver());
    ScaledDisplay scaled(software, 1);
    // Keys out every pixel of row 0 of the larger pictures.
    Image keyed(&scaled, BitmapName::resource(1), 4, 2, 1, 1, 1, true, colourAt(3, 0, 0),
                colourAt(3, 11, 0));
    ASSERT_TRUE(keyed.load());
    std::unique_ptr<Surface> blank = scaled.createSurface(2, 2, nullptr);
    ASSERT_NE(blank, nullptr);

    ASSERT_TRUE(scaled.setScale(3));
    ASSERT_TRUE(software.fill(*software.target(), {0, 0, 24, 12}, 0xABCDEF));
    ASSERT_TRUE(keyed.blit(scaled.target(), {0, 0, 4, 2}, {0, 0, 4, 2}));
    EXPECT_EQ(pixelAt(software.targetPixels(), 5, 0), 0xABCDEFu) << "the key still holds";
    EXPECT_EQ(pixelAt(software.targetPixels(), 5, 1), colourAt(3, 5, 1));
    ASSERT_TRUE(scaled.blit(*scaled.target(), {4, 0, 6, 2}, *blank, {0, 0, 2, 2}, kBlitWait));
    EXPECT_EQ(pixelAt(software.targetPixels(), 17, 5), 0u) << "a blank surface of 6 x 6";
    EXPECT_FALSE(scaled.blit(*scaled.target(), {0, 0, 3, 3}, *blank, {0, 0, 3, 3}, kBlitWait))
        << "2 x 2 of the game, no larger";
}

TEST(ScaledDisplay, SurfacesMayOutliveTheDisplay) {
    Pictures pictures;
    test::CountingDisplay software(8, 4, pictures.shelf.resolver());
    std::unique_ptr<Surface> surface;
    {
        ScaledDisplay scaled(software, 2);
        surface = scaled.createSurface(4, 2, nullptr);
        ASSERT_NE(surface, nullptr);
    }
    surface.reset();  // no display left to tell
}

}  // namespace
}  // namespace kz
