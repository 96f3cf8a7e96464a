#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/common/records.h"
#include "puzzle/calendar_day.h"
#include "puzzle/field_model.h"
#include "puzzle/puzzle_origin.h"

namespace kz {

// A game in progress as a program keeps it between runs, the same text in the Linux
// program's file and in the page's storage:
//
//     # Kestrane Zivadorured game in progress
//     version=1
//     puzzle=3K7QW2MXB9
//     size=3
//     type=2
//     day=2026-12-08
//     past=1
//     grade=3
//     clock=125
//     hints=1
//     moves=h4 v7 h4
//     undone=1
//     hint-solution=h4 v7 v9
//     end
//
// The puzzle by its code, the records table the game counts in (size and type as the menus
// name them, and the day for a day's puzzle, a line only then, followed by past=1 when it
// was chosen among the past days and so leaves the days in a row alone), the grade it was drawn
// for or its day says (1 to 3 for Easy to Hard, a line only for a graded game), the seconds of
// the clock, the hints taken, and the moves from the start in the order they were made: each the
// stick slots it changed, joined by "+" (a move of the Move mode changes two), "h" or "v" and the
// slot's index in its layer of the 5 x 5 field. The last `undone` moves were taken back and can be
// redone. hint-solution is the solution earlier hints led towards, as the slots where it
// differs from the start; the line is there only after a hint. A stick in hand is not a move:
// it is back where it was taken from.
//
// Every line ends in a newline and `end` comes last, so a text cut short is no game. A text
// that is not exactly this (another version, a line too many or missing, a number out of
// range) is no game either: a damaged or foreign text is passed over whole, never half used.
constexpr int32_t kSavedGameFormatVersion = 1;
// Far more moves than a game is played with; a longer game is not kept.
constexpr size_t kLongestSavedGame = 100'000;

struct SavedGame {
    using Move = std::vector<StickSlot>;

    PuzzleOrigin origin;
    RecordKey table;
    std::optional<CalendarDay> day;
    bool pastDay = false;
    Difficulty grade = AsDesigned;
    int32_t seconds = 0;
    int64_t hints = 0;
    std::vector<Move> moves;
    size_t undone = 0;
    std::optional<Move> hintSolution;

    bool operator==(const SavedGame& o) const {
        return origin == o.origin && table == o.table && day == o.day && pastDay == o.pastDay &&
               grade == o.grade && seconds == o.seconds && hints == o.hints && moves == o.moves &&
               undone == o.undone && hintSolution == o.hintSolution;
    }
    bool operator!=(const SavedGame& o) const { return !(*this == o); }
};

// The game a text holds; nothing for any text that is not one, as above.
std::optional<SavedGame> readSavedGame(std::string_view text);
std::string writeSavedGame(const SavedGame& game);

// A saved game played out on its puzzle: the layouts from the start, one after each move,
// and the solution hints led towards.
struct ReplayedGame {
    std::vector<StickLayers> layouts;
    size_t shown = 0;  // the index of the layout on the field
    std::optional<StickLayers> hintSolution;
};

// Plays a saved game's moves on its puzzle built on a largest field of that size. Nothing
// when the game could not have been played so: a move the puzzle's mode does not allow, a
// slot outside the field, a layout that solves the puzzle (the game would have ended there),
// or a hint solution that solves nothing.
std::optional<ReplayedGame> replaySavedGame(const SavedGame& game, int32_t largestColumns,
                                            int32_t largestRows);

// The moves between consecutive layouts, for a game to be saved; the inverse of the replay.
std::vector<SavedGame::Move> movesBetween(const std::vector<StickLayers>& layouts);
// The slots where a layout differs from another.
SavedGame::Move changedSlots(const StickLayers& from, const StickLayers& to);

}  // namespace kz
