#include "app/common/puzzle_link.h"

namespace kz {
namespace {

constexpr std::string_view kCodePrefix = "#p=";
constexpr std::string_view kDayPrefix = "#d=";

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string puzzleLink(const std::string& code) {
    return std::string(kCodePrefix) + code;
}

std::string dayLink(CalendarDay day) {
    return std::string(kDayPrefix) + dayText(day);
}

std::optional<LinkedPuzzle> linkedPuzzle(std::string_view link) {
    if (startsWith(link, kCodePrefix)) {
        return LinkedPuzzle{withoutBlanks(link.substr(kCodePrefix.size())), std::nullopt};
    }
    if (startsWith(link, kDayPrefix)) {
        if (const std::optional<CalendarDay> day = dayFromText(link.substr(kDayPrefix.size()))) {
            return LinkedPuzzle{{}, day};
        }
    }
    return std::nullopt;
}

std::string withoutBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n\f\v";
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

}  // namespace kz
