#pragma once

#include <windows.h>

namespace kz {

class DirectDrawDisplay;
class GameSession;

// What the window procedure, the menu commands and the About box share for the life of the
// process: set once at start-up, on the one thread that runs the message loop.
struct Shell {
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    DirectDrawDisplay* display = nullptr;  // null until start-up has opened it
    GameSession* session = nullptr;        // null until start-up has built it
};

Shell& shell();

}  // namespace kz
