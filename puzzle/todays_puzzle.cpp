#include "puzzle/todays_puzzle.h"

#include <array>
#include <vector>

#include "puzzle/puzzle_catalogue.h"
#include "puzzle/puzzle_grade.h"

namespace kz {
namespace {

// A fixed offset, so day 0 does not hash a zero, and the finaliser of SplitMix64: every bit
// of the day reaches every bit of the result, so neighbouring days look unrelated.
constexpr uint64_t kDaySalt = 0x4B5A2D6461696C79u;

// Attempt 0 is the hash every day had before the days were graded.
uint64_t hashOfDay(CalendarDay day, uint64_t attempt) {
    uint64_t x = static_cast<uint64_t>(day) + kDaySalt + attempt * 0x9E3779B97F4A7C15u;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    return x ^ (x >> 31);
}

constexpr int32_t kDailySmallestSide = 3;
constexpr uint64_t kDailySides = kLargestSide - kDailySmallestSide + 1;
constexpr uint64_t kDailyKinds = RemoveFromSome - AddFromNone + 1;

PuzzleOrigin drawnOfDay(CalendarDay day, uint64_t attempt) {
    const uint64_t hash = hashOfDay(day, attempt);
    uint64_t shape = hash >> 32;
    PuzzleOrigin origin;
    origin.state = static_cast<uint32_t>(hash & 0xFFFFFFFFu);
    origin.columns = kDailySmallestSide + static_cast<int32_t>(shape % kDailySides);
    shape /= kDailySides;
    origin.rows = kDailySmallestSide + static_cast<int32_t>(shape % kDailySides);
    shape /= kDailySides;
    origin.kind = static_cast<ActionType>(AddFromNone + static_cast<int32_t>(shape % kDailyKinds));
    return origin;
}

struct DayCell {
    FieldSize side;
    Difficulty grade;
};

// Monday to Sunday.
constexpr DayCell kWeek[7] = {{2, Easy}, {3, Easy},   {3, Medium}, {4, Medium},
                              {4, Hard}, {5, Medium}, {5, Hard}};
constexpr ActionType kKinds[kCatalogueKinds] = {AddFromNone, AddFromSome, MoveFromSome,
                                                RemoveFromFull, RemoveFromSome};
constexpr CalendarDay kYear = 366;

// The catalogue's puzzles as the days from kFirstSpreadDay take them: every cell hands out its
// puzzles in turn, and remembers the day each was last given.
class DaySchedule {
  public:
    explicit DaySchedule(const PuzzleCatalogue& from) : catalogue(from) {
        for (const CatalogueCell& cell : catalogueCells()) {
            const int32_t count = catalogue.count(cell.grade, cell.kind, cell.side);
            lastDay[index(cell.grade, cell.kind, cell.side)].assign(static_cast<size_t>(count),
                                                                    kFirstSpreadDay - kYear);
        }
    }

    PuzzleOrigin take(CalendarDay day) {
        // 1970-01-01 was a Thursday.
        const CalendarDay sinceMonday = day + 3;
        const auto weekday = static_cast<size_t>(sinceMonday % 7);
        const auto week = static_cast<int32_t>(sinceMonday / 7);
        const DayCell planned = kWeek[weekday];
        for (Difficulty grade : {planned.grade, Easy, Medium, Hard}) {
            for (int32_t turn = 0; turn < kCatalogueKinds; ++turn) {
                const ActionType kind = kKinds[static_cast<size_t>(
                    (week + static_cast<int32_t>(weekday) + turn) % kCatalogueKinds)];
                std::vector<CalendarDay>& last = lastDay[index(grade, kind, planned.side)];
                size_t& next = nextEntry[index(grade, kind, planned.side)];
                if (!last.empty() && day - last[next] >= kYear) {
                    const PuzzleOrigin origin =
                        catalogue.puzzle(grade, kind, planned.side, static_cast<int32_t>(next));
                    last[next] = day;
                    next = (next + 1) % last.size();
                    return origin;
                }
            }
        }
        // Not reached with the catalogue as it is (a test walks the years); the planned
        // grade's first kind with puzzles keeps the day playable all the same.
        for (ActionType kind : kKinds) {
            if (catalogue.count(planned.grade, kind, planned.side) > 0) {
                return catalogue.puzzle(planned.grade, kind, planned.side, 0);
            }
        }
        return drawnOfDay(day, 0);
    }

  private:
    static size_t index(Difficulty grade, ActionType kind, FieldSize side) {
        return catalogueCellIndex(grade, kind, side);
    }

    const PuzzleCatalogue& catalogue;
    std::array<std::vector<CalendarDay>, kCatalogueCells> lastDay;
    std::array<size_t, kCatalogueCells> nextEntry{};
};

}  // namespace

std::optional<PuzzleOrigin> puzzleOfDay(CalendarDay day, const PuzzleCatalogue* catalogue) {
    PuzzleOrigin origin = drawnOfDay(day, 0);
    if (day < kFirstGradedDay) {
        return origin;
    }
    if (day >= kFirstSpreadDay) {
        if (catalogue == nullptr) {
            return std::nullopt;
        }
        // Each day depends on the days before it; walking them takes well under a millisecond
        // a year.
        DaySchedule schedule(*catalogue);
        for (CalendarDay d = kFirstSpreadDay; d < day; ++d) {
            schedule.take(d);
        }
        return schedule.take(day);
    }
    for (uint64_t attempt = 1; gradeOfOrigin(origin) == AsDesigned; ++attempt) {
        origin = drawnOfDay(day, attempt);
    }
    return origin;
}

}  // namespace kz
