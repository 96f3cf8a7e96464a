#include "app/common/game_session.h"

#include "app/common/commands.h"
#include "app/common/extra_parts.h"
#include "app/common/extras_texts.h"
#include "app/common/menu_table.h"
#include "app/common/touch_aim.h"
#include "display/messages.h"
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
                         const GameSettings& settings, SessionOptions options)
    : written_(display),
      host_(host),
      shell_(shell),
      options_(options),
      translation_(options.translation ? *options.translation : english_) {
    // The menus show the settings before the Images are made.
    window_.menu.fieldSize = commandForFieldSize(settings.fieldSize);
    window_.menu.actionType = commandForActionType(settings.actionType);
    window_.title = windowTitleText(translation_, {}, std::nullopt, AsDesigned);
    windowShown_ = window_;
    shell_.windowChanged(window_);
    for (size_t i = 0; i < kImageTable.size(); ++i) {
        const ImageInfo& info = kImageTable[i];
        images_[i] =
            std::make_unique<Image>(&written_, BitmapName::resource(info.resourceId), info.width,
                                    info.height, info.columns, info.rows, info.frameCount);
    }
    // The screen takes the pictures in an order of its own.
    ScreenImages ordered{};
    for (size_t i = 0; i < kScreenImageOrder.size(); ++i) {
        ordered[i] = images_[imageIndexOf(kScreenImageOrder[i])].get();
    }
    gameScreen_ = std::make_unique<GameScreen>(nullptr, 0, 0, ordered, host_, options_.catalogue);
    gameScreen_->setFieldSize(settings.fieldSize);
    gameScreen_->setActionType(static_cast<ActionType>(settings.actionType));
    gameScreen_->setDifficulty(
        static_cast<Difficulty>(validDifficultyOrDefault(settings.difficulty)));
    TextMedium& records = options_.stores.records ? *options_.stores.records : keptNowhere_;
    TextMedium& game = options_.stores.game ? *options_.stores.game : keptNowhere_;
    extras_ = std::make_unique<ExtraParts>(*gameScreen_, written_, host_, shell_, records, game,
                                           translation_);
    if (options_.extraPlay) {
        startExtraPlay();
    }
    settle();
}

GameSession::~GameSession() {
    // The extras follow the screen, and the screen borrows the pictures.
    gameScreen_->setListener(nullptr);
    extras_.reset();
    gameScreen_.reset();
    destroyImages();
}

bool GameSession::frame() {
    frameAsked_ = false;
    return draw();
}

void GameSession::wantFrame() {
    // One ask until the frame is drawn; a tree with nothing dirty draws nothing.
    if (live() && !frameAsked_ && gameScreen_->isRedrawNeeded()) {
        frameAsked_ = true;
        shell_.frameWanted();
    }
}

bool GameSession::routed() {
    wantFrame();
    return !paintFailed_;
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

bool GameSession::mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    if (live()) {
        // A press ends a hint; pointer moves leave it, so a player who picked Hint from a menu
        // can move to the field and see it.
        if (options_.extraPlay && extras_->focus.pointerUsed(message, x, y)) {
            extras_->blinker.end();
        }
        gameScreen_->onMouse(message, wparam, x, y);
        settle();
    }
    return routed();
}

bool GameSession::touch(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    const Point aimed = TouchAim(*gameScreen_).aim({x, y});
    mouse(message, wparam, aimed.x, aimed.y);
    // A finger has no hover: the stick it pressed keeps no highlight, so a tap's whole change
    // is in the press's frame and the lift changes nothing more on show.
    if (message == msg::LeftButtonDown && live()) {
        gameScreen_->getBoard()->hoverLeave();
    }
    return routed();
}

bool GameSession::pointerLeft() {
    // A move to a point left of and above the screen, where no element is.
    return mouse(msg::MouseMove, 0, -1, -1);
}

bool GameSession::key(uint32_t message, uint32_t wparam, uint32_t modifiers) {
    bool taken = false;
    if (live()) {
        taken = options_.extraPlay && extraKey(message, wparam, modifiers);
        if (!taken) {
            gameScreen_->onKey(message, wparam, 0);
        }
        settle();
    }
    routed();
    return taken;
}

// The timers the session routes by their identifiers.
static_assert(GameScreen::kGameTimerId != HintBlinker::kHintTimerId &&
                  GameScreen::kGameTimerId != SessionRecords::kRetryTimerId &&
                  GameScreen::kGameTimerId != NextPuzzleSearch::kSearchTimerId &&
                  HintBlinker::kHintTimerId != SessionRecords::kRetryTimerId &&
                  HintBlinker::kHintTimerId != NextPuzzleSearch::kSearchTimerId &&
                  SessionRecords::kRetryTimerId != NextPuzzleSearch::kSearchTimerId,
              "each timer of the session has an identifier of its own");

bool GameSession::timer(uint32_t id) {
    if (extraLive() && extras_->nextSearch.tick(id)) {
        // Nothing on show changes while the next puzzle is searched.
        return routed();
    }
    if (extraLive()) {
        if (!extras_->blinker.tick(id) && !extras_->records.tick(id)) {
            gameScreen_->onTimer();
        }
        // The clock is part of the description.
        settle();
    } else if (live()) {
        gameScreen_->onTimer();
    }
    return routed();
}

bool GameSession::paint(const Rect& area) {
    if (live()) {
        gameScreen_->invalidateRect(area);
    }
    return routed();
}

bool GameSession::paintAll() {
    return paint(Rect{0, 0, width(), height()});
}

void GameSession::moveTo(int32_t x, int32_t y) {
    gameScreen_->setBaseX(x);
    gameScreen_->setBaseY(y);
}

void GameSession::settingChanged() {
    // Kept at once: a session ended from outside (log-out, a signal) never reaches an end.
    if (SettingsMedium* stored = options_.stores.settings) {
        saveSettings(*stored, settings());
    }
    if (options_.extraPlay) {
        // The next Next draws with the new settings.
        extras_->nextSearch.begin();
    }
}

bool GameSession::command(uint16_t id) {
    if (!live()) {
        return routed();
    }
    if (options_.extraPlay && extraCommand(id)) {
        // The extra play's own.
    } else if (const auto size = fieldSizeForCommand(id)) {
        gameScreen_->setFieldSize(*size);
        settingChanged();
    } else if (const auto type = actionTypeForCommand(id)) {
        gameScreen_->setActionType(static_cast<ActionType>(*type));
        settingChanged();
    } else if (const auto grade = difficultyForCommand(id); grade && options_.extraPlay) {
        // Only the programs with the extra play offer the choice.
        gameScreen_->setDifficulty(static_cast<Difficulty>(*grade));
        settingChanged();
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
    return routed();
}

GameSettings GameSession::settings() {
    return GameSettings{gameScreen_->getFieldSize(), gameScreen_->getActionType(),
                        gameScreen_->getDifficulty()};
}

void GameSession::destroyImages() {
    for (auto& image : images_) {
        image.reset();
    }
    imagesDestroyed_ = true;
}

}  // namespace kz
