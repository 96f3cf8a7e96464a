#include "app/gtk/gettext_translation.h"

#include <glib.h>
#include <libintl.h>

#include "app/common/identity.h"

namespace kz {

std::string GettextTranslation::defaultFolder() {
    gchar* program = g_file_read_link("/proc/self/exe", nullptr);
    if (program != nullptr) {
        gchar* folder = g_path_get_dirname(program);
        gchar* staged = g_build_filename(folder, "locale", nullptr);
        const bool builtHere = g_file_test(staged, G_FILE_TEST_IS_DIR);
        std::string found = builtHere ? staged : "";
        g_free(staged);
        g_free(folder);
        g_free(program);
        if (builtHere) {
            return found;
        }
    }
    return KZ_INSTALLED_LOCALE_DIR;
}

GettextTranslation::GettextTranslation(const std::string& localeFolder) {
    bindtextdomain(kTextDomain, localeFolder.c_str());
    bind_textdomain_codeset(kTextDomain, "UTF-8");
}

std::string GettextTranslation::text(const char* english) const {
    return dgettext(kTextDomain, english);
}

std::string GettextTranslation::count(const char* one, const char* many, int64_t n) const {
    // gettext takes an unsigned long; a count past it only ever chooses a "many" form.
    const unsigned long shown =
        n < 0 ? static_cast<unsigned long>(-n) : static_cast<unsigned long>(n);
    return dngettext(kTextDomain, one, many, shown);
}

}  // namespace kz
