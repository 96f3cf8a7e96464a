#include "app/common/game_session.h"

#include <utility>

#include "app/common/commands.h"
#include "app/common/extra_parts.h"
#include "app/common/menu_table.h"
#include "app/common/play_keys.h"
#include "display/messages.h"
#include "puzzle/board.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/todays_puzzle.h"
#include "screen/image_table.h"

namespace kz {

int32_t GameSession::screenWidth() {
    const auto frameWidthOf = [](int32_t resourceId) {
        const ImageInfo& info = kImageTable[imageIndexOf(resourceId)];
        return info.width / info.columns;
    };
    return GameScreen::widthFor(frameWidthOf(kScreenImageOrder[0]),
                                frameWidthOf(kScreenImageOrder[1]));
}

GameSession::GameSession(Display& display, Host& host, ProgramShell& shell,
                         const GameSettings& settings)
    : written_(display), host_(host), shell_(shell) {
    shell_.mark(kFieldSizeGroup, commandForFieldSize(settings.fieldSize));
    shell_.mark(kActionTypeGroup, commandForActionType(settings.actionType));
    setActiveDisplay(&written_);
    for (size_t i = 0; i < kImageTable.size(); ++i) {
        const ImageInfo& info = kImageTable[i];
        images_[i] = std::make_unique<Image>(BitmapName::resource(info.resourceId), info.width,
                                             info.height, info.columns, info.rows, info.frameCount);
    }
    // The screen takes the pictures in an order of its own.
    ScreenImages ordered{};
    for (size_t i = 0; i < kScreenImageOrder.size(); ++i) {
        ordered[i] = images_[imageIndexOf(kScreenImageOrder[i])].get();
    }
    gameScreen_ = std::make_unique<GameScreen>(nullptr, 0, 0, ordered, host_);
    gameScreen_->setFieldSize(settings.fieldSize);
    gameScreen_->setActionType(static_cast<ActionType>(settings.actionType));
}

GameSession::~GameSession() {
    // The extras follow the screen, and the screen borrows the pictures.
    gameScreen_->setListener(nullptr);
    extras_.reset();
    gameScreen_.reset();
    destroyImages();
    if (activeDisplay() == &written_) {
        setActiveDisplay(nullptr);
    }
}

bool GameSession::draw() {
    if (!live()) {
        return !paintFailed_;
    }
    const bool drawn = gameScreen_->draw(written_.target());
    const Rect screenArea{gameScreen_->getBaseX(), gameScreen_->getBaseY(),
                          gameScreen_->getBaseX() + width(), gameScreen_->getBaseY() + height()};
    const std::vector<Rect> areas = written_.take(screenArea);
    if (!areas.empty()) {
        shell_.present(areas);
    }
    if (!drawn) {
        paintFailed_ = true;
        shell_.fatal(FatalError::Paint);
        host_.quit(1);
    }
    return drawn;
}

void GameSession::settle() {
    if (!extras_) {
        return;
    }
    const PlayAids& aids = extras_->aids;
    const CommandStates states{aids.canUndo(), aids.canRedo(), aids.canHint(),
                               isPlayableOrigin(gameScreen_->getBoard()->getOrigin())};
    if (states != commandStates_) {
        commandStates_ = states;
        shell_.commandsChanged(states);
    }
}

bool GameSession::mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    if (live()) {
        if (extras_) {
            // A press ends a hint; pointer moves leave it, so a player who picked Hint from a
            // menu can move to the field and see it.
            if (extras_->focus.pointerUsed(message, x, y)) {
                extras_->blinker.end();
            }
        }
        gameScreen_->onMouse(message, wparam, x, y);
        settle();
    }
    draw();
    return !paintFailed_;
}

bool GameSession::key(uint32_t message, uint32_t wparam, uint32_t modifiers) {
    bool taken = false;
    if (live()) {
        taken = extras_ && extraKey(message, wparam, modifiers);
        if (!taken) {
            gameScreen_->onKey(message, wparam, 0);
        }
        settle();
    }
    draw();
    return taken;
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
            extras_->narrator.describe();
            return true;
    }
    return false;
}

bool GameSession::timer(uint32_t id) {
    if (live()) {
        if (!(extras_ && extras_->blinker.tick(id))) {
            gameScreen_->onTimer();
        }
    }
    return draw();
}

bool GameSession::paint(const Rect& area) {
    if (live()) {
        gameScreen_->invalidateRect(area);
    }
    return draw();
}

bool GameSession::paintAll() {
    return paint(Rect{0, 0, width(), height()});
}

void GameSession::moveTo(int32_t x, int32_t y) {
    gameScreen_->setBaseX(x);
    gameScreen_->setBaseY(y);
}

