// The cairo surface layer against the software one: the same operations must leave the
// same pixels and give the same answers. Surfaces here are images in memory; in the program
// they are made like the window's (pixmaps in the X server) and follow the same rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "app/common/game_session.h"
#include "app/gtk/cairo_display.h"
#include "display/scaled_display.h"
#include "software/software_display.h"
#include "tests/support/headless_game.h"
#include "tests/support/recording_host.h"
#include "tests/support/resource_files.h"

namespace kz {
namespace {

cairo_surface_t* imageSurface(int32_t width, int32_t height) {
    return cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
}

std::vector<uint32_t> pixelsOf(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int32_t w = cairo_image_surface_get_width(surface);
    const int32_t h = cairo_image_surface_get_height(surface);
    const int32_t stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int32_t x = 0; x < w; ++x) {
            out.push_back(row[x] & 0xFFFFFF);
        }
    }
    return out;
}

std::vector<uint32_t> pixelsOf(const SoftwareSurface& surface) {
    return std::vector<uint32_t>(surface.pixels(), surface.pixels() + surface.pixelCount());
}

// A picture with a gradient and a band of colours inside the test key range.
SoftwareBitmap picture(int32_t w, int32_t h, uint32_t seed) {
    std::vector<uint32_t> px;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const auto v = static_cast<uint32_t>(x * 7 + y * 13) + seed;
            px.push_back(x % 5 == 0 ? 0x00FF00u + (v & 3) : (v * 2654435761u) & 0xFFFFFF);
        }
    }
    return SoftwareBitmap(w, h, px);
}

class CairoDisplayTest : public ::testing::Test {
  protected:
    static constexpr int32_t kW = 64;
    static constexpr int32_t kH = 48;
    void SetUp() override { ASSERT_TRUE(cairo_.makeTarget(kW, kH)); }

    CairoDisplay cairo_{imageSurface};
    SoftwareDisplay software_{kW, kH};

    cairo_surface_t* cairoTarget() { return cairo_.targetSurface(); }
    void expectSameTarget(const char* after) {
        EXPECT_EQ(pixelsOf(cairoTarget()), pixelsOf(software_.targetPixels())) << after;
    }
};

TEST_F(CairoDisplayTest, BlitsAndFillsLeaveThePixelsOfTheSoftwareSurface) {
    ASSERT_TRUE(cairo_.ready());
    const ColourKey key{0x00FF00, 0x00FF03};
    struct Pair {
        std::unique_ptr<Surface> cairo;
        std::unique_ptr<Surface> software;
    };
    std::vector<Pair> sources;
    for (int i = 0; i < 3; ++i) {
        const int32_t w = 20 + 7 * i;
        const int32_t h = 15 + 5 * i;
        const ColourKey* k = i == 2 ? &key : nullptr;
        Pair p{cairo_.createSurface(w, h, k), software_.createSurface(w, h, k)};
        ASSERT_NE(p.cairo, nullptr);
        SoftwareBitmap bitmap = picture(w, h, static_cast<uint32_t>(i) * 1000);
        ASSERT_TRUE(cairo_.copyBitmap(*p.cairo, bitmap));
        ASSERT_TRUE(software_.copyBitmap(*p.software, SoftwareBitmap(w, h, bitmap.data())));
        sources.push_back(std::move(p));
    }

    std::mt19937 random(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int step = 0; step < 400; ++step) {
        if (step % 9 == 0) {
            const Rect r{pick(-10, kW), pick(-10, kH), pick(-10, kW + 10), pick(-10, kH + 10)};
            const auto colour = static_cast<uint32_t>(pick(0, 0xFFFFFF));
            ASSERT_EQ(cairo_.fill(*cairo_.target(), r, colour),
                      software_.fill(*software_.target(), r, colour));
        } else {
            Pair& s = sources[static_cast<size_t>(pick(0, 2))];
            const int32_t w = pick(-2, 30);
            const int32_t h = pick(-2, 30);
            const Rect src{pick(-3, 25), pick(-3, 20), 0, 0};
            const Rect from{src.left, src.top, src.left + w, src.top + h};
            const Rect to{pick(-20, kW), pick(-20, kH), 0, 0};
            // Now and then destination and source differ in size: refused by both.
            const int32_t grow = step % 23 == 0 ? 1 : 0;
            const Rect dst{to.left, to.top, to.left + w + grow, to.top + h};
            const uint32_t flags = kBlitWait | (step % 2 == 0 ? kBlitKeySource : 0u);
            ASSERT_EQ(cairo_.blit(*cairo_.target(), dst, *s.cairo, from, flags),
                      software_.blit(*software_.target(), dst, *s.software, from, flags))
                << "step " << step;
        }
        if (step % 50 == 0) {
            expectSameTarget("a step");
        }
    }
    expectSameTarget("every step");
}

