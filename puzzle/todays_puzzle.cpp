#include "puzzle/todays_puzzle.h"

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

}  // namespace

PuzzleOrigin puzzleOfDay(CalendarDay day) {
    PuzzleOrigin origin = drawnOfDay(day, 0);
    if (day < kFirstGradedDay) {
        return origin;
    }
    for (uint64_t attempt = 1; gradeOfOrigin(origin) == AsDesigned; ++attempt) {
        origin = drawnOfDay(day, attempt);
    }
    return origin;
}

}  // namespace kz
