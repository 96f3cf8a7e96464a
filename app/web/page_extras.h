#pragma once

#include <string>

#include "app/common/records.h"
#include "puzzle/calendar_day.h"

namespace kz {

// The records and today's puzzle as the Statistics box shows them, as a JSON object:
// "columns" (the table's headings), "firstNumberColumn", "rows" (arrays of cells), "none"
// (the text shown instead of an empty table), "today", "daysInARow" and "canReset".
std::string statisticsJson(const Records& records, CalendarDay today);

}  // namespace kz