TEST_F(CairoDisplayTest, RefusesWhatTheSoftwareSurfaceRefuses) {
    SoftwareBitmap bitmap = picture(10, 10, 1);
    auto surface = cairo_.createSurface(10, 10, nullptr);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(cairo_.createSurface(0, 10, nullptr), nullptr);
    EXPECT_FALSE(cairo_.copyBitmap(*surface, picture(10, 11, 1)));
    ASSERT_TRUE(cairo_.copyBitmap(*surface, bitmap));
    // A surface of another display is not drawn from or onto.
    SoftwareDisplay other(10, 10);
    auto foreign = other.createSurface(10, 10, nullptr);
    CairoDisplay second(imageSurface);
    ASSERT_TRUE(second.makeTarget(10, 10));
    auto secondSurface = second.createSurface(10, 10, nullptr);
    EXPECT_FALSE(cairo_.blit(*cairo_.target(), {0, 0, 5, 5}, *foreign, {0, 0, 5, 5}, kBlitWait));
    EXPECT_FALSE(
        cairo_.blit(*cairo_.target(), {0, 0, 5, 5}, *secondSurface, {0, 0, 5, 5}, kBlitWait));
    EXPECT_FALSE(cairo_.fill(*foreign, {0, 0, 5, 5}, 0));
    EXPECT_FALSE(cairo_.copyBitmap(*secondSurface, bitmap));
    // A keyed surface that never got its picture draws nothing and says so.
    const ColourKey key{1, 2};
    auto empty = cairo_.createSurface(10, 10, &key);
    EXPECT_FALSE(cairo_.blit(*cairo_.target(), {0, 0, 5, 5}, *empty, {0, 0, 5, 5},
                             kBlitWait | kBlitKeySource));
}

// The program's pictures from the source tree, in the set of a scale.
std::unique_ptr<SoftwareBitmap> sourceTree(int32_t id, int32_t scale,
                                           const CairoDisplay::Decoder& decode) {
    const std::vector<uint8_t> bytes = sourceTreeResolver(KZ_SOURCE_ROOT)(id, scale);
    return decode(bytes.data(), bytes.size());
}

void expectDecodedAlike(const std::vector<uint8_t>& bytes, const std::string& what) {
    std::unique_ptr<SoftwareBitmap> ours = decodePicture(bytes.data(), bytes.size());
    std::unique_ptr<SoftwareBitmap> theirs = decodeBitmap(bytes);
    ASSERT_NE(theirs, nullptr) << what;
    ASSERT_NE(ours, nullptr) << what;
    EXPECT_EQ(ours->width(), theirs->width()) << what;
    EXPECT_EQ(ours->height(), theirs->height()) << what;
    EXPECT_EQ(ours->data(), theirs->data()) << what;
}

TEST(DecodePicture, ReadsEveryPictureOfTheGameAsTheSoftwareSurfaceDoes) {
    const std::string root = KZ_SOURCE_ROOT;
    int pictures = 0;
    // The design's BMPs and the larger sets' PNGs, which go through gdk-pixbuf (the page's
    // WebP sets are the browser's to decode).
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(root + "/resources/bitmaps")) {
        const std::string kind = entry.path().extension().string();
        if (entry.is_regular_file() && (kind == ".bmp" || kind == ".png")) {
            expectDecodedAlike(readFileBytes(entry.path().string()), entry.path().string());
            ++pictures;
        }
    }
    EXPECT_EQ(pictures, 21 * 3);
    expectDecodedAlike(
        readFileBytes(root + "/resources/icons/hicolor/32x32/kestrane-zivadorured.png"), "a PNG");
    const auto fromFile = decodePictureFile(root + "/resources/bitmaps/102.bmp");
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(fromFile->width(), 100);
}

// A BMP as another program may write it: 2 x 2, the given bits per pixel and row order.
std::vector<uint8_t> smallBmp(uint16_t bits, bool topDown) {
    const size_t stride = (2 * bits / 8 + 3) & ~size_t{3};
    std::vector<uint8_t> b(54 + stride * 2, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
        }
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 2);
    put32(22, topDown ? static_cast<uint32_t>(-2) : 2u);
    b[26] = 1;
    b[28] = static_cast<uint8_t>(bits);
    // Stored rows: first the top row when top-down, else the bottom row. Blue, green, red.
    const uint8_t colours[4][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
    for (size_t row = 0; row < 2; ++row) {
        for (size_t x = 0; x < 2; ++x) {
            const uint8_t* c = colours[row * 2 + x];
            std::copy(c, c + 3,
                      b.begin() + static_cast<std::ptrdiff_t>(54 + row * stride + x * bits / 8));
        }
    }
    return b;
}

