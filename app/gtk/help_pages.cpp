#include "app/gtk/help_pages.h"

namespace kz {
namespace {

std::string joinPath(const std::string& dir, const char* name) {
    gchar* path = g_build_filename(dir.c_str(), name, nullptr);
    std::string result(path);
    g_free(path);
    return result;
}

std::string programDirectory() {
    gchar* exe = g_file_read_link("/proc/self/exe", nullptr);
    if (!exe) {
        return {};
    }
    gchar* dir = g_path_get_dirname(exe);
    std::string result(dir);
    g_free(dir);
    g_free(exe);
    return result;
}

}  // namespace

HelpPages::HelpPages(std::vector<std::string> directories) : directories_(std::move(directories)) {}

std::vector<std::string> HelpPages::defaultDirectories() {
    std::string programDir = programDirectory();
    if (programDir.empty()) {
        return {KZ_INSTALLED_HELP_DIR};
    }
    return {
        joinPath(programDir, KZ_HELP_DIR_FROM_BINDIR),
        joinPath(programDir, "help"),
        KZ_INSTALLED_HELP_DIR,
    };
}

const char* HelpPages::fileName(HelpTopic page) {
    switch (page) {
        case HelpTopic::Contents:
            return KZ_HELP_CONTENTS_PAGE;
        case HelpTopic::Search:
            return "search.html";
        case HelpTopic::Index:
            return KZ_HELP_INDEX_PAGE;
    }
    return KZ_HELP_CONTENTS_PAGE;
}

std::optional<std::string> HelpPages::uri(HelpTopic page) const {
    for (const std::string& dir : directories_) {
        if (!g_file_test(joinPath(dir, fileName(HelpTopic::Contents)).c_str(),
                         G_FILE_TEST_IS_REGULAR)) {
            continue;
        }
        std::string path = joinPath(dir, fileName(page));
        if (!g_file_test(path.c_str(), G_FILE_TEST_IS_REGULAR)) {
            return std::nullopt;
        }
        gchar* canonical = g_canonicalize_filename(path.c_str(), nullptr);
        gchar* address = g_filename_to_uri(canonical, nullptr, nullptr);
        g_free(canonical);
        if (!address) {
            return std::nullopt;
        }
        std::string result(address);
        g_free(address);
        return result;
    }
    return std::nullopt;
}

void openHelpPage(GtkWindow* parent, const HelpPages& pages, HelpTopic page) {
    std::optional<std::string> address = pages.uri(page);
    if (!address) {
        return;
    }
    GError* error = nullptr;
    if (!gtk_show_uri_on_window(parent, address->c_str(), GDK_CURRENT_TIME, &error)) {
        g_error_free(error);
    }
}

}  // namespace kz
