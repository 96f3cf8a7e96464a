#include "app/gtk/about_box.h"

#include "app/common/identity.h"
#include "app/common/settings.h"

namespace kz {
namespace {

// Opens the link ourselves: the dialog's own handler reports a missing browser in a box
// of its own, and a failure to open the address is not the player's concern.
gboolean onActivateLink(GtkAboutDialog* dialog, gchar* uri, gpointer) {
    GError* error = nullptr;
    if (!gtk_show_uri_on_window(GTK_WINDOW(dialog), uri, GDK_CURRENT_TIME, &error)) {
        g_error_free(error);
    }
    return TRUE;
}

}  // namespace

void runAboutBox(GtkWindow* parent, GdkPixbuf* logo) {
    GtkWidget* box = gtk_about_dialog_new();
    GtkAboutDialog* about = GTK_ABOUT_DIALOG(box);
    gtk_window_set_transient_for(GTK_WINDOW(box), parent);
    gtk_window_set_modal(GTK_WINDOW(box), TRUE);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER_ON_PARENT);
    gtk_about_dialog_set_program_name(about, kProgramTitle);
    gtk_about_dialog_set_version(about, kVersionText);
    gtk_about_dialog_set_website(about, kMakerWebAddress);
    gtk_about_dialog_set_website_label(about, kMakerWebAddress);
    if (logo) {
        gtk_about_dialog_set_logo(about, logo);
    } else {
        gtk_about_dialog_set_logo_icon_name(about, nullptr);
    }
    g_signal_connect(box, "activate-link", G_CALLBACK(onActivateLink), nullptr);
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

}  // namespace kz
