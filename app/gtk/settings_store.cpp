#include "app/gtk/settings_store.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <memory>
#include <optional>

#include "app/common/settings.h"

namespace kz {
namespace {

constexpr const char* kGroup = "Settings";

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileDeleter>;

// Loads the file keeping comments, so a hand-edited file survives a save. Null when the
// file does not exist or is not a key file.
KeyFilePtr readKeyFile(const std::string& path, bool* missing) {
    KeyFilePtr file(g_key_file_new());
    GError* error = nullptr;
    gboolean ok =
        g_key_file_load_from_file(file.get(), path.c_str(), G_KEY_FILE_KEEP_COMMENTS, &error);
    if (!ok) {
        if (missing) {
            *missing = g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT);
        }
        g_error_free(error);
        return nullptr;
    }
    if (missing) {
        *missing = false;
    }
    return file;
}

// The stored integer, or nothing when the key is absent or does not hold a whole number.
std::optional<int64_t> readInteger(GKeyFile* file, const char* name) {
    GError* error = nullptr;
    gint64 value = g_key_file_get_int64(file, kGroup, name, &error);
    if (error) {
        g_error_free(error);
        return std::nullopt;
    }
    return value;
}

bool writeKeyFile(GKeyFile* file, const std::string& path) {
    gchar* dir = g_path_get_dirname(path.c_str());
    int made = g_mkdir_with_parents(dir, 0700);
    g_free(dir);
    if (made != 0) {
        return false;
    }
    GError* error = nullptr;
    // Saves through a temporary file and a rename, so a crash never leaves half a file.
    gboolean ok = g_key_file_save_to_file(file, path.c_str(), &error);
    if (!ok) {
        g_error_free(error);
    }
    return ok;
}

}  // namespace

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) {}

std::string SettingsStore::defaultPath() {
    gchar* path =
        g_build_filename(g_get_user_config_dir(), "kestrane-zivadorured", "settings.ini", nullptr);
    std::string result(path);
    g_free(path);
    return result;
}

GameSettings SettingsStore::load() const {
    GameSettings settings{kDefaultFieldSize, kDefaultActionType};
    bool missing = false;
    KeyFilePtr file = readKeyFile(path_, &missing);
    if (!file) {
        // Only a file that is not there yet is created; a damaged one is left alone until
        // the settings are saved at exit.
        if (missing) {
            save(settings);
        }
        return settings;
    }

    std::optional<int64_t> fieldSize = readInteger(file.get(), kFieldSizeSettingName);
    std::optional<int64_t> actionType = readInteger(file.get(), kActionTypeSettingName);
    if (fieldSize) {
        settings.fieldSize = validFieldSizeOrDefault(*fieldSize);
    }
    if (actionType) {
        settings.actionType = validActionTypeOrDefault(*actionType);
    }

    bool hasFieldSize = g_key_file_has_key(file.get(), kGroup, kFieldSizeSettingName, nullptr);
    bool hasActionType = g_key_file_has_key(file.get(), kGroup, kActionTypeSettingName, nullptr);
    if (!hasFieldSize || !hasActionType) {
        if (!hasFieldSize) {
            g_key_file_set_int64(file.get(), kGroup, kFieldSizeSettingName, kDefaultFieldSize);
        }
        if (!hasActionType) {
            g_key_file_set_int64(file.get(), kGroup, kActionTypeSettingName, kDefaultActionType);
        }
        writeKeyFile(file.get(), path_);
    }
    return settings;
}

bool SettingsStore::save(const GameSettings& settings) const {
    KeyFilePtr file = readKeyFile(path_, nullptr);
    if (!file) {
        file.reset(g_key_file_new());
    }
    g_key_file_set_int64(file.get(), kGroup, kFieldSizeSettingName, settings.fieldSize);
    g_key_file_set_int64(file.get(), kGroup, kActionTypeSettingName, settings.actionType);
    return writeKeyFile(file.get(), path_);
}

}  // namespace kz
