#include "app/gtk/user_file_path.h"

#include <glib.h>

#include "app/common/identity.h"

namespace kz {

std::string userFilePath(const UserFile& file) {
    const char* base = g_getenv(file.variable);
    gchar* path = base && g_path_is_absolute(base)
                      ? g_build_filename(base, kProgramFileName, file.name, nullptr)
                      : g_build_filename(g_get_home_dir(), file.homeFallback, kProgramFileName,
                                         file.name, nullptr);
    std::string result(path);
    g_free(path);
    return result;
}

}  // namespace kz
