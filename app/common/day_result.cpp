#include "app/common/day_result.h"

#include "app/common/clock_text.h"
#include "app/common/extras_texts.h"
#include "app/common/identity.h"
#include "app/common/puzzle_link.h"

namespace kz {

namespace {

std::string counted(int64_t n, const char* one, const char* many) {
    return n == 0 ? std::string("no ") + many : std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string dayResultText(const DayResult& result, const std::string& pageAddress) {
    std::string text = std::string(kProgramTitle) + ", puzzle of " + dayText(result.day);
    if (result.grade != AsDesigned) {
        text += std::string(" (") + difficultyName(result.grade) + ")";
    }
    text += "\nSolved in " + clockText(result.seconds) + ": " +
            counted(result.changes, "change", "changes") + ", " +
            counted(result.hints, "hint", "hints") + "\n";
    if (result.daysInARow > 1) {
        text += std::to_string(result.daysInARow) + " days in a row\n";
    }
    text += "Puzzle code " + result.code;
    if (!pageAddress.empty()) {
        text += "\n" + pageAddress + dayLink(result.day);
    }
    return text;
}

void DayResultKeeper::gameStarted() {
    day_ = startingDay_;
    startingDay_.reset();
    hints_ = 0;
}

void DayResultKeeper::won(const DayResult& shown) {
    if (day_) {
        result_ = shown;
        result_->day = *day_;
        result_->hints = hints_;
    }
}

}  // namespace kz