TEST(DecodePicture, ReadsRowsInEitherOrderAnd32BitPixels) {
    for (uint16_t bits : {uint16_t{24}, uint16_t{32}}) {
        for (bool topDown : {false, true}) {
            const std::vector<uint8_t> bytes = smallBmp(bits, topDown);
            auto bitmap = decodePicture(bytes.data(), bytes.size());
            ASSERT_NE(bitmap, nullptr) << bits << " " << topDown;
            const std::vector<uint32_t> top = {0x030201, 0x060504};
            const std::vector<uint32_t> bottom = {0x090807, 0x0C0B0A};
            std::vector<uint32_t> want = topDown ? top : bottom;
            const std::vector<uint32_t>& second = topDown ? bottom : top;
            want.insert(want.end(), second.begin(), second.end());
            EXPECT_EQ(bitmap->data(), want) << bits << " " << topDown;
        }
    }
}

TEST(DecodePicture, RefusesDamagedPictures) {
    std::vector<uint8_t> bytes = smallBmp(24, false);
    EXPECT_EQ(decodePicture(bytes.data(), bytes.size() - 1), nullptr);  // rows cut short
    EXPECT_EQ(decodePicture(bytes.data(), 20), nullptr);
    EXPECT_EQ(decodePicture(nullptr, 0), nullptr);
    std::vector<uint8_t> huge = bytes;
    huge[21] = 0x7F;  // a width of some two thousand million pixels
    EXPECT_EQ(decodePicture(huge.data(), huge.size()), nullptr);
    const std::string junk = "not a picture at all";
    EXPECT_EQ(decodePicture(reinterpret_cast<const uint8_t*>(junk.data()), junk.size()), nullptr);
    EXPECT_EQ(decodePictureFile("/nonexistent/picture.bmp"), nullptr);
}

TEST(CairoDisplay, WithoutATargetNothingIsReady) {
    CairoDisplay none([](int32_t, int32_t) -> cairo_surface_t* { return nullptr; });
    EXPECT_FALSE(none.ready());
    EXPECT_FALSE(none.makeTarget(690, 500));
    EXPECT_EQ(none.target(), nullptr);
    CairoDisplay broken(
        [](int32_t, int32_t) { return cairo_image_surface_create(CAIRO_FORMAT_RGB24, -1, -1); });
    EXPECT_FALSE(broken.makeTarget(690, 500));
    CairoDisplay fine(imageSurface);
    EXPECT_FALSE(fine.ready());
    EXPECT_FALSE(fine.makeTarget(0, 500));
    EXPECT_TRUE(fine.makeTarget(690, 500));
    EXPECT_EQ(cairo_image_surface_get_width(fine.targetSurface()), 690);
}

// The whole game through the cairo surface layer is the golden picture, pixel for pixel.
TEST(CairoDisplay, DrawsTheGameAsTheGoldenPictureShowsIt) {
    CairoDisplay display(imageSurface, sourceTree);
    RecordingHost host;
    RecordingShell shell;
    GameSession session(display, host, shell, GameSettings{});
    ASSERT_TRUE(display.makeTarget(session.width(), session.height()));
    ASSERT_TRUE(session.paintAll() && session.frame());
    const auto golden = decodeBitmapFile(std::string(KZ_SOURCE_ROOT) + "/tests/golden/idle.png");
    ASSERT_NE(golden, nullptr);
    std::vector<uint32_t> expected = golden->data();
    for (uint32_t& p : expected) {
        p &= 0xFFFFFF;
    }
    EXPECT_EQ(pixelsOf(display.targetSurface()), expected);
}

// At a HiDPI scale the cairo surface layer draws from the larger pictures as the software
// one does: the same frame, pixel for pixel.
TEST(CairoDisplay, DrawsTheGameFromTheLargerPicturesAtAScale) {
    std::vector<uint32_t> expected;
    {
        HeadlessGame software(KZ_SOURCE_ROOT, {}, 2);
        ASSERT_TRUE(software.paintAll());
        const SoftwareSurface& pixels = software.display().targetPixels();
        expected.assign(pixels.pixels(), pixels.pixels() + pixels.pixelCount());
    }
    for (uint32_t& p : expected) {
        p &= 0xFFFFFF;
    }
    CairoDisplay display(imageSurface, sourceTree);
    ScaledDisplay scaled(display, 2);
    RecordingHost host;
    RecordingShell shell;
    GameSession session(scaled, host, shell, GameSettings{});
    ASSERT_TRUE(display.makeTarget(session.width() * 2, session.height() * 2));
    ASSERT_TRUE(session.paintAll() && session.frame());
    EXPECT_EQ(pixelsOf(display.targetSurface()), expected);
}

}  // namespace
}  // namespace kz
