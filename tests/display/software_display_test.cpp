#include "software/software_display.h"
#include "tests/support/png_file.h"
#include "tests/support/target_pixel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/image.h"
#include "tests/support/counting_display.h"
#include "tests/support/recording_display.h"
#include "tests/support/resource_files.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_bitmaps.h"

namespace kz {
namespace {

using test::CountingDisplay;
using test::makeBmp;

// Rows in the high byte so that a key range of a few pixels of one row keys no other row.
uint32_t gradient(int32_t x, int32_t y) {
    return (static_cast<uint32_t>(y * 10) << 16) | (static_cast<uint32_t>(x * 10) << 8) | 0x40;
}

// A 10 x 10 source surface whose pixel (x, y) is gradient(x, y).
std::unique_ptr<Surface> gradientSurface(SoftwareDisplay& display, const ColourKey* key = nullptr) {
    auto bitmap = decodeBitmap(makeBmp(10, 10, gradient));
    auto surface = display.createSurface(10, 10, key);
    EXPECT_TRUE(bitmap && surface && display.copyBitmap(*surface, *bitmap));
    return surface;
}

// Reading bitmaps from files and writing pictures.
using SoftwareDisplayFiles = test::TempDirTest;

TEST(SoftwareDisplayTest, BlitCopiesTheRectangleExactly) {
    CountingDisplay display(40, 30);
    auto source = gradientSurface(display);
    ASSERT_TRUE(display.blit(*display.target(), {5, 6, 9, 9}, *source, {2, 3, 6, 6}, kBlitWait));
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            const bool inside = x >= 5 && x < 9 && y >= 6 && y < 9;
            EXPECT_EQ(pixelAt(display.targetPixels(), x, y), inside ? gradient(x - 3, y - 3) : 0u)
                << x << "," << y;
        }
    }
    EXPECT_EQ(display.takeWrittenRects(), (std::vector<Rect>{{5, 6, 9, 9}}));
    EXPECT_TRUE(display.takeWrittenRects().empty()) << "asking empties the record";
    EXPECT_EQ(display.pixelsWritten(), 12u);
}

TEST(SoftwareDisplayTest, DrawingIsClippedToTheTarget) {
    CountingDisplay display(8, 6);
    auto source = gradientSurface(display);
    ASSERT_TRUE(display.blit(*display.target(), {-2, -1, 4, 3}, *source, {0, 0, 6, 4}, kBlitWait));
    EXPECT_EQ(pixelAt(display.targetPixels(), 0, 0), gradient(2, 1));
    EXPECT_EQ(pixelAt(display.targetPixels(), 3, 1), gradient(5, 2));
    ASSERT_TRUE(display.blit(*display.target(), {5, 4, 11, 9}, *source, {1, 1, 7, 6}, kBlitWait));
    EXPECT_EQ(pixelAt(display.targetPixels(), 7, 5), gradient(3, 2));
    ASSERT_TRUE(
        display.blit(*display.target(), {20, 20, 25, 25}, *source, {0, 0, 5, 5}, kBlitWait));
    EXPECT_EQ(display.takeWrittenRects(), (std::vector<Rect>{{0, 0, 4, 3}, {5, 4, 8, 6}}));
    EXPECT_EQ(display.pixelsWritten(), 12u + 6u);
    EXPECT_EQ(pixelAt(display.targetPixels(), -1, 0), 0u);
    EXPECT_EQ(pixelAt(display.targetPixels(), 8, 0), 0u);
}

