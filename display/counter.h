#pragma once

#include <cstdint>

#include "display/element.h"

namespace kz {

// Shows an integer as a row of digit positions, each a plain child element showing one
// frame of a digit Image (frames 0-9 digits, 10 minus, 11 colon). Number format: a signed
// number right-aligned, optionally with leading zeros hidden. Clock format: seconds as
// groups of two digits separated by colons (HH:MM:SS with eight positions).
class Counter : public Element {
  public:
    static constexpr int32_t kMinusFrame = 10;
    static constexpr int32_t kColonFrame = 11;
    static constexpr int32_t kClockMax = 215999;  // 59:59:59

    Counter(Element* newParent, int32_t newX, int32_t newY, Image* digits, int32_t positions,
            int32_t initialValue, bool hideZeros, bool clock = false);

    // Positions change as a whole and never overlap: only the position's own rectangle goes
    // up the tree, and the Counter (which paints nothing) keeps none.
    void childChanged(Element* child) override;
    // Builds the positions and the range and shows the initial value; called once.
    virtual void setupCounter(int32_t positions, int32_t initialValue, bool hideZeros, bool clock);

    // Clamps into the range and updates the positions whose character changes.
    void setValue(int32_t v);
    int32_t getValue() const { return value; }
    void increment();

    int32_t getPositionCount() const { return positionCount; }
    int32_t getMinValue() const { return minValue; }
    int32_t getMaxValue() const { return maxValue; }
    bool getHideLeadingZeros() const { return hideLeadingZeros; }
    bool isClockFormat() const { return clockFormat; }

    // base raised to exponent (1 for exponents of 0 or less). Saturates instead of
    // overflowing, at the end the true product lies beyond, which keeps wide counters'
    // arithmetic defined.
    static int64_t power(int32_t base, int32_t exponent);

  protected:
    int32_t positionCount = 0;
    int32_t minValue = 0;
    int32_t maxValue = 0;
    int32_t value = 0;
    bool hideLeadingZeros = false;
    bool clockFormat = false;

  private:
    void showDigit(int32_t child, int64_t digit);
};

}  // namespace kz
