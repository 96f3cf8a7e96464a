#include "display/counter.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/holder.h"
#include "tests/support/recording_display.h"

namespace kz {
namespace {

using test::Holder;
using test::RecordingDisplay;

class CounterTest : public ::testing::Test {
  protected:
    RecordingDisplay display;
    Image digits{&display, BitmapName::resource(119), 48, 20, 6, 2, 12};  // 8 x 10 frames
    Holder root{nullptr, 0, 0, nullptr};

    Counter* make(int32_t positions, int32_t value, bool hideZeros, bool clock = false) {
        return root.add<Counter>(0, 0, &digits, positions, value, hideZeros, clock);
    }

    // What the counter shows, left to right: digits, '-', ':', or ' ' for a hidden position.
    static std::string shown(Counter& counter) {
        std::map<int32_t, char> byX;
        for (int32_t i = 0; i < counter.getChildCount(); ++i) {
            Element* p = counter.getChild(i);
            const int32_t f = p->getFrame();
            char c = f == 10 ? '-' : (f == 11 ? ':' : static_cast<char>('0' + f));
            byX[p->getX()] = p->isVisible() ? c : ' ';
        }
        std::string out;
        for (const auto& entry : byX) {
            out += entry.second;
        }
        return out;
    }

    void settle() {
        ASSERT_TRUE(root.draw(display.target()));
        display.clear();
    }
};

TEST_F(CounterTest, LayoutOfNumberFormat) {
    Counter* c = make(3, 0, false);
    EXPECT_EQ(c->getWidth(), 24);
    EXPECT_EQ(c->getHeight(), 10);
    EXPECT_FALSE(c->getHasImage());
    EXPECT_TRUE(c->getDirtyRects().empty());
    EXPECT_FALSE(c->isMouseEnabled());
    ASSERT_EQ(c->getChildCount(), 3);
    for (int32_t k = 0; k < 3; ++k) {
        EXPECT_EQ(c->getChild(k)->getX(), k * 8);
        EXPECT_EQ(c->getChild(k)->getY(), 0);
    }
    EXPECT_EQ(c->getMinValue(), -99);
    EXPECT_EQ(c->getMaxValue(), 999);
}

TEST_F(CounterTest, LayoutOfClockFormat) {
    Counter* c = make(8, 0, false, true);
    ASSERT_EQ(c->getChildCount(), 8);
    const std::vector<int32_t> xs = {5, 2, 0, 1, 3, 4, 6, 7};  // colons first, from the right
    for (int32_t k = 0; k < 8; ++k) {
        EXPECT_EQ(c->getChild(k)->getX(), xs[static_cast<size_t>(k)] * 8) << "child " << k;
    }
    EXPECT_EQ(c->getChild(0)->getFrame(), 11);
    EXPECT_EQ(c->getChild(1)->getFrame(), 11);
    EXPECT_EQ(c->getMinValue(), 0);
    EXPECT_EQ(c->getMaxValue(), 215999);
}

TEST_F(CounterTest, TwoPositionsHidingLeadingZeros) {
    Counter* c = make(2, 0, true);
    EXPECT_EQ(shown(*c), " 0");
    c->setValue(7);
    EXPECT_EQ(shown(*c), " 7");
    c->setValue(42);
    EXPECT_EQ(shown(*c), "42");
    c->setValue(150);
    EXPECT_EQ(shown(*c), "99");
    EXPECT_EQ(c->getValue(), 99);
    c->setValue(-20);
    EXPECT_EQ(shown(*c), "-9");
    EXPECT_EQ(c->getValue(), -9);
    c->setValue(10);
    EXPECT_EQ(shown(*c), "10");
    c->setValue(5);
    EXPECT_EQ(shown(*c), " 5");
}

TEST_F(CounterTest, HidingStopsAtTheFirstNonZeroAndNeverHidesTheLast) {
    Counter* c = make(4, 5, true);
    EXPECT_EQ(shown(*c), "   5");
    c->setValue(1005);
    EXPECT_EQ(shown(*c), "1005");
    c->setValue(-305);
    EXPECT_EQ(shown(*c), "-305");
    c->setValue(-5);
    EXPECT_EQ(shown(*c), "-005") << "a minus sign stops the hiding";
    c->setValue(0);
    EXPECT_EQ(shown(*c), "   0");
}

TEST_F(CounterTest, NumbersWithoutHiding) {
    Counter* c = make(2, 5, false);
    EXPECT_EQ(shown(*c), "05");
    Counter* one = make(1, -3, false);
    EXPECT_EQ(one->getMinValue(), 0);
    EXPECT_EQ(one->getMaxValue(), 9);
    EXPECT_EQ(shown(*one), "0");
    one->setValue(12);
    EXPECT_EQ(shown(*one), "9");
}

TEST_F(CounterTest, ClockFormats) {
    Counter* c = make(8, 0, true, true);
    EXPECT_EQ(shown(*c), "00:00:00") << "hiding plays no part in clock format";
    c->setValue(3725);
    EXPECT_EQ(shown(*c), "01:02:05");
    c->setValue(215999);
    EXPECT_EQ(shown(*c), "59:59:59");
    c->increment();
    EXPECT_EQ(c->getValue(), 215999);
    EXPECT_EQ(shown(*c), "59:59:59");
    c->setValue(-5);
    EXPECT_EQ(shown(*c), "00:00:00");
    c->setValue(59);
    c->increment();
    EXPECT_EQ(shown(*c), "00:01:00");

    Counter* minutes = make(5, 3600, false, true);
    EXPECT_EQ(shown(*minutes), "00:00");
    minutes->setValue(3599);
    EXPECT_EQ(shown(*minutes), "59:59");

    Counter* hours = make(7, 36000, false, true);
    EXPECT_EQ(shown(*hours), "0:00:00");
    hours->setValue(3600 * 3 + 61);
    EXPECT_EQ(shown(*hours), "3:01:01");
}

TEST_F(CounterTest, OnlyChangedPositionsAreRedrawn) {
    Counter* c = make(8, 0, false, true);
    c->moveTo(100, 40);
    settle();

    c->setValue(0);
    EXPECT_FALSE(root.isRedrawNeeded()) << "the value shown: no redraw";

    c->increment();  // 00:00:00 -> 00:00:01: one digit
    EXPECT_TRUE(c->getDirtyRects().empty());
    ASSERT_TRUE(root.draw(display.target()));
    ASSERT_EQ(display.calls.size(), 1u);
    EXPECT_EQ(display.calls[0].dst, (Rect{156, 40, 164, 50}));
    EXPECT_EQ(display.calls[0].src, (Rect{8, 0, 16, 10}));  // frame 1
    display.clear();

    c->setValue(60);  // 00:01:00: two digits change
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_EQ(display.dsts(), (std::vector<Rect>{{132, 40, 140, 50}, {156, 40, 164, 50}}));
}

TEST_F(CounterTest, PositionsReportOnlyTheirOwnRectangleUpTheTree) {
    // A painting element under the counter gets exactly the changed digit's rectangle; the
    // counter keeps nothing and its other positions are left alone.
    Image felt{&display, BitmapName::resource(102), 100, 100, 1, 1, 1};
    auto* under = root.add<Holder>(0, 0, &felt);
    Counter* c = make(3, 120, false);
    c->moveTo(20, 30);
    settle();

    c->setValue(125);
    EXPECT_EQ(under->getDirtyRects(), (std::vector<Rect>{{36, 30, 44, 40}}));
    EXPECT_TRUE(c->getDirtyRects().empty());
    EXPECT_TRUE(c->isRedrawNeeded());
    EXPECT_FALSE(c->getChild(0)->isRedrawNeeded());
    EXPECT_FALSE(c->getChild(1)->isRedrawNeeded());
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_EQ(display.dsts(), (std::vector<Rect>{{36, 30, 44, 40}, {36, 30, 44, 40}}));
    EXPECT_EQ(display.calls[0].source, felt.getSurface());
    EXPECT_EQ(display.calls[1].source, digits.getSurface());
}

TEST_F(CounterTest, HiddenCounterSendsNothingAndIsRedrawnWholeWhenShown) {
    Counter* c = make(2, 12, false);
    c->moveTo(10, 10);
    settle();

    c->setVisible(false);
    settle();
    c->setValue(34);
    EXPECT_FALSE(root.isRedrawNeeded());
    EXPECT_EQ(shown(*c), "34");

    c->setVisible(true);
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_EQ(display.dsts(), (std::vector<Rect>{{10, 10, 18, 20}, {18, 10, 26, 20}}));
}

TEST_F(CounterTest, PowerSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(Counter::power(10, 0), 1);
    EXPECT_EQ(Counter::power(10, -3), 1);
    EXPECT_EQ(Counter::power(60, 2), 3600);
    EXPECT_EQ(Counter::power(10, 9), 1000000000);
    EXPECT_GT(Counter::power(10, 30), int64_t{1} << 62);
    EXPECT_EQ(Counter::power(std::numeric_limits<int32_t>::max(), 3),
              std::numeric_limits<int64_t>::max());
}

TEST_F(CounterTest, PowerOfANegativeBaseIsTheTrueProduct) {
    EXPECT_EQ(Counter::power(-2, 1), -2);
    EXPECT_EQ(Counter::power(-10, 2), 100);
    EXPECT_EQ(Counter::power(-10, 3), -1000);
    EXPECT_EQ(Counter::power(-1, 7), -1);
    EXPECT_EQ(Counter::power(-1, 2147483646), 1);
    EXPECT_EQ(Counter::power(0, 5), 0);
    EXPECT_EQ(Counter::power(-5, 0), 1);
    // Only a real overflow saturates, at the end the sign of the product points to.
    EXPECT_EQ(Counter::power(-10, 19), -std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Counter::power(-10, 20), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Counter::power(-10, 18), 1000000000000000000);

    Counter* wide = make(11, 2147483647, false);
    EXPECT_EQ(wide->getMaxValue(), 2147483647);
    EXPECT_EQ(shown(*wide), "02147483647");
    wide->increment();
    EXPECT_EQ(wide->getValue(), 2147483647);
    wide->setValue(-2147483647);
    EXPECT_EQ(shown(*wide), "-2147483647");
}

}  // namespace
}  // namespace kz
