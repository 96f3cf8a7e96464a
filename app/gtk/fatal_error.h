#pragma once

#include <gtk/gtk.h>

namespace kz {

// The three failures the player is told about before the program ends with exit code 1.
enum class FatalError {
    Window,   // no window can be made (the display cannot be opened)
    Display,  // the drawing surface behind the window cannot be made
    Paint,    // drawing the game failed
};

const char* fatalErrorCaption(FatalError error);
extern const char* const kFatalErrorText;

// A modal warning box with the caption, the text and an OK button, over the parent if
// there is one. Without a display to show it on, the message goes to standard error.
void showFatalError(GtkWindow* parent, FatalError error);

}  // namespace kz
