#include "app/gtk/program_icon.h"

#include <string>

#include "app/gtk/embedded_files.h"

namespace kz {

GdkPixbuf* loadProgramIcon(int size) {
    // gdk-pixbuf reads PNG without a module of its own.
    EmbeddedFile file("icons/" + std::to_string(size) + ".png");
    if (file.empty()) {
        return nullptr;
    }
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
    if (!loader) {
        return nullptr;
    }
    GdkPixbuf* icon = nullptr;
    const bool written = gdk_pixbuf_loader_write(loader, file.data(), file.size(), nullptr);
    if (gdk_pixbuf_loader_close(loader, nullptr) && written) {
        icon = gdk_pixbuf_loader_get_pixbuf(loader);
        if (icon) {
            g_object_ref(icon);
        }
    }
    g_object_unref(loader);
    return icon;
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
