#include "app/gtk/fatal_error.h"

#include <cstdio>

namespace kz {

const char* const kFatalErrorText = "An unexpected error occurs, the program will now exit.";

const char* fatalErrorCaption(FatalError error) {
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

void showFatalError(GtkWindow* parent, FatalError error) {
    const char* caption = fatalErrorCaption(error);
    std::fprintf(stderr, "%s: %s\n", caption, kFatalErrorText);
    if (!gdk_display_get_default()) {
        return;
    }
    GtkWidget* box = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING,
                                            GTK_BUTTONS_OK, "%s", kFatalErrorText);
    gtk_window_set_title(GTK_WINDOW(box), caption);
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

}  // namespace kz
