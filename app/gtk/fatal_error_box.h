#pragma once

#include <gtk/gtk.h>

#include "app/common/fatal_error.h"

namespace kz {

// A modal warning box with the caption, the text and an OK button, over the parent if
// there is one. Without a display to show it on, the message goes to standard error.
void showFatalError(GtkWindow* parent, FatalError error);

}  // namespace kz
