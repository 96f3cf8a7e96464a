#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace kz {

// The sizes of the program icon up to maxSize that were built into the program, smallest
// first; the caller frees the list with g_list_free_full(list, g_object_unref).
GList* loadProgramIcons(int maxSize);

// One size of the program icon, or null when the program was built without it.
GdkPixbuf* loadProgramIcon(int size);

}  // namespace kz
