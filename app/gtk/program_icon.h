#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstddef>
#include <cstdint>

namespace kz {

// Decodes a PNG or BMP into a pixbuf with the same decoder the game's pictures use.
// Null when the bytes are not a picture.
GdkPixbuf* decodePicture(const uint8_t* data, size_t size);

// The sizes of the program icon up to maxSize that were built into the program, smallest
// first; the caller frees the list with g_list_free_full(list, g_object_unref).
GList* loadProgramIcons(int maxSize);

// One size of the program icon, or null when the program was built without it.
GdkPixbuf* loadProgramIcon(int size);

}  // namespace kz
