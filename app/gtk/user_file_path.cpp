#include "app/gtk/user_file_path.h"

#include <glib.h>

#include "app/common/identity.h"

namespace kz {

std::string userFilePath(const char* variable, const char* homeFallback, const char* name) {
    const char* base = g_getenv(variable);
    gchar* path =
        base && g_path_is_absolute(base)
            ? g_build_filename(base, kProgramFileName, name, nullptr)
            : g_build_filename(g_get_home_dir(), homeFallback, kProgramFileName, name, nullptr);
    std::string result(path);
    g_free(path);
    return result;
}

}  // namespace kz
