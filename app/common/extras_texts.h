#pragma once

#include <optional>
#include <string>

#include "app/common/identity.h"
#include "app/common/translation.h"
#include "puzzle/calendar_day.h"
#include "puzzle/puzzle_grade.h"

namespace kz {

// The texts of the extra play's boxes and what it tells the player, the same in the Linux
// program and in the page.

// A grade as the title, the records and the spoken texts name it, in English.
inline const char* difficultyName(Difficulty grade) {
    switch (grade) {
        case Easy:
            return N_("Easy");
        case Medium:
            return N_("Medium");
        case Hard:
            return N_("Hard");
        case AsDesigned:
            break;
    }
    return N_("As designed");
}

// Shown under the code when it names no puzzle; the box stays open for another try.
constexpr const char* kNotAPuzzleCodeText =
    N_("That is not a puzzle code. A code has 10 characters, such as 3MNWJ7CXSM.");

// Under the calendar of Past Puzzle: the days whose puzzle can be played.
inline std::string pastDaysText(const Translation& translation, CalendarDay first) {
    return filled(translation.text(N_("Choose a day from {day} to today.")),
                  {{"day", dayText(first)}});
}

// The question before a reset of the records, its title and what it clears.
constexpr const char* kResetStatisticsTitle = N_("Reset Statistics");
constexpr const char* kResetStatisticsQuestion = N_("Reset all statistics?");
constexpr const char* kResetStatisticsExplanation =
    N_("The records of every field size and action type and the days in a row of today's "
       "puzzle are cleared. This cannot be undone.");

// The notice while the records cannot be written, and the title of each box of the records.
constexpr const char* kRecordsUnsavedText =
    N_("Your records cannot be saved right now. They are kept while the game runs and saved "
       "as soon as that works again.");
constexpr const char* kExportRecordsTitle = N_("Export Records");
constexpr const char* kImportRecordsTitle = N_("Import Records");
// The name offered for an exported file.
constexpr const char* kRecordsFileName = "kestrane-zivadorured-records.txt";
// What came of an import.
constexpr const char* kRecordsImportedText = N_("The records of the file were added to yours.");
constexpr const char* kNotARecordsFileText = N_("That file holds no records of this game.");
constexpr const char* kRecordsNotImportedText =
    N_("The records cannot be saved right now, so nothing was imported. Try again later.");
constexpr const char* kRecordsNotExportedText =
    N_("The records could not be written to that file.");
// Told after an export. The page names no file, as the browser chose where it went; the
// Linux program names the file.
constexpr const char* kRecordsExportedText = N_("Records exported.");
constexpr const char* kRecordsExportedToText = N_("Records exported to {file}.");

// Told when a graded Next played another field size than the one set, as it has no puzzle of
// the grade and kind there, e.g. "Next has no Easy puzzle of this kind on 5 x 5: playing
// 2 x 2."; empty when it played the size set.
inline std::string resizedNoteText(const Translation& translation, Difficulty grade,
                                   const FieldResize& resize) {
    if (!resize.resized()) {
        return {};
    }
    const auto side = [](FieldSize n) { return std::to_string(n) + " x " + std::to_string(n); };
    return filled(translation.text(
                      N_("Next has no {grade} puzzle of this kind on {asked}: playing {played}.")),
                  {{"grade", translation.text(difficultyName(grade))},
                   {"asked", side(resize.askedSize)},
                   {"played", side(resize.playedSize)}});
}
// Told once Copy Puzzle Code or Copy Today's Result has put its text on the clipboard, and
// when there is no result of today's puzzle to copy yet.
inline std::string puzzleCodeCopiedText(const Translation& translation, const std::string& code) {
    return filled(translation.text(N_("Puzzle code {code} copied.")), {{"code", code}});
}
constexpr const char* kTodaysResultCopiedText = N_("Today's result copied.");
constexpr const char* kNoTodaysResultText = N_("Solve today's puzzle to share its result.");
// Told when the day's puzzle cannot be had, as the list it comes from could not be loaded.
constexpr const char* kNoPuzzleOfDayText =
    N_("That day's puzzle could not be loaded. Reload the page to try again.");

// The window's title for the puzzle on show: "Kestrane Zivadorured — 3MNWJ7CXSM — puzzle of
// 2026-12-10 — Hard", the day and the grade only where there are.
inline std::string windowTitleText(const Translation& translation, const std::string& code,
                                   std::optional<CalendarDay> day, Difficulty grade) {
    std::string title = kProgramTitle;
    const char* dash = " \u2014 ";
    if (!code.empty()) {
        title += dash + code;
    }
    if (day) {
        title += dash + filled(translation.text(N_("puzzle of {day}")), {{"day", dayText(*day)}});
    }
    if (grade != AsDesigned) {
        title += dash + translation.text(difficultyName(grade));
    }
    return title;
}

}  // namespace kz
