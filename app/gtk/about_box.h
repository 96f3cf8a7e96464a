#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtk/gtk.h>

namespace kz {

// The modal About box: program name, version, icon and the maker's web address. Returns
// when the player closes it; the game's timer and drawing go on meanwhile.
void runAboutBox(GtkWindow* parent, GdkPixbuf* logo);

}  // namespace kz