TEST(SoftwareDisplayTest, KeyedSourcePixelsAreSkippedInclusively) {
    CountingDisplay display(10, 10);
    // Keys the pixels of columns 3 to 5 of row 0, both ends included.
    const ColourKey key{gradient(3, 0), gradient(5, 0)};
    auto source = gradientSurface(display, &key);
    ASSERT_TRUE(display.fill(*display.target(), {0, 0, 10, 10}, 0x00ABCDEF));
    display.takeWrittenRects();
    display.resetPixelsWritten();

    ASSERT_TRUE(display.blit(*display.target(), {0, 0, 10, 2}, *source, {0, 0, 10, 2},
                             kBlitWait | kBlitKeySource));
    for (int32_t x = 0; x < 10; ++x) {
        const bool keyed = x >= 3 && x <= 5;
        EXPECT_EQ(pixelAt(display.targetPixels(), x, 0), keyed ? 0x00ABCDEFu : gradient(x, 0)) << x;
        EXPECT_EQ(pixelAt(display.targetPixels(), x, 1), gradient(x, 1)) << x;
    }
    EXPECT_EQ(display.pixelsWritten(), 17u);

    // Without the flag the key plays no part.
    ASSERT_TRUE(display.blit(*display.target(), {0, 0, 10, 1}, *source, {0, 0, 10, 1}, kBlitWait));
    EXPECT_EQ(pixelAt(display.targetPixels(), 4, 0), gradient(4, 0));
    EXPECT_EQ(display.pixelsWritten(), 17u + 10u);
}

TEST(SoftwareDisplayTest, KeyedPixelsAreCountedWhereTheClippedSourceLies) {
    CountingDisplay display(10, 10);
    // Keys columns 3 to 5 of row 0 only.
    const ColourKey key{gradient(3, 0), gradient(5, 0)};
    auto source = gradientSurface(display, &key);

    // Clipped on the left: source columns 4 to 9 land, of which 4 and 5 are keyed.
    ASSERT_TRUE(display.blit(*display.target(), {-4, 0, 6, 1}, *source, {0, 0, 10, 1},
                             kBlitWait | kBlitKeySource));
    EXPECT_EQ(display.takeWrittenRects(), (std::vector<Rect>{{0, 0, 6, 1}}));
    EXPECT_EQ(display.pixelsWritten(), 4u);
    display.resetPixelsWritten();

    // Clipped at the top: only source row 1 lands, and it holds no keyed pixel.
    ASSERT_TRUE(display.blit(*display.target(), {0, -1, 10, 1}, *source, {0, 0, 10, 2},
                             kBlitWait | kBlitKeySource));
    EXPECT_EQ(display.takeWrittenRects(), (std::vector<Rect>{{0, 0, 10, 1}}));
    EXPECT_EQ(display.pixelsWritten(), 10u);
    display.resetPixelsWritten();

    // A source without a key is copied whole even with the flag.
    auto plainSource = gradientSurface(display);
    ASSERT_TRUE(display.blit(*display.target(), {0, 0, 10, 1}, *plainSource, {0, 0, 10, 1},
                             kBlitWait | kBlitKeySource));
    EXPECT_EQ(display.pixelsWritten(), 10u);
}

// The calls of a short scene: fills and blits, keyed, clipped, offscreen, empty and failing.
std::vector<bool> drawScene(SoftwareDisplay& display) {
    const ColourKey key{gradient(3, 0), gradient(5, 2)};
    auto keyed = gradientSurface(display, &key);
    auto plain = gradientSurface(display);
    auto offscreen = display.createSurface(6, 6, nullptr);
    std::vector<bool> results;
    results.push_back(display.fill(*display.target(), {-3, -3, 9, 7}, 0x00123456));
    results.push_back(display.blit(*display.target(), {4, 2, 14, 12}, *keyed, {0, 0, 10, 10},
                                   kBlitWait | kBlitKeySource));
    results.push_back(
        display.blit(*display.target(), {-2, 8, 3, 13}, *plain, {5, 5, 10, 10}, kBlitWait));
    results.push_back(display.fill(*offscreen, {1, 1, 5, 5}, 0x00FEDCBA));
    results.push_back(
        display.blit(*offscreen, {0, 0, 3, 3}, *keyed, {2, 0, 5, 3}, kBlitWait | kBlitKeySource));
    results.push_back(
        display.blit(*display.target(), {7, 0, 13, 6}, *offscreen, {0, 0, 6, 6}, kBlitWait));
    results.push_back(display.blit(*display.target(), {1, 1, 1, 4}, *plain, {0, 0, 0, 3}, 0));
    results.push_back(display.blit(*display.target(), {0, 0, 4, 4}, *plain, {8, 8, 12, 12}, 0));
    results.push_back(display.fill(*display.target(), {20, 20, 30, 30}, 0x00FFFFFF));
    return results;
}

