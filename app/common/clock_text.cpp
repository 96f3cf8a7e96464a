#include "app/common/clock_text.h"

#include <algorithm>

namespace kz {
namespace {

std::string twoDigits(int32_t value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

}  // namespace

std::string clockText(int32_t seconds) {
    seconds = std::max(seconds, 0);
    const int32_t hours = seconds / 3600;
    const std::string minutesAndSeconds =
        twoDigits(seconds / 60 % 60) + ":" + twoDigits(seconds % 60);
    if (hours == 0) {
        return minutesAndSeconds;
    }
    return std::to_string(hours) + ":" + minutesAndSeconds;
}

}  // namespace kz
