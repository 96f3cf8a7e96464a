#include "app/common/game_session.h"

#include "app/common/commands.h"
#include "app/common/menu_table.h"
#include "screen/image_table.h"

#include <utility>

namespace kz {

int32_t GameSession::screenWidth() {
    const auto frameWidthOf = [](int32_t resourceId) {
        const ImageInfo& info = kImageTable[imageIndexOf(resourceId)];
        return info.width / info.columns;
    };
    return GameScreen::widthFor(frameWidthOf(kScreenImageOrder[0]),
                                frameWidthOf(kScreenImageOrder[1]));
}

GameSession::GameSession(Display& display, Host& host, SessionShell& shell,
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
    extras_.reset();
    gameScreen_.reset();
    destroyImages();
    if (activeDisplay() == &written_) {
        setActiveDisplay(nullptr);
    }
}

bool GameSession::draw() {
    if (paintFailed_ || imagesDestroyed_) {
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
    if (!paintFailed_ && !imagesDestroyed_) {
        if (extras_) {
            extras_->onMouse(message, wparam, x, y);
        }
        gameScreen_->onMouse(message, wparam, x, y);
        if (extras_) {
            extras_->afterMessage();
        }
    }
    return draw();
}

bool GameSession::key(uint32_t message, uint32_t wparam, int64_t lparam, uint32_t modifiers) {
    keyTaken_ = false;
    if (!paintFailed_ && !imagesDestroyed_) {
        keyTaken_ = extras_ && extras_->key(message, wparam, lparam, modifiers);
        if (!keyTaken_) {
            gameScreen_->onKey(message, wparam, lparam);
        }
        if (extras_) {
            extras_->afterMessage();
        }
    }
    return draw();
}

bool GameSession::timer(uint32_t id) {
    if (!paintFailed_ && !imagesDestroyed_) {
        if (!(extras_ && extras_->timer(id))) {
            gameScreen_->onTimer();
        }
    }
    return draw();
}

bool GameSession::paint(const Rect& area) {
    if (!paintFailed_ && !imagesDestroyed_) {
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
    if (paintFailed_ || imagesDestroyed_) {
        return draw();
    }
    if (extras_ && extras_->command(id)) {
        extras_->afterMessage();
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
    return draw();
}

GameSettings GameSession::settings() {
    return GameSettings{gameScreen_->getFieldSize(), gameScreen_->getActionType()};
}

void GameSession::enableExtras(ExtrasShell& shell, Records records) {
    extras_ = std::make_unique<SessionExtras>(*gameScreen_, host_, shell, std::move(records));
}

bool GameSession::playPuzzleCode(const std::string& code) {
    if (paintFailed_ || imagesDestroyed_ || !extras_) {
        return false;
    }
    if (!extras_->playPuzzleCode(code)) {
        return false;
    }
    draw();
    return !paintFailed_;
}

bool GameSession::resetRecords() {
    if (extras_ && !paintFailed_ && !imagesDestroyed_) {
        extras_->resetRecords();
    }
    return draw();
}

void GameSession::end() {
    if (extras_) {
        extras_->sessionEnds();
    }
}

void GameSession::destroyImages() {
    for (auto& image : images_) {
        image.reset();
    }
    imagesDestroyed_ = true;
}

}  // namespace kz
