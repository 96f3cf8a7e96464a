#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "puzzle/calendar_day.h"

namespace kz {

// The end of the page's address that plays a puzzle: "#p=" and its code, or "#d=" and a day,
// which plays that day's puzzle as a day's puzzle.
std::string puzzleLink(const std::string& code);
std::string dayLink(CalendarDay day);

// What such an end names: a code (not checked yet) or a day.
struct LinkedPuzzle {
    std::string code;
    std::optional<CalendarDay> day;
};
// Nothing for a text that is neither, or a day that is no day.
std::optional<LinkedPuzzle> linkedPuzzle(std::string_view link);

// The text without the blanks around it: a code copied from a text often brings a tab or a
// line end along.
std::string withoutBlanks(std::string_view text);

}  // namespace kz