TEST(SoftwareDisplayTest, CountingLeavesTheDrawingAsItIs) {
    SoftwareDisplay plain(12, 11);
    CountingDisplay counting(12, 11);
    const std::vector<bool> results = drawScene(plain);
    EXPECT_EQ(drawScene(counting), results);
    EXPECT_EQ(results, (std::vector<bool>{true, true, true, true, true, true, true, false, true}));
    const SoftwareSurface& expected = plain.targetPixels();
    const SoftwareSurface& actual = counting.targetPixels();
    EXPECT_EQ(std::vector<uint32_t>(actual.pixels(), actual.pixels() + actual.pixelCount()),
              std::vector<uint32_t>(expected.pixels(), expected.pixels() + expected.pixelCount()));
    // The scene drew something of each: fill, keyed source, plain source, offscreen surface.
    EXPECT_EQ(pixelAt(expected, 0, 0), 0x00123456u);
    EXPECT_EQ(pixelAt(expected, 4, 2), gradient(0, 0));
    EXPECT_EQ(pixelAt(expected, 5, 3), 0x00123456u) << "keyed";
    EXPECT_EQ(pixelAt(expected, 0, 10), gradient(7, 7));
    EXPECT_EQ(pixelAt(expected, 8, 1), 0x00FEDCBAu);
    EXPECT_EQ(pixelAt(expected, 7, 0), gradient(2, 0));
    // Of the target writes only the fill, the two blits from the sources and the one from
    // the offscreen surface count; the empty, failing and outside calls do not.
    EXPECT_EQ(counting.takeWrittenRects(),
              (std::vector<Rect>{{0, 0, 9, 7}, {4, 2, 12, 11}, {0, 8, 3, 11}, {7, 0, 12, 6}}));
}

TEST(SoftwareDisplayTest, EmptyRectangleSucceedsAndDrawsNothing) {
    CountingDisplay display(10, 10);
    auto source = gradientSurface(display);
    EXPECT_TRUE(display.blit(*display.target(), {3, 3, 3, 8}, *source, {0, 0, 0, 5}, kBlitWait));
    EXPECT_TRUE(display.blit(*display.target(), {3, 3, 7, 3}, *source, {0, 0, 4, 0}, kBlitWait));
    EXPECT_TRUE(display.fill(*display.target(), {2, 2, 2, 2}, 0xFFFFFF));
    EXPECT_TRUE(display.takeWrittenRects().empty());
    EXPECT_EQ(display.pixelsWritten(), 0u);
}

TEST(SoftwareDisplayTest, MalformedBlitsFail) {
    CountingDisplay display(10, 10);
    auto source = gradientSurface(display);
    EXPECT_FALSE(display.blit(*display.target(), {0, 0, 5, 5}, *source, {0, 0, 4, 5}, kBlitWait))
        << "unequal sizes";
    EXPECT_FALSE(display.blit(*display.target(), {0, 0, 5, 5}, *source, {6, 0, 11, 5}, kBlitWait))
        << "source beyond the surface";
    EXPECT_FALSE(display.blit(*display.target(), {0, 0, 5, 5}, *source, {-1, 0, 4, 5}, kBlitWait));
    test::RecordingSurface foreign("foreign", 10, 10);
    EXPECT_FALSE(display.blit(*display.target(), {0, 0, 5, 5}, foreign, {0, 0, 5, 5}, kBlitWait));
    EXPECT_FALSE(display.fill(foreign, {0, 0, 5, 5}, 0));
    EXPECT_EQ(display.createSurface(0, 5, nullptr), nullptr);
    EXPECT_EQ(display.pixelsWritten(), 0u);
    EXPECT_TRUE(display.takeWrittenRects().empty());
}

