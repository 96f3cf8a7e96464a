#pragma once

#include "app/common/settings.h"
#include "app/web/page.h"

namespace kz {

// The settings kept in the page's storage, through the settings store (loadSettings says
// what becomes of a value missing or damaged).
GameSettings loadStoredSettings(Page& page);
void saveStoredSettings(Page& page, const GameSettings& settings);

}  // namespace kz
