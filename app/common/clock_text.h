#pragma once

#include <cstdint>
#include <string>

namespace kz {

// A time of the game clock as "mm:ss", or "h:mm:ss" from an hour on, as every text that tells
// a time writes it (the records, the best time, what a screen reader hears).
std::string clockText(int32_t seconds);

}  // namespace kz
