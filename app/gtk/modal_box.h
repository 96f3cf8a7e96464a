#pragma once

#include <gtk/gtk.h>

namespace kz {

// An empty modal box of the program's own over its main window, centred on it and of a
// fixed size, with the usual margin around its content. The caller holds a reference, so
// it can destroy the box even when the main window went first:
//     gtk_widget_destroy(box); g_object_unref(box);
GtkWidget* newModalBox(GtkWindow* parent, const char* title);

}  // namespace kz
