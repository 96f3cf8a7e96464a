#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kz {

// Whether a stored number may begin with a 0 when it has more digits.
enum class LeadingZeros { Allowed, Refused };

// A number of the texts the programs keep: digits only, no sign, at most 12 of them, and no
// larger than largest; nothing for any other text.
inline std::optional<int64_t> storedNumber(std::string_view text, int64_t largest,
                                           LeadingZeros zeros) {
    if (text.empty() || text.size() > 12 ||
        (zeros == LeadingZeros::Refused && text.size() > 1 && text.front() == '0')) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value <= largest ? std::optional<int64_t>(value) : std::nullopt;
}

}  // namespace kz