TEST(SoftwareDisplayTest, FillIsClippedAndRecorded) {
    CountingDisplay display(10, 10);
    ASSERT_TRUE(display.fill(*display.target(), {-5, 8, 3, 20}, 0x00FF8000));
    EXPECT_EQ(pixelAt(display.targetPixels(), 0, 9), 0x00FF8000u);
    EXPECT_EQ(pixelAt(display.targetPixels(), 2, 8), 0x00FF8000u);
    EXPECT_EQ(pixelAt(display.targetPixels(), 3, 8), 0u);
    EXPECT_EQ(pixelAt(display.targetPixels(), 0, 7), 0u);
    EXPECT_EQ(display.takeWrittenRects(), (std::vector<Rect>{{0, 8, 3, 10}}));
    EXPECT_EQ(display.pixelsWritten(), 6u);

    // Drawing into an offscreen surface or another display's target is not a write to the
    // target.
    auto surface = display.createSurface(4, 4, nullptr);
    ASSERT_TRUE(display.fill(*surface, {0, 0, 4, 4}, 1));
    SoftwareDisplay other(10, 10);
    ASSERT_TRUE(display.fill(*other.target(), {0, 0, 4, 4}, 1));
    ASSERT_TRUE(display.blit(*surface, {0, 0, 4, 4}, *other.target(), {0, 0, 4, 4}, kBlitWait));
    EXPECT_TRUE(display.takeWrittenRects().empty());
    EXPECT_EQ(display.pixelsWritten(), 6u);
}

TEST_F(SoftwareDisplayFiles, DecodesBitmapsFromResolverOrFile) {
    const std::vector<uint8_t> bmp = makeBmp(6, 4, gradient);
    const std::string path = temp.write("picture.bmp", bmp);
    int asked = 0;
    SoftwareDisplay display(20, 20, [&](int32_t id, int32_t scale) {
        ++asked;
        return id == 7 && scale == 1 ? bmp : std::vector<uint8_t>{};
    });

    Image fromResource(&display, BitmapName::resource(7), 6, 4, 1, 1, 1);
    ASSERT_TRUE(fromResource.load());
    ASSERT_TRUE(fromResource.blit(display.target(), {0, 0, 6, 4}, {0, 0, 6, 4}));
    EXPECT_EQ(pixelAt(display.targetPixels(), 5, 3), gradient(5, 3)) << "rows are not upside down";
    EXPECT_EQ(pixelAt(display.targetPixels(), 0, 0), gradient(0, 0));

    Image fromFile(&display, BitmapName{0, path}, 6, 4, 1, 1, 1);
    ASSERT_TRUE(fromFile.load());
    ASSERT_TRUE(fromFile.blit(display.target(), {10, 10, 16, 14}, {0, 0, 6, 4}));
    EXPECT_EQ(pixelAt(display.targetPixels(), 12, 11), gradient(2, 1));

    // A resource id the resolver does not know falls back to the path.
    BitmapName both{99, path};
    EXPECT_NE(display.openBitmap(both, 6, 4), nullptr);
    EXPECT_EQ(display.openBitmap(BitmapName::resource(99), 6, 4), nullptr);
    EXPECT_EQ(display.openBitmap(BitmapName{0, path + ".missing"}, 6, 4), nullptr);
    EXPECT_EQ(display.openBitmap(BitmapName::resource(7), 6, 5), nullptr) << "wrong size";
    EXPECT_GE(asked, 3);

    Image unknown(&display, BitmapName::resource(12345), 6, 4, 1, 1, 1);
    EXPECT_FALSE(unknown.load());
    EXPECT_EQ(unknown.getSurface(), nullptr);
    EXPECT_FALSE(unknown.blit(display.target(), {0, 0, 1, 1}, {0, 0, 1, 1}));

    // Bytes that are no picture decode to nothing.
    EXPECT_EQ(decodeBitmap({'B', 'M', 0, 1, 2, 3}), nullptr);
    EXPECT_EQ(decodeBitmap({}), nullptr);
}

