#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kz {

// A day of the proleptic Gregorian calendar, counted from 1970-01-01 (day 0), as UTC counts
// them: the one clock every machine agrees on.
using CalendarDay = int64_t;

struct CalendarDate {
    int32_t year = 1970;
    int32_t month = 1;  // 1..12
    int32_t day = 1;    // 1..31
};

// The day that a time in whole seconds since 1970-01-01 00:00 UTC falls on.
CalendarDay dayOfUnixTime(int64_t seconds);
// The same for a time in microseconds, as clocks of that grain give it: the whole day counts,
// before 1970 too, so the last microsecond of a day is still that day.
CalendarDay dayOfUnixMicroseconds(int64_t microseconds);

CalendarDay dayOfDate(const CalendarDate& date);
CalendarDate dateOfDay(CalendarDay day);

// "YYYY-MM-DD" for the years 0..9999; the text of a day outside them is empty.
std::string dayText(CalendarDay day);
// The day of an exact "YYYY-MM-DD" text naming a real date; nothing for anything else.
std::optional<CalendarDay> dayFromText(std::string_view text);

}  // namespace kz
