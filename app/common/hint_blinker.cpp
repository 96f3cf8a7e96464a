#include "app/common/hint_blinker.h"

#include <memory>

#include "screen/board.h"

namespace kz {
namespace {

// A picture element that starts hidden without asking for a repaint.
class HiddenPicture : public Element {
  public:
    HiddenPicture(Element* newParent, Image* picture) : Element(newParent, 0, 0, picture) {
        visible = false;
    }
};

// The state the stick would show after the change a hint asks for.
int32_t changedState(int32_t stateFrame) {
    switch (stateFrame) {
        case Present:
            return Removed;
        case Removed:
            return Present;
        case Added:
            return Empty;
        default:
            return Added;
    }
}

}  // namespace

HintBlinker::HintBlinker(GameScreen& gameScreen, Host& gameHost)
    : screen(gameScreen), host(gameHost) {
    Board& board = *screen.getBoard();
    Image* pictures[2] = {board.getHorizontalSprite(0)->getImage(),
                          board.getVerticalSprite(0)->getImage()};
    for (int i = 0; i < 2; ++i) {
        unplaced[i] = std::make_unique<HiddenPicture>(&screen, pictures[i]);
        markers[i] = unplaced[i].get();
    }
}

void HintBlinker::placeOnScreen() {
    for (auto& marker : unplaced) {
        if (marker) {
            screen.addTopChild(std::move(marker));
        }
    }
}

HintBlinker::~HintBlinker() {
    end();
}

void HintBlinker::show(StickSlot stick) {
    end();
    Board& board = *screen.getBoard();
    Element* sprite = board.getSprite(stick);
    Element* marker = getMarker(stick.orientation);
    // Placed and dressed while hidden, so only its showing repaints.
    marker->moveTo(board.getX() + sprite->getX(), board.getY() + sprite->getY());
    marker->setFrame(changedState(sprite->getFrame() & ~1));
    marker->setVisible(true);
    showing = marker;
    hinted = stick;
    blinks = 0;
    host.startTimer(kHintTimerId, kHintBlinkMs);
}

void HintBlinker::end() {
    if (showing == nullptr) {
        return;
    }
    showing->setVisible(false);
    showing = nullptr;
    hinted.reset();
    host.stopTimer(kHintTimerId);
}

bool HintBlinker::tick(uint32_t timerId) {
    if (timerId != kHintTimerId) {
        return false;
    }
    if (showing == nullptr) {
        host.stopTimer(timerId);  // a tick that was on its way when the hint ended
        return true;
    }
    ++blinks;
    if (blinks >= kHintBlinks) {
        end();
    } else {
        showing->setVisible(blinks % 2 == 0);
    }
    return true;
}

}  // namespace kz
