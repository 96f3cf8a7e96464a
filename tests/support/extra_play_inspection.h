#pragma once

#include "app/common/extra_parts.h"
#include "app/common/game_session.h"

namespace kz {

// What a session's extra play is made of, for checks that watch or drive it directly.
struct ExtraPlayInspection {
    static KeyboardFocus& focus(GameSession& session) { return session.extras_->focus; }
    static HintBlinker& blinker(GameSession& session) { return session.extras_->blinker; }
};

}  // namespace kz
