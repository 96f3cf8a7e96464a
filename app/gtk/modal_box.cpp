#include "app/gtk/modal_box.h"

namespace kz {

GtkWidget* newModalBox(GtkWindow* parent, const char* title) {
    GtkWidget* box = GTK_WIDGET(g_object_ref(gtk_dialog_new()));
    gtk_window_set_title(GTK_WINDOW(box), title);
    gtk_window_set_transient_for(GTK_WINDOW(box), parent);
    gtk_window_set_modal(GTK_WINDOW(box), TRUE);
    gtk_window_set_destroy_with_parent(GTK_WINDOW(box), TRUE);
    gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER_ON_PARENT);
    gtk_window_set_resizable(GTK_WINDOW(box), FALSE);
    gtk_container_set_border_width(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(box))), 12);
    return box;
}

}  // namespace kz
