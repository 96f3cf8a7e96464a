#include "app/common/session_extras.h"

#include <utility>

#include "app/common/commands.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/todays_puzzle.h"

namespace kz {

SessionExtras::SessionExtras(GameScreen& screen, Host& host, ExtrasShell& shell, Records records)
    : screen_(screen),
      shell_(shell),
      extraPlay(std::make_unique<ExtraPlay>(screen, host, shell)),
      records_(std::move(records)) {
    // The extra play listens to the screen itself; the records need the same events, so
    // they come here first and are passed on.
    screen_.setListener(this);
}

SessionExtras::~SessionExtras() {
    screen_.setListener(nullptr);
}

bool SessionExtras::key(uint32_t message, uint32_t wparam, int64_t lparam, uint32_t modifiers) {
    return extraPlay->key(message, wparam, lparam, modifiers);
}

void SessionExtras::onMouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    extraPlay->onMouse(message, wparam, x, y);
}

bool SessionExtras::command(uint16_t id) {
    if (extraPlay->command(id)) {
        return true;
    }
    switch (id) {
        case command::CopyPuzzleCode:
            if (const std::string code = puzzleCode(); !code.empty()) {
                shell_.copyText(code);
            }
            return true;
        case command::PlayPuzzleCode:
            shell_.askPuzzleCode();
            return true;
        case command::TodaysPuzzle:
            playTodaysPuzzle();
            return true;
        case command::Statistics:
            shell_.showStatistics(records_, today());
            return true;
        case command::Share:
            if (const std::string code = puzzleCode(); !code.empty()) {
                shell_.share(code);
            }
            return true;
        default:
            return false;
    }
}

bool SessionExtras::timer(uint32_t id) {
    return extraPlay->timer(id);
}

void SessionExtras::afterMessage() {
    const int32_t used = extraPlay->getHintsUsed();
    // The count starts again with every game; only the hints taken since the last look are
    // new.
    for (; hintsNoted_ < used; ++hintsNoted_) {
        records_.hintTaken();
    }
    if (used < hintsNoted_) {
        hintsNoted_ = used;
    }
}

bool SessionExtras::playPuzzleCode(const std::string& text) {
    const std::optional<PuzzleOrigin> origin = puzzleFromCode(text);
    if (!origin) {
        return false;
    }
    startingOrigin_ = origin;
    const bool started = screen_.startPuzzle(*origin);
    startingOrigin_.reset();
    return started;
}

void SessionExtras::playTodaysPuzzle() {
    const CalendarDay day = today();
    startingOrigin_ = puzzleOfDay(day);
    startingDay_ = day;
    screen_.startPuzzle(*startingOrigin_);
    startingOrigin_.reset();
    startingDay_.reset();
}

void SessionExtras::resetRecords() {
    const bool wasInGame = records_.inGame();
    const RecordKey key{screen_.getFieldSize(), screen_.getActionType()};
    records_ = Records();
    // The game on show goes on and still counts when it ends, in a fresh table.
    if (wasInGame) {
        records_.gameStarted(key);
    }
    save();
}

void SessionExtras::sessionEnds() {
    if (records_.gameLeft()) {
        save();
    }
}

std::string SessionExtras::puzzleCode() {
    return kz::puzzleCode(screen_.getBoard()->getOrigin());
}

CalendarDay SessionExtras::today() {
    return shell_.today();
}

void SessionExtras::screenEvent(ScreenEvent event) {
    switch (event) {
        case ScreenEvent::GameStarted: {
            afterMessage();
            hintsNoted_ = 0;
            const RecordKey key = startingOrigin_
                                      ? recordKeyOf(*startingOrigin_)
                                      : RecordKey{screen_.getFieldSize(), screen_.getActionType()};
            if (records_.gameStarted(key, startingDay_)) {
                save();
            }
            shell_.puzzleChanged(puzzleCode());
            break;
        }
        case ScreenEvent::Won: {
            afterMessage();
            const int32_t seconds = screen_.getClockCounter()->getValue();
            if (const std::optional<WinReport> report = records_.gameWon(seconds)) {
                save();
                if (report->newBestTime) {
                    shell_.newBestTime(*report);
                }
            }
            break;
        }
        case ScreenEvent::GaveUp:
            afterMessage();
            if (records_.gameGivenUp()) {
                save();
            }
            break;
        case ScreenEvent::Restarted:
        case ScreenEvent::MovesChanged:
            break;
    }
    static_cast<ScreenListener&>(*extraPlay).screenEvent(event);
}

void SessionExtras::save() {
    shell_.saveRecords(records_);
}

}  // namespace kz
