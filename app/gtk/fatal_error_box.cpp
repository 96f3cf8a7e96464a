#include "app/gtk/fatal_error_box.h"

#include <cstdio>

namespace kz {

void showFatalError(GtkWindow* parent, FatalError error) {
    const char* caption = fatalErrorCaption(error);
    std::fprintf(stderr, "%s: %s\n", caption, kFatalErrorText);
    if (!gdk_display_get_default()) {
        return;
    }
    GtkWidget* box = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING,
                                            GTK_BUTTONS_OK, "%s", kFatalErrorText);
    gtk_window_set_title(GTK_WINDOW(box), caption);
    // GTK 3 message boxes show no icon unless given one; the warning sign is part of these.
    GtkWidget* icon = gtk_image_new_from_icon_name("dialog-warning", GTK_ICON_SIZE_DIALOG);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(box), icon);
    G_GNUC_END_IGNORE_DEPRECATIONS
    gtk_widget_show(icon);
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

}  // namespace kz
