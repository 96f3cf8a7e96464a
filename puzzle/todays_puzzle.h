#pragma once

#include <optional>

#include "puzzle/calendar_day.h"
#include "puzzle/puzzle_origin.h"

namespace kz {

class PuzzleCatalogue;

// The puzzle of a calendar day: the same for everyone on that day, in every program and on
// every machine, because it follows from the day alone and never from the random source.
// Its field has 3 to 5 columns and 3 to 5 rows, drawn separately, and its kind is any of
// the five; all three and the state come from one hash of the day. The puzzles of past days
// are fixed: changing this function changes the puzzles people have already played.
//
// From kFirstGradedDay on, a day's puzzle is of one of the grades, never trivial, tedious or
// loose: when the day's first hash gives a puzzle of none, the hash of the day with the next
// attempt number gives another, until one is.
//
// From kFirstSpreadDay on, the week runs from small fields to large and from Easy to Hard:
// Monday an Easy 2 x 2, Tuesday an Easy 3 x 3, Wednesday a Medium 3 x 3, Thursday a Medium
// 4 x 4, Friday a Hard 4 x 4, Saturday a Medium 5 x 5 and Sunday a Hard 5 x 5, each day of the
// week taking the five kinds in turn from week to week. The puzzle is the catalogue's next one
// for that grade, kind and size; one played less than a year ago is passed over for the next
// kind in turn (and, on a small field with few puzzles, for another grade), so no puzzle comes
// twice within a year. Those days come from the catalogue alone: without one (null) they have
// none, as any other puzzle would not be that day's for everyone.
std::optional<PuzzleOrigin> puzzleOfDay(CalendarDay day, const PuzzleCatalogue* catalogue);

constexpr CalendarDay kFirstGradedDay = 20797;  // 2026-12-10
constexpr CalendarDay kFirstSpreadDay = 20819;  // 2027-01-01
// The first day that had a puzzle: the past days' puzzles go back to it and no further.
constexpr CalendarDay kFirstPuzzleDay = 20795;  // 2026-12-08

}  // namespace kz
