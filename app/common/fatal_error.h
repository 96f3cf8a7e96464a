#pragma once

namespace kz {

// The three failures the player is told about before the program ends with exit code 1.
enum class FatalError {
    Window,   // no window can be made
    Display,  // the drawing surface behind the window cannot be made
    Paint,    // drawing the game failed
};

constexpr const char* kFatalErrorText = "An unexpected error occurs, the program will now exit.";

constexpr const char* fatalErrorCaption(FatalError error) {
    switch (error) {
        case FatalError::Window:
            return "Window Error";
        case FatalError::Display:
            return "Direct Draw Error";
        case FatalError::Paint:
            return "Paint Error";
    }
    return "Error";
}

}  // namespace kz
