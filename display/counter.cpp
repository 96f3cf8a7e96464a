#include "display/counter.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace kz {

Counter::Counter(Element* newParent, int32_t newX, int32_t newY, Image* digits, int32_t positions,
                 int32_t initialValue, bool hideZeros, bool clock)
    : Element(newParent, newX, newY, digits) {
    setupCounter(positions, initialValue, hideZeros, clock);
}

int64_t Counter::power(int32_t base, int32_t exponent) {
    constexpr int64_t kLimit = std::numeric_limits<int64_t>::max();
    if (exponent <= 0) {
        return 1;
    }
    // Bases 0, 1 and -1 never grow, whatever the exponent: no need to loop over it.
    if (base == 0 || base == 1) {
        return base;
    }
    if (base == -1) {
        return exponent % 2 == 0 ? 1 : -1;
    }
    // The sign of the whole product decides which end a saturated result sticks to.
    const bool negative = base < 0 && exponent % 2 != 0;
    const int64_t baseMagnitude = base < 0 ? -int64_t{base} : int64_t{base};
    int64_t magnitude = 1;
    for (int32_t i = 0; i < exponent; ++i) {
        if (magnitude > kLimit / baseMagnitude) {
            return negative ? -kLimit : kLimit;
        }
        magnitude *= baseMagnitude;
    }
    return negative ? -magnitude : magnitude;
}

void Counter::setupCounter(int32_t positions, int32_t initialValue, bool hideZeros, bool clock) {
    const int32_t n = std::max(positions, 0);
    const int32_t w = image != nullptr ? image->getFrameWidth() : 0;
    hasImage = false;
    clearDirty();  // the digit image's frame that init marked is never painted here
    width = n * w;
    height = image != nullptr ? image->getFrameHeight() : 0;
    hideLeadingZeros = hideZeros;
    clockFormat = clock;
    positionCount = n;

    std::vector<std::unique_ptr<Element>> list(static_cast<size_t>(n));
    if (clock) {
        const int32_t colons = n / 3;
        const int32_t digitCount = n - colons;
        for (int32_t i = 0; i < digitCount; ++i) {
            const int32_t child = n - 1 - i;
            list[static_cast<size_t>(child)] =
                std::make_unique<Element>(this, (n - 1 - i - i / 2) * w, 0, image);
        }
        for (int32_t k = 0; k < colons; ++k) {
            auto colon = std::make_unique<Element>(this, (n - 3 - 3 * k) * w, 0, image);
            colon->setFrame(kColonFrame);
            list[static_cast<size_t>(k)] = std::move(colon);
        }
        minValue = 0;
        maxValue = kClockMax;
    } else {
        for (int32_t k = 0; k < n; ++k) {
            list[static_cast<size_t>(k)] = std::make_unique<Element>(this, k * w, 0, image);
        }
        const int64_t p = power(10, n - 1);
        constexpr int64_t kMin = std::numeric_limits<int32_t>::min() + 1;
        constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
        minValue = static_cast<int32_t>(std::max(kMin, 1 - p));
        maxValue = static_cast<int32_t>(p > kMax ? kMax : std::min(kMax, 10 * p - 1));
    }
    setChildren(std::move(list));
    setValue(initialValue);
}

void Counter::showDigit(int32_t child, int64_t digit) {
    children[static_cast<size_t>(child)]->setFrame(static_cast<int32_t>(digit));
}

void Counter::setValue(int32_t v) {
    value = v < minValue ? minValue : (v > maxValue ? maxValue : v);
    const int32_t n = positionCount;
    if (clockFormat) {
        const int32_t colons = n / 3;
        for (int32_t g = 0; g < (n - colons + 1) / 2; ++g) {
            const int64_t part = (value / power(60, g)) % 60;
            showDigit(n - 1 - 2 * g, part % 10);
            if (n - 2 - 2 * g < colons) {
                break;  // this group has no tens position
            }
            showDigit(n - 2 - 2 * g, part / 10);
        }
        return;
    }
    if (n <= 0) {
        return;
    }
    if (value < 0) {
        showDigit(0, kMinusFrame);
        const int64_t magnitude = -static_cast<int64_t>(value);
        for (int32_t i = 0; i < n - 1; ++i) {
            showDigit(n - 1 - i, (magnitude % power(10, i + 1)) / power(10, i));
        }
    } else {
        for (int32_t i = 0; i < n; ++i) {
            showDigit(n - 1 - i, (value % power(10, i + 1)) / power(10, i));
        }
    }
    if (hideLeadingZeros) {
        for (int32_t k = 0; k < n - 1; ++k) {
            Element* position = children[static_cast<size_t>(k)].get();
            if (position->getFrame() == 0) {
                position->setVisible(false);
                continue;
            }
            for (int32_t j = k; j < n; ++j) {
                children[static_cast<size_t>(j)]->setVisible(true);
            }
            break;
        }
    }
}

void Counter::increment() {
    if (value < maxValue) {
        setValue(value + 1);
    }
}

void Counter::childChanged(Element* child) {
    if (!visible) {
        return;
    }
    needsRedraw = true;
    if (parent != nullptr) {
        parent->childRectChanged(this, rectInParent(child));
    }
}

}  // namespace kz
