#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstddef>
#include <cstdint>

namespace kz {

// Decodes a PNG or BMP into a pixbuf with the same decoder the game's pictures use.
// Null when the bytes are not a picture.
GdkPixbuf* decodePicture(const uint8_t* data, size_t size);

// Every size of the program icon that was built into the program, smallest first; the
// caller frees the list with g_list_free_full(list, g_object_unref).
GList* loadProgramIcons();

}  // namespace kz
