// The game session's side of the extra play: its keys and commands, the puzzles started from
// a code or a day, and the screen's events handed to the parts in their fixed order.

#include <utility>

#include "app/common/commands.h"
#include "app/common/extra_parts.h"
#include "app/common/extras_texts.h"
#include "app/common/game_session.h"
#include "app/common/menu_table.h"
#include "app/common/play_keys.h"
#include "app/common/puzzle_link.h"
#include "app/common/records_table.h"
#include "app/common/touch_aim.h"
#include "display/messages.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/todays_puzzle.h"
#include "screen/board.h"

namespace kz {
namespace {

// One event of the screen on its way through the parts.
struct Hearing {
    ExtraParts& parts;
    ProgramShell& shell;
    const Translation& translation;
    const ScreenEvent& event;
    // What the window is told in passing: a new best time.
    std::string& note;
    // The focus follows every event but a change of moves that left the layout as it was.
    bool focusFollows = true;

    bool is(ScreenEvent::Kind kind) const { return event.kind == kind; }
    // Restart, Give Up and the win put the field back where the history begins.
    bool endsTheLayout() const {
        return is(ScreenEvent::Restarted) || is(ScreenEvent::GaveUp) || is(ScreenEvent::Won);
    }
};
using Hearer = void (*)(Hearing&);

// The parts in the order they hear each event of the screen: a hint ends with every change of
// the game; the records count it; the history and the focus follow it; the narrator says it,
// as the screen shows it by then; the next graded puzzle is searched afresh; the game kept
// follows last. The session then tells the window of a new puzzle.
constexpr Hearer kHearingOrder[] = {
    [](Hearing& h) {
        if (!h.is(ScreenEvent::MovesChanged)) {
            h.parts.blinker.end();
        }
    },
    [](Hearing& h) {
        if (h.is(ScreenEvent::GameStarted)) {
            h.parts.records.gameStarted();
        } else if (h.is(ScreenEvent::GaveUp)) {
            h.parts.records.gaveUp();
        } else if (h.is(ScreenEvent::Won)) {
            if (const std::optional<WinReport> best = h.parts.records.won()) {
                h.note = newBestTimeText(h.translation, *best);
                h.shell.announce(h.note);
            }
        }
    },
    [](Hearing& h) {
        if (h.is(ScreenEvent::GameStarted)) {
            h.parts.dayResult.gameStarted();
        } else if (const auto day = h.parts.dayResult.playingDay(); day && h.is(ScreenEvent::Won)) {
            const ScreenEvent& e = h.event;
            h.parts.dayResult.won({*day, e.grade, e.seconds, e.requiredMoves, 0,
                                   h.parts.records.get().daysInARow(*day),
                                   kz::puzzleCode(e.origin)});
        }
    },
    [](Hearing& h) {
        if (h.is(ScreenEvent::GameStarted)) {
            h.parts.aids.newGame();
        } else if (h.endsTheLayout()) {
            h.parts.aids.startOver();
        } else {
            h.focusFollows = h.parts.aids.movesChanged();
        }
    },
    [](Hearing& h) {
        if (h.focusFollows) {
            h.parts.focus.follow();
        }
    },
    [](Hearing& h) {
        switch (h.event.kind) {
            case ScreenEvent::GameStarted:
                h.parts.narrator.gameStarted();
                break;
            case ScreenEvent::Restarted:
                h.parts.narrator.restarted();
                break;
            case ScreenEvent::GaveUp:
                h.parts.narrator.gaveUp();
                break;
            case ScreenEvent::Won:
                h.parts.narrator.won();
                break;
            case ScreenEvent::MovesChanged:
                break;
        }
    },
    [](Hearing& h) {
        if (h.is(ScreenEvent::GameStarted)) {
            h.parts.nextSearch.begin();
        }
    },
    [](Hearing& h) { h.parts.keeper.follow(); },
};

}  // namespace

MenuState GameSession::menuState() {
    MenuState menu;
    menu.fieldSize = commandForFieldSize(gameScreen_->getFieldSize());
    menu.actionType = commandForActionType(gameScreen_->getActionType());
    if (options_.extraPlay) {
        menu.difficulty = commandForDifficulty(gameScreen_->getDifficulty());
        const PlayAids& aids = extras_->aids;
        menu.commands = CommandStates{aids.canUndo(), aids.canRedo(), aids.canHint(),
                                      isPlayableOrigin(gameScreen_->getBoard()->getOrigin())};
    }
    return menu;
}

void GameSession::settle() {
    window_.menu = menuState();
    if (window_ != windowShown_) {
        windowShown_ = window_;
        shell_.windowChanged(window_);
    }
    if (std::vector<Rect> areas = TouchAim(*gameScreen_).layoutAreas(); areas != layoutAreas_) {
        layoutAreas_ = std::move(areas);
        shell_.layoutAreasChanged(layoutAreas_);
    }
    if (!options_.extraPlay) {
        return;
    }
    FocusPlaces places = extras_->focus.places();
    places.description = extras_->narrator.description();
    if (places != focusPlaces_) {
        focusPlaces_ = std::move(places);
        shell_.focusPlacesChanged(*focusPlaces_);
    }
}

void GameSession::puzzleShown(const ScreenEvent& event) {
    const std::string code = kz::puzzleCode(event.origin);
    const std::optional<CalendarDay> day = extras_->records.runningGame().day;
    window_.title = windowTitleText(translation_, code, day, event.grade);
    window_.link = day ? dayLink(*day) : puzzleLink(code);
    // The narrator has said it with the new game.
    window_.note = resizedNoteText(translation_, event.grade, gameScreen_->getResize());
}

bool GameSession::focusOn(size_t place, bool press) {
    if (!extraLive()) {
        return routed();
    }
    const std::vector<KeyboardFocus::Target> targets = extras_->focus.targets();
    if (place >= targets.size()) {
        return false;
    }
    extras_->blinker.end();
    extras_->focus.setFocus(targets[place]);
    if (press) {
        extras_->focus.activate();
    }
    settle();
    return routed();
}

bool GameSession::extraKey(uint32_t message, uint32_t wparam, uint32_t modifiers) {
    if (message != msg::KeyDown || (modifiers & keyflag::Alt) != 0) {
        return false;
    }
    extras_->blinker.end();
    const std::optional<PlayKey> key = playKeyOf(message, wparam, modifiers);
    if (!key) {
        return false;
    }
    switch (*key) {
        case PlayKey::Undo:
            return extraCommand(command::Undo);
        case PlayKey::Redo:
            return extraCommand(command::Redo);
        case PlayKey::Hint:
            return extraCommand(command::Hint);
        case PlayKey::Left:
            extras_->focus.move(KeyboardFocus::GoLeft);
            return true;
        case PlayKey::Right:
            extras_->focus.move(KeyboardFocus::GoRight);
            return true;
        case PlayKey::Up:
            extras_->focus.move(KeyboardFocus::GoUp);
            return true;
        case PlayKey::Down:
            extras_->focus.move(KeyboardFocus::GoDown);
            return true;
        case PlayKey::Activate:
            extras_->focus.activate();
            return true;
        case PlayKey::PutBack:
            if (!gameScreen_->getBoard()->isActive() || !gameScreen_->getBoard()->isStickInHand()) {
                return false;
            }
            extras_->aids.putBack();
            extras_->focus.follow();
            return true;
    }
    return false;
}

bool GameSession::extraCommand(uint16_t id) {
    extras_->blinker.end();
    const std::string code = kz::puzzleCode(gameScreen_->getBoard()->getOrigin());
    switch (id) {
        case command::Undo:
            extras_->aids.undo();
            break;
        case command::Redo:
            extras_->aids.redo();
            break;
        case command::Hint:
            if (extras_->aids.hint()) {
                extras_->records.hintTaken();
                extras_->keeper.follow();
                extras_->dayResult.hintTaken();
            }
            break;
        case command::CopyPuzzleCode:
            if (!code.empty()) {
                shell_.copyText(code, puzzleCodeCopiedText(translation_, code));
            }
            return true;
        case command::PlayPuzzleCode:
            shell_.ask({Question::PuzzleCode, 0, 0, {}});
            return true;
        case command::TodaysPuzzle:
            playTodaysPuzzle();
            return true;
        case command::PastPuzzle:
            shell_.ask({Question::Day, kFirstPuzzleDay, shell_.today(), {}});
            return true;
        case command::CopyTodaysResult:
            copyTodaysResult();
            return true;
        case command::Statistics:
            // Another window may have added games since.
            extras_->records.refresh();
            shell_.showStatistics(extras_->records.get(), shell_.today());
            return true;
        case command::ExportRecords:
            shell_.ask({Question::SaveRecords, 0, 0, extras_->records.exportText()});
            return true;
        case command::ImportRecords:
            shell_.ask({Question::RecordsFile, 0, 0, {}});
            return true;
        case command::Share:
            if (!code.empty()) {
                const std::string address = shell_.pageAddress();
                shell_.share(code, address.empty() ? address : address + puzzleLink(code));
            }
            return true;
        default:
            return false;
    }
    extras_->focus.follow();
    return true;
}

void GameSession::startExtraPlay() {
    extras_->placeOnScreen();
    gameScreen_->setListener(this);
    resumeGame();
    extras_->nextSearch.begin();
    settle();
}

bool GameSession::resumeGame() {
    auto stored = extras_->keeper.stored();
    if (!stored) {
        return false;
    }
    auto& [game, replayed] = *stored;
    // Started as a game from its code, in the table it began in; then the clock, the moves
    // and the hints' solution as they were.
    extras_->keeper.hold();
    // A game kept by a release that wrote no grade says none, unless its day gives one.
    const Difficulty grade = game.grade != AsDesigned ? game.grade
                             : game.day               ? gradeOfOrigin(game.origin)
                                                      : AsDesigned;
    extras_->records.resumingGame(game.table, game.day, game.hints, grade, game.pastDay);
    extras_->dayResult.starting(game.pastDay ? std::nullopt : game.day);
    gameScreen_->startPuzzle(game.origin, grade);
    gameScreen_->getClockCounter()->setValue(game.seconds);
    extras_->aids.resume(std::move(replayed.layouts), replayed.shown,
                         std::move(replayed.hintSolution));
    extras_->focus.follow();
    extras_->keeper.resumed(game);
    return true;
}

bool GameSession::startPuzzle(const PuzzleOrigin& origin, std::optional<CalendarDay> day,
                              bool pastDay) {
    extras_->records.startingPuzzle(origin, day, pastDay);
    // Only today's puzzle has a result to share.
    extras_->dayResult.starting(pastDay ? std::nullopt : day);
    // A day's puzzle says its grade; a code may name any puzzle, so it claims none.
    const bool started = gameScreen_->startPuzzle(origin, day ? gradeOfOrigin(origin) : AsDesigned);
    extras_->records.startingPuzzle(std::nullopt);
    return started;
}

void GameSession::copyTodaysResult() {
    const std::optional<DayResult>& result = extras_->dayResult.latest();
    if (result && result->day == shell_.today()) {
        shell_.copyText(dayResultText(*result, shell_.pageAddress()),
                        translation_.text(kTodaysResultCopiedText));
    } else {
        shell_.announce(translation_.text(kNoTodaysResultText));
    }
}

void GameSession::playTodaysPuzzle() {
    const CalendarDay day = shell_.today();
    if (const std::optional<PuzzleOrigin> origin = puzzleOfDay(day, options_.catalogue)) {
        startPuzzle(*origin, day);
    } else {
        shell_.announce(translation_.text(kNoPuzzleOfDayText));
    }
}

bool GameSession::playDay(CalendarDay day) {
    const CalendarDay today = options_.extraPlay ? shell_.today() : 0;
    if (!extraLive() || day < kFirstPuzzleDay || day > today) {
        return false;
    }
    const std::optional<PuzzleOrigin> origin = puzzleOfDay(day, options_.catalogue);
    if (!origin) {
        shell_.announce(translation_.text(kNoPuzzleOfDayText));
        return false;
    }
    if (!startPuzzle(*origin, day, day < today)) {
        return false;
    }
    settle();
    return routed();
}

bool GameSession::playPuzzle(const std::string& code) {
    const std::optional<PuzzleOrigin> origin = puzzleFromCode(withoutBlanks(code));
    return origin && playPuzzle(*origin);
}

bool GameSession::playDay(std::string_view day) {
    const std::optional<CalendarDay> chosen = dayFromText(day);
    return chosen && playDay(*chosen);
}

bool GameSession::openLink(std::string_view link) {
    const std::optional<LinkedPuzzle> linked = linkedPuzzle(link);
    if (!linked) {
        return false;
    }
    if (linked->day) {
        const CalendarDay today = shell_.today();
        if (*linked->day >= kFirstPuzzleDay && *linked->day <= today) {
            const std::optional<PuzzleOrigin> origin =
                puzzleOfDay(*linked->day, options_.catalogue);
            if (origin && puzzleInPlay() == kz::puzzleCode(*origin)) {
                return true;
            }
        }
        return playDay(*linked->day);
    }
    const std::optional<PuzzleOrigin> origin = puzzleFromCode(linked->code);
    if (!origin) {
        // The box for a code, with the link's said to be none.
        if (extraLive()) {
            shell_.ask({Question::PuzzleCode, 0, 0, linked->code});
        }
        return false;
    }
    return puzzleInPlay() == kz::puzzleCode(*origin) || playPuzzle(*origin);
}

bool GameSession::playPuzzle(const PuzzleOrigin& origin) {
    if (!extraLive() || !startPuzzle(origin, std::nullopt)) {
        return false;
    }
    settle();
    return routed();
}

bool GameSession::resetRecords() {
    if (extraLive()) {
        extras_->records.reset();
    }
    return routed();
}

RecordsImport GameSession::importRecords(std::string_view text) {
    if (!extraLive()) {
        return RecordsImport::NotStored;
    }
    return extras_->records.importText(text);
}

void GameSession::refreshRecords() {
    if (options_.extraPlay) {
        extras_->records.refresh();
    }
}

const Records* GameSession::records() const {
    return options_.extraPlay ? &extras_->records.get() : nullptr;
}

void GameSession::end() {
    if (options_.extraPlay) {
        extras_->records.sessionEnds(extras_->keeper.keepNow());
    }
}

void GameSession::keepGame() {
    if (extraLive()) {
        extras_->keeper.keepNow();
    }
}

std::string GameSession::puzzleInPlay() {
    const Board& board = *gameScreen_->getBoard();
    return board.isActive() ? kz::puzzleCode(board.getOrigin()) : std::string();
}

void GameSession::screenEvent(const ScreenEvent& event) {
    std::string note;
    Hearing hearing{*extras_, shell_, translation_, event, note};
    for (const Hearer hear : kHearingOrder) {
        hear(hearing);
    }
    if (event.kind == ScreenEvent::GameStarted) {
        puzzleShown(event);
    } else if (!note.empty()) {
        window_.note = note;
    }
    settle();
}

}  // namespace kz
