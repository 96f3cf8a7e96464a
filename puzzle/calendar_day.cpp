#include "puzzle/calendar_day.h"

namespace kz {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days of a 400-year cycle of the Gregorian calendar, and from 0000-03-01 to 1970-01-01.
constexpr int64_t kDaysPerEra = 146097;
constexpr int64_t kEpochFromEraStart = 719468;

int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

bool isLeapYear(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32_t daysInMonth(int64_t year, int32_t month) {
    constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

CalendarDay dayOfUnixTime(int64_t seconds) {
    return floorDiv(seconds, kSecondsPerDay);
}

CalendarDay dayOfUnixMicroseconds(int64_t microseconds) {
    return floorDiv(microseconds, kSecondsPerDay * 1000000);
}

// Counted from 1 March so that the leap day ends each year.
CalendarDay dayOfDate(const CalendarDate& date) {
    const int64_t year = date.month <= 2 ? int64_t{date.year} - 1 : date.year;
    const int64_t era = floorDiv(year, 400);
    const int64_t yearOfEra = year - era * 400;
    const int64_t shiftedMonth = date.month > 2 ? date.month - 3 : date.month + 9;
    const int64_t dayOfYear = (153 * shiftedMonth + 2) / 5 + date.day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPerEra + dayOfEra - kEpochFromEraStart;
}

CalendarDate dateOfDay(CalendarDay day) {
    const int64_t shifted = day + kEpochFromEraStart;
    const int64_t era = floorDiv(shifted, kDaysPerEra);
    const int64_t dayOfEra = shifted - era * kDaysPerEra;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    CalendarDate date;
    date.day = static_cast<int32_t>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.month = static_cast<int32_t>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    date.year = static_cast<int32_t>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

std::string dayText(CalendarDay day) {
    const CalendarDate date = dateOfDay(day);
    if (date.year < 0 || date.year > 9999) {
        return {};
    }
    const auto digits = [](int32_t value, int width) {
        std::string text(static_cast<size_t>(width), '0');
        for (int i = width - 1; i >= 0; --i, value /= 10) {
            text[static_cast<size_t>(i)] = static_cast<char>('0' + value % 10);
        }
        return text;
    };
    return digits(date.year, 4) + "-" + digits(date.month, 2) + "-" + digits(date.day, 2);
}

std::optional<CalendarDay> dayFromText(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto number = [&text](size_t from, size_t length) -> std::optional<int32_t> {
        int32_t value = 0;
        for (size_t i = from; i < from + length; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return std::nullopt;
            }
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const std::optional<int32_t> year = number(0, 4);
    const std::optional<int32_t> month = number(5, 2);
    const std::optional<int32_t> day = number(8, 2);
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 ||
        *day > daysInMonth(*year, *month)) {
        return std::nullopt;
    }
    return dayOfDate({*year, *month, *day});
}

}  // namespace kz
