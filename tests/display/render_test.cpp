#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "display/backdrop.h"
#include "display/button.h"
#include "display/counter.h"
#include "display/element.h"
#include "display/messages.h"
#include "tests/support/counting_display.h"
#include "tests/support/holder.h"
#include "tests/support/png_file.h"
#include "tests/support/recording_display.h"
#include "tests/support/target_pixel.h"
#include "tests/support/test_bitmaps.h"

namespace kz {
namespace {

// Pictures drawn by formula so every pixel's expected colour is known.
uint32_t feltColour(int32_t u, int32_t v) {
    if (u == 0 || v == 0) {
        return 0x00208040;  // tile seam, to make the tiling visible
    }
    return ((u + v) / 4) % 2 == 0 ? 0x00106030 : 0x00157035;
}

// Stick frames 15 x 80 side by side; frame f is a wooden stick with a head whose colour
// depends on f.
uint32_t stickColour(int32_t x, int32_t y) {
    const int32_t f = x / 15;
    const int32_t u = x % 15;
    if (u < 3 || u > 11) {
        return 0x00106030;
    }
    return y < 12 ? 0x00C02010 + static_cast<uint32_t>(f) * 0x1000 : 0x00E0C080;
}

uint32_t panelColour(int32_t x, int32_t y) {
    return (x < 2 || y < 2 || x >= 98 || y >= 58) ? 0x00E0B040 : 0x00601010;
}

// Two 40 x 30 frames: a grey key, lit yellow in the second frame.
uint32_t buttonColour(int32_t x, int32_t y) {
    const bool lit = x >= 40;
    const int32_t u = x % 40;
    const bool edge = u < 2 || y < 2 || u >= 38 || y >= 28;
    return edge ? 0x00303030 : (lit ? 0x00F0E060 : 0x00A0A0A0);
}

// 3 x 5 glyphs for 0-9, minus and colon, one bit per cell, row by row from the top.
constexpr std::array<uint16_t, 12> kGlyphs = {
    0x7B6F, 0x2C97, 0x73E7, 0x73CF, 0x5BC9, 0x79CF, 0x79EF, 0x7249, 0x7BEF, 0x7BCF, 0x01C0, 0x0410,
};

// Large digits: 6 x 2 frames of 14 x 16, each glyph scaled by 3 with a margin.
uint32_t digitColour(int32_t x, int32_t y) {
    const int32_t frame = (y / 16) * 6 + x / 14;
    const int32_t gx = (x % 14 - 2) / 3;
    const int32_t gy = (y % 16) / 3;
    const bool on = x % 14 >= 2 && gx < 3 && gy < 5 &&
                    ((kGlyphs[static_cast<size_t>(frame)] >> (14 - (gy * 3 + gx))) & 1) != 0;
    return on ? 0x00FFD040 : 0x00400808;
}

class RenderTest : public ::testing::Test {
  protected:
    RenderTest() {
        shelf.bitmaps[1] = test::makeBmp(40, 40, feltColour);
        shelf.bitmaps[2] = test::makeBmp(120, 80, stickColour);
        shelf.bitmaps[3] = test::makeBmp(100, 60, panelColour);
        shelf.bitmaps[4] = test::makeBmp(80, 30, buttonColour);
        shelf.bitmaps[5] = test::makeBmp(84, 32, digitColour);
    }

    void build() {
        root.enableMouse();
        root.setSize(240, 140);
        backdrop = root.add<Backdrop>(0, 0, 240, 140, &felt);
        root.add<Element>(130, 10, &panel);
        stick = root.add<Element>(40, 20, &stickImage);
        stick->setFrame(3);
        button = root.add<Button>(160, 20, &buttonImage, 0, 1, 1);
        moves = root.add<Counter>(136, 52, &digits, 2, 7, true);
        clock = root.add<Counter>(10, 110, &digits, 8, 3725, false, true);
        // The shell's first paint: the whole client area.
        root.invalidateRect({0, 0, 240, 140});
    }

    // Checks every pixel of r (target coordinates) against a picture sampled at
    // (x - r.left + sx, y - r.top + sy).
    void expectArea(const Rect& r, int32_t sx, int32_t sy, uint32_t (*picture)(int32_t, int32_t)) {
        int mismatches = 0;
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) {
                if (pixelAt(display.targetPixels(), x, y) !=
                    picture(x - r.left + sx, y - r.top + sy)) {
                    ++mismatches;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << "in (" << r.left << ", " << r.top << ", " << r.right << ", "
                                 << r.bottom << ")";
    }
    void expectFelt(const Rect& r) {
        int mismatches = 0;
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) {
                mismatches += pixelAt(display.targetPixels(), x, y) != feltColour(x % 40, y % 40);
            }
        }
        EXPECT_EQ(mismatches, 0);
    }

