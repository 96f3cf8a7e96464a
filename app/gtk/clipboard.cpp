#include "app/gtk/clipboard.h"

namespace kz {

void putTextOnClipboard(GtkWidget* widget, const std::string& text) {
    GtkClipboard* clipboard =
        gtk_clipboard_get_for_display(gtk_widget_get_display(widget), GDK_SELECTION_CLIPBOARD);
    gtk_clipboard_set_text(clipboard, text.c_str(), static_cast<gint>(text.size()));
    // Without a keeper the text lasts as long as the program: nothing more can be done then.
    gtk_clipboard_set_can_store(clipboard, nullptr, 0);
    gtk_clipboard_store(clipboard);
}

}  // namespace kz
