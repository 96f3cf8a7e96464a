#pragma once

#include "app/common/extra_parts.h"
#include "app/common/game_session.h"

namespace kz {

// The parts of a session's extra play, for checks that watch or drive them directly.
struct ExtraPlayInspection {
    static KeyboardFocus& focus(GameSession& session) { return session.extras_->focus; }
    static HintBlinker& blinker(GameSession& session) { return session.extras_->blinker; }
};

}  // namespace kz
