#pragma once

#include <cstdint>

#include "app/common/game_session.h"

namespace kz {

// What the menu commands need of the Windows program: the radio marks of the main window's
// menu, the HTML Help viewer and the About box.
class MenuCommandShell : public SessionShell {
  public:
    void markFieldSize(uint16_t commandId) override;
    void markActionType(uint16_t commandId) override;
    void openHelp(HelpTopic topic) override;
    void showAbout() override;
};

}  // namespace kz
