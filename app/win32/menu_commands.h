#pragma once

#include <cstdint>

namespace kz {

// What a command of the main window's menu does. Unknown ids do nothing.
void onMenuCommand(uint16_t id);

}  // namespace kz
