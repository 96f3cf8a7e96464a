#include "app/common/game_session.h"

#include "app/common/commands.h"
#include "app/common/menu_table.h"
#include "screen/image_table.h"

namespace kz {

GameSession::GameSession(Display& display_, Host& host_, SessionShell& shell_,
                         const GameSettings& settings)
    : written(display_), host(host_), shell(shell_) {
    shell.mark(kFieldSizeGroup, commandForFieldSize(settings.fieldSize));
    shell.mark(kActionTypeGroup, commandForActionType(settings.actionType));
    setActiveDisplay(&written);
    for (size_t i = 0; i < kImageTable.size(); ++i) {
        const ImageInfo& info = kImageTable[i];
        images[i] = std::make_unique<Image>(BitmapName::resource(info.resourceId), info.width,
                                            info.height, info.columns, info.rows, info.frameCount);
    }
    // The screen takes the pictures in an order of its own.
    ScreenImages ordered{};
    for (size_t i = 0; i < kScreenImageOrder.size(); ++i) {
        for (size_t j = 0; j < kImageTable.size(); ++j) {
            if (kImageTable[j].resourceId == kScreenImageOrder[i]) {
                ordered[i] = images[j].get();
            }
        }
    }
    gameScreen = std::make_unique<GameScreen>(nullptr, 0, 0, ordered, host);
    gameScreen->setFieldSize(settings.fieldSize);
    gameScreen->setActionType(static_cast<ActionType>(settings.actionType));
}

GameSession::~GameSession() {
    // The screen borrows the pictures: it goes first.
    gameScreen.reset();
    destroyImages();
    if (activeDisplay() == &written) {
        setActiveDisplay(nullptr);
    }
}

bool GameSession::draw() {
    if (paintFailed || imagesDestroyed) {
        return !paintFailed;
    }
    const bool drawn = gameScreen->draw(written.target());
    const Rect screenArea{gameScreen->getBaseX(), gameScreen->getBaseY(),
                          gameScreen->getBaseX() + width(), gameScreen->getBaseY() + height()};
    const std::vector<Rect> areas = written.take(screenArea);
    if (!areas.empty()) {
        shell.present(areas);
    }
    if (!drawn) {
        paintFailed = true;
        shell.fatal(FatalError::Paint);
        host.quit(1);
    }
    return drawn;
}

bool GameSession::mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    if (!paintFailed && !imagesDestroyed) {
        gameScreen->onMouse(message, wparam, x, y);
    }
    return draw();
}

bool GameSession::key(uint32_t message, uint32_t wparam, int64_t lparam) {
    if (!paintFailed && !imagesDestroyed) {
        gameScreen->onKey(message, wparam, lparam);
    }
    return draw();
}

bool GameSession::timer() {
    if (!paintFailed && !imagesDestroyed) {
        gameScreen->onTimer();
    }
    return draw();
}

bool GameSession::paint(const Rect& area) {
    if (!paintFailed && !imagesDestroyed) {
        gameScreen->invalidateRect(area);
    }
    return draw();
}

bool GameSession::paintAll() {
    return paint(Rect{0, 0, width(), height()});
}

void GameSession::moveTo(int32_t x, int32_t y) {
    gameScreen->setBaseX(x);
    gameScreen->setBaseY(y);
}

bool GameSession::command(uint16_t id) {
    if (paintFailed || imagesDestroyed) {
        return draw();
    }
    if (const auto size = fieldSizeForCommand(id)) {
        gameScreen->setFieldSize(*size);
        shell.mark(kFieldSizeGroup, id);
        shell.settingsChanged(settings());
    } else if (const auto type = actionTypeForCommand(id)) {
        gameScreen->setActionType(static_cast<ActionType>(*type));
        shell.mark(kActionTypeGroup, id);
        shell.settingsChanged(settings());
    } else {
        switch (id) {
            case command::Exit:
                host.quit(0);
                break;
            case command::HelpContents:
                shell.openHelp(HelpTopic::Contents);
                break;
            case command::HelpSearch:
                shell.openHelp(HelpTopic::Search);
                break;
            case command::HelpIndex:
                shell.openHelp(HelpTopic::Index);
                break;
            case command::About:
                shell.showAbout();
                break;
            default:
                break;
        }
    }
    return draw();
}

GameSettings GameSession::settings() {
    return GameSettings{gameScreen->getFieldSize(), gameScreen->getActionType()};
}

void GameSession::destroyImages() {
    for (auto& image : images) {
        image.reset();
    }
    imagesDestroyed = true;
}

}  // namespace kz