bool GameSession::command(uint16_t id) {
    if (!live()) {
        return draw();
    }
    if (extras_ && extraCommand(id)) {
        // The extra play's own.
    } else if (const auto size = fieldSizeForCommand(id)) {
        gameScreen_->setFieldSize(*size);
        shell_.mark(kFieldSizeGroup, id);
        shell_.settingsChanged(settings());
    } else if (const auto type = actionTypeForCommand(id)) {
        gameScreen_->setActionType(static_cast<ActionType>(*type));
        shell_.mark(kActionTypeGroup, id);
        shell_.settingsChanged(settings());
    } else {
        switch (id) {
            case command::Exit:
                host_.quit(0);
                break;
            case command::HelpContents:
                shell_.openHelp(HelpTopic::Contents);
                break;
            case command::HelpSearch:
                shell_.openHelp(HelpTopic::Search);
                break;
            case command::HelpIndex:
                shell_.openHelp(HelpTopic::Index);
                break;
            case command::About:
                shell_.showAbout();
                break;
            default:
                break;
        }
    }
    settle();
    return draw();
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
            }
            break;
        case command::CopyPuzzleCode:
            if (!code.empty()) {
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
            shell_.showStatistics(extras_->records.get(), shell_.today());
            return true;
        case command::Share:
            if (!code.empty()) {
                shell_.share(code);
            }
            return true;
        default:
            return false;
    }
    extras_->focus.follow();
    extras_->narrator.describe();
    return true;
}

GameSettings GameSession::settings() {
    return GameSettings{gameScreen_->getFieldSize(), gameScreen_->getActionType()};
}

void GameSession::enableExtras() {
    extras_ = std::make_unique<ExtraParts>(*gameScreen_, host_, shell_);
    gameScreen_->setListener(this);
    settle();
    extras_->narrator.describe();
}

bool GameSession::startPuzzle(const PuzzleOrigin& origin, std::optional<CalendarDay> day) {
    extras_->records.startingPuzzle(origin, day);
    const bool started = gameScreen_->startPuzzle(origin);
    extras_->records.startingPuzzle(std::nullopt);
    return started;
}

void GameSession::playTodaysPuzzle() {
    const CalendarDay day = shell_.today();
    startPuzzle(puzzleOfDay(day), day);
}

bool GameSession::playPuzzle(const std::string& code) {
    const std::optional<PuzzleOrigin> origin = puzzleFromCode(code);
    return origin && playPuzzle(*origin);
}

bool GameSession::playPuzzle(const PuzzleOrigin& origin) {
    if (!live() || !extras_ || !startPuzzle(origin, std::nullopt)) {
        return false;
    }
    settle();
    return draw();
}

bool GameSession::resetRecords() {
    if (extras_ && live()) {
        extras_->records.reset();
    }
    return draw();
}

void GameSession::end() {
    if (extras_) {
        extras_->records.sessionEnds();
    }
}

void GameSession::screenEvent(ScreenEvent event) {
    ExtraParts& parts = *extras_;
    // A hint ends with every change of the game; the records count it; the history and the
    // focus follow it; the narrator says it last, as the screen shows it by then.
    switch (event) {
        case ScreenEvent::GameStarted:
            parts.blinker.end();
            parts.records.gameStarted();
            parts.aids.newGame();
            parts.focus.follow();
            parts.narrator.gameStarted();
            shell_.puzzleChanged(kz::puzzleCode(gameScreen_->getBoard()->getOrigin()));
            break;
        case ScreenEvent::Restarted:
            parts.blinker.end();
            parts.aids.startOver();
            parts.focus.follow();
            parts.narrator.restarted();
            break;
        case ScreenEvent::GaveUp:
            parts.blinker.end();
            parts.records.gaveUp();
            parts.aids.startOver();
            parts.focus.follow();
            parts.narrator.gaveUp();
            break;
        case ScreenEvent::Won:
            parts.blinker.end();
            parts.records.won();
            parts.aids.startOver();
            parts.focus.follow();
            parts.narrator.won();
            break;
        case ScreenEvent::MovesChanged:
            if (parts.aids.movesChanged()) {
                parts.focus.follow();
            }
            break;
    }
    settle();
    parts.narrator.describe();
}

KeyboardFocus* GameSession::keyboardFocus() {
    return extras_ ? &extras_->focus : nullptr;
}

HintBlinker* GameSession::hintBlinker() {
    return extras_ ? &extras_->blinker : nullptr;
}

Narrator* GameSession::narrator() {
    return extras_ ? &extras_->narrator : nullptr;
}

void GameSession::destroyImages() {
    for (auto& image : images_) {
        image.reset();
    }
    imagesDestroyed_ = true;
}

}  // namespace kz