    test::BitmapShelf shelf;
    test::CountingDisplay display{240, 140, shelf.resolver()};
    Image felt{&display, BitmapName::resource(1), 40, 40, 1, 1, 1};
    Image stickImage{&display, BitmapName::resource(2), 120, 80, 8, 1, 8};
    Image panel{&display, BitmapName::resource(3), 100, 60, 1, 1, 1};
    Image buttonImage{&display, BitmapName::resource(4), 80, 30, 2, 1, 2};
    Image digits{&display, BitmapName::resource(5), 84, 32, 6, 2, 12};
    test::Holder root;
    Backdrop* backdrop = nullptr;
    Element* stick = nullptr;
    Button* button = nullptr;
    Counter* moves = nullptr;
    Counter* clock = nullptr;
};

TEST_F(RenderTest, DrawsTheTreeFromTheBottomUp) {
    build();
    ASSERT_TRUE(root.draw(display.target()));
    ASSERT_TRUE(savePng(display.targetPixels(), "render_sample.png"));

    expectFelt({0, 0, 40, 110});
    expectFelt({55, 0, 130, 100});
    expectArea({40, 20, 55, 100}, 45, 0, stickColour);  // frame 3
    expectArea({130, 10, 160, 40}, 0, 0, panelColour);
    expectArea({160, 20, 200, 50}, 0, 0, buttonColour);
    // Moves counter "7" with its leading zero hidden: the panel shows through on the left.
    expectArea({136, 52, 150, 68}, 6, 42, panelColour);
    expectArea({150, 52, 164, 68}, 14, 16, digitColour);  // frame 7: row 1, column 1
    // Clock 01:02:05, positions of 14 pixels from x = 10.
    expectArea({10, 110, 24, 126}, 0, 0, digitColour);     // 0
    expectArea({24, 110, 38, 126}, 14, 0, digitColour);    // 1
    expectArea({38, 110, 52, 126}, 70, 16, digitColour);   // colon
    expectArea({108, 110, 122, 126}, 70, 0, digitColour);  // 5
    expectFelt({122, 110, 240, 140});
}

TEST_F(RenderTest, ChangesRepaintOnlyWhatChanged) {
    build();
    ASSERT_TRUE(root.draw(display.target()));
    display.takeWrittenRects();
    display.resetPixelsWritten();

    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_TRUE(display.takeWrittenRects().empty()) << "idle: nothing drawn";
    EXPECT_EQ(display.pixelsWritten(), 0u);

    clock->increment();  // 01:02:06: one digit, felt first then the digit
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_EQ(display.takeWrittenRects(), (std::vector<Rect>{{108, 110, 120, 120},
                                                             {120, 110, 122, 120},
                                                             {108, 120, 120, 126},
                                                             {120, 120, 122, 126},
                                                             {108, 110, 122, 126}}));
    expectArea({108, 110, 122, 126}, 0, 16, digitColour);  // 6
    display.resetPixelsWritten();

    // The pointer over the button lights it; the panel under it is repainted too.
    button->onMouse(msg::MouseMove, 0, 170, 30);
    ASSERT_TRUE(root.draw(display.target()));
    expectArea({160, 20, 200, 50}, 40, 0, buttonColour);
    EXPECT_EQ(display.pixelsWritten(), 3u * 40 * 30) << "felt, panel and button";

    // Hiding the stick leaves felt behind.
    display.takeWrittenRects();
    stick->setVisible(false);
    ASSERT_TRUE(root.draw(display.target()));
    expectFelt({40, 20, 55, 100});
    for (const Rect& r : display.takeWrittenRects()) {
        EXPECT_GE(r.left, 40);
        EXPECT_LE(r.right, 55);
    }

    moves->setValue(-4);
    ASSERT_TRUE(root.draw(display.target()));
    expectArea({136, 52, 150, 68}, 56, 16, digitColour);  // minus: frame 10
    expectArea({150, 52, 164, 68}, 56, 0, digitColour);   // 4
    ASSERT_TRUE(savePng(display.targetPixels(), "render_changed.png"));
}

}  // namespace
}  // namespace kz
