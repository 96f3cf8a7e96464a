#pragma once

#include <string>

#include "app/common/translation.h"

namespace kz {

// The game's message catalogue in the language the system is set to (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG), as GNU gettext finds it under the installed locale folder; English where
// it has no catalogue or the catalogue no text.
class GettextTranslation final : public Translation {
  public:
    // Binds the game's text domain to the folder holding <language>/LC_MESSAGES/<domain>.mo.
    explicit GettextTranslation(const std::string& localeFolder);

    // The folder of the catalogues: the one staged beside a built program, else the installed
    // one.
    static std::string defaultFolder();

    std::string text(const char* english) const override;
    std::string count(const char* one, const char* many, int64_t n) const override;
};

}  // namespace kz
