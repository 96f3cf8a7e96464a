#pragma once

#include <gtk/gtk.h>

#include <string>

namespace kz {

// Puts a text on the clipboard of a widget's display (the one Ctrl+V pastes from) and
// hands it to the desktop's clipboard keeper, where there is one, so it can still be pasted
// after the program has ended.
void putTextOnClipboard(GtkWidget* widget, const std::string& text);

}  // namespace kz
