#include "app/gtk/embedded_files.h"

#include <gio/gio.h>

namespace kz {
namespace {
constexpr const char* kRoot = "/kestrane-zivadorured/";
}

EmbeddedFile::EmbeddedFile(const std::string& path) {
    std::string name = kRoot + path;
    bytes_ = g_resources_lookup_data(name.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (bytes_) {
        gsize size = 0;
        data_ = static_cast<const uint8_t*>(g_bytes_get_data(bytes_, &size));
        size_ = size;
    }
}

EmbeddedFile::~EmbeddedFile() {
    if (bytes_) {
        g_bytes_unref(bytes_);
    }
}

std::string EmbeddedFile::bitmapPath(int resourceId, int scale) {
    const std::string name = std::to_string(resourceId);
    return scale == 1 ? "bitmaps/" + name + ".bmp"
                      : "bitmaps/" + std::to_string(scale) + "x/" + name + ".png";
}

}  // namespace kz