TEST_F(SoftwareDisplayFiles, ResolvesResourceIdsToFilesOfADirectory) {
    const std::vector<uint8_t> bmp = makeBmp(3, 3, [](int32_t, int32_t) { return 0x00112233u; });
    temp.write("bitmaps/104.bmp", bmp);
    const std::vector<uint8_t> larger{'P', 'N', 'G'};
    temp.write("bitmaps/2x/104.png", larger);
    auto resolve = bitmapDirectoryResolver((temp / "bitmaps").string());
    EXPECT_EQ(resolve(104, 1), bmp);
    EXPECT_TRUE(resolve(105, 1).empty());
    // A larger set is the folder of its scale.
    EXPECT_EQ(resolve(104, 2), larger);
    EXPECT_TRUE(resolve(104, 3).empty());

    // The game's felt, from the source tree.
    SoftwareDisplay display(100, 100, sourceTreeResolver(KZ_SOURCE_ROOT));
    EXPECT_NE(display.openBitmap(BitmapName::resource(102), 100, 100), nullptr);
}

TEST(SoftwareDisplayTest, DrawsIntoTheCallersPixelsWithinTheirBounds) {
    // A guard pixel on each side: nothing may be written outside the given rows.
    std::vector<uint32_t> memory(2 + 4 * 3, 0xDEADBEEFu);
    SoftwareDisplay display(memory.data() + 1, 4, 3);
    ASSERT_EQ(display.width(), 4);
    ASSERT_EQ(display.targetPixels().pixels(), memory.data() + 1);
    ASSERT_TRUE(display.fill(*display.target(), {-5, -5, 50, 50}, 0x00112233u));
    auto source = gradientSurface(display);
    ASSERT_TRUE(display.blit(*display.target(), {3, 2, 5, 4}, *source, {0, 0, 2, 2}, kBlitWait));
    EXPECT_EQ(memory.front(), 0xDEADBEEFu);
    EXPECT_EQ(memory.back(), 0xDEADBEEFu);
    EXPECT_EQ(memory[1], 0x00112233u);
    // Only the top-left source pixel lands inside, at the last pixel of the target.
    EXPECT_EQ(memory[1 + 4 * 3 - 1], gradient(0, 0));
    EXPECT_EQ(memory[1 + 4 * 3 - 2], 0x00112233u);
}

TEST(SoftwareDisplayTest, MissingCallerPixelsMakeAnEmptyTarget) {
    CountingDisplay display(nullptr, 4, 3);
    EXPECT_EQ(display.width(), 0);
    EXPECT_EQ(display.height(), 0);
    EXPECT_TRUE(display.fill(*display.target(), {0, 0, 4, 3}, 1u));
    EXPECT_EQ(display.pixelsWritten(), 0u);
}

TEST_F(SoftwareDisplayFiles, SavesTheTargetAsPng) {
    SoftwareDisplay display(7, 5);
    auto source = gradientSurface(display);
    ASSERT_TRUE(display.blit(*display.target(), {0, 0, 7, 5}, *source, {1, 1, 8, 6}, kBlitWait));
    const std::string path = (temp / "target.png").string();
    ASSERT_TRUE(savePng(display.targetPixels(), path));
    auto decoded = decodeBitmapFile(path);
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(decoded->width(), 7);
    ASSERT_EQ(decoded->height(), 5);
    const SoftwareSurface& target = display.targetPixels();
    EXPECT_EQ(decoded->data(),
              std::vector<uint32_t>(target.pixels(), target.pixels() + target.pixelCount()));
}

}  // namespace
}  // namespace kz
