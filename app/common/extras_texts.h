#pragma once

namespace kz {

// The texts of the extra play's boxes, the same in the Linux program and in the page.

// Shown under the code when it names no puzzle; the box stays open for another try.
constexpr const char* kNotAPuzzleCodeText =
    "That is not a puzzle code. A code has 10 characters, such as 3MNWJ7CXSM.";

// The question before a reset of the records, its title and what it clears.
constexpr const char* kResetStatisticsTitle = "Reset Statistics";
constexpr const char* kResetStatisticsQuestion = "Reset all statistics?";
constexpr const char* kResetStatisticsExplanation =
    "The records of every field size and action type and the days in a row of today's "
    "puzzle are cleared. This cannot be undone.";

}  // namespace kz
