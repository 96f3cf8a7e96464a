#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "display/element.h"
#include "puzzle/field_model.h"
#include "screen/game_screen.h"
#include "screen/host.h"

namespace kz {

// Shows the stick a hint names: a marker in the state the stick would take blinks over it for
// about two seconds on the hint timer. Its two markers (for horizontal sticks, then for
// vertical ones) go on top of the screen's children when it is placed there; they stay,
// hidden, when it ends.
class HintBlinker {
  public:
    static constexpr uint32_t kHintTimerId = 2;
    static constexpr uint32_t kHintBlinkMs = 250;
    // Half-periods a hint is shown for: about two seconds.
    static constexpr int32_t kHintBlinks = 8;

    HintBlinker(GameScreen& screen, Host& host);
    ~HintBlinker();
    HintBlinker(const HintBlinker&) = delete;
    HintBlinker& operator=(const HintBlinker&) = delete;

    // Puts the markers on top of the screen's children; a session without the extra play
    // leaves its screen as it is.
    void placeOnScreen();
    void show(StickSlot stick);
    // Hides the marker and stops its timer; nothing when no hint shows.
    void end();
    // True when the tick was the hint timer's.
    bool tick(uint32_t timerId);

    bool isShowing() const { return showing != nullptr; }
    std::optional<StickSlot> getHintedStick() const { return hinted; }
    Element* getMarker(StickOrientation orientation) const {
        return markers[orientation == Horizontal ? 0 : 1];
    }

  private:
    GameScreen& screen;
    Host& host;
    Element* markers[2] = {nullptr, nullptr};  // horizontal, vertical
    std::unique_ptr<Element> unplaced[2];      // the markers until they are placed
    Element* showing = nullptr;
    std::optional<StickSlot> hinted;
    int32_t blinks = 0;
};

}  // namespace kz
