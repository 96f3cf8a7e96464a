#include "app/gtk/program_icon.h"

#include <stb_image.h>

#include <string>

#include "app/gtk/embedded_files.h"

namespace kz {

GdkPixbuf* decodePicture(const uint8_t* data, size_t size) {
    if (!data || size == 0 || size > INT32_MAX) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
    if (!pixels) {
        return nullptr;
    }
    return gdk_pixbuf_new_from_data(
        pixels, GDK_COLORSPACE_RGB, TRUE, 8, width, height, width * 4,
        [](guchar* p, gpointer) { stbi_image_free(p); }, nullptr);
}

GdkPixbuf* loadProgramIcon(int size) {
    EmbeddedFile file("icons/" + std::to_string(size) + ".png");
    return decodePicture(file.data(), file.size());
}

GList* loadProgramIcons(int maxSize) {
    static constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
    GList* icons = nullptr;
    for (int size : kSizes) {
        if (size > maxSize) {
            break;
        }
        if (GdkPixbuf* icon = loadProgramIcon(size)) {
            icons = g_list_append(icons, icon);
        }
    }
    return icons;
}

}  // namespace kz
