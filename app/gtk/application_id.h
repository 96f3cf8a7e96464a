#pragma once

namespace kz {

// The program's one name towards the desktop: the desktop file and the AppStream data are
// named after it, and the windows carry it (the program name, WM_CLASS and the Wayland
// application id), so docks and task bars match the running window to its launcher.
constexpr const char* kApplicationId = "example.kestrane_games.KestraneZivadorured";

}  // namespace kz
