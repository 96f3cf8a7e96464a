#include "app/gtk/gettext_translation.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace kz {
namespace {

// The language the environment names, for one test; the locale C.UTF-8 as a system without
// the language's own locale has, which gettext still translates for when LANGUAGE names it.
class InLanguage {
  public:
    explicit InLanguage(const char* language) {
        setenv("LANGUAGE", language, 1);
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    ~InLanguage() {
        unsetenv("LANGUAGE");
        std::setlocale(LC_ALL, "C");
    }
    InLanguage(const InLanguage&) = delete;
    InLanguage& operator=(const InLanguage&) = delete;
};

TEST(GettextTranslation, ReadsTheStagedCatalogueOfTheLanguageTheEnvironmentNames) {
    const InLanguage german("de");
    const GettextTranslation translation(KZ_STAGED_LOCALE_DIR);
    EXPECT_EQ(translation.text("You win!"), "Gewonnen!");
    EXPECT_EQ(translation.count("{n} match", "{n} matches", 1), "{n} Streichholz");
    EXPECT_EQ(translation.count("{n} match", "{n} matches", 3), "{n} Streichhölzer");
    EXPECT_EQ(translation.text("a text no catalogue has"), "a text no catalogue has");
}

TEST(GettextTranslation, KeepsEnglishForALanguageWithoutACatalogue) {
    const InLanguage unknown("xx");
    const GettextTranslation translation(KZ_STAGED_LOCALE_DIR);
    EXPECT_EQ(translation.text("You win!"), "You win!");
    EXPECT_EQ(translation.count("{n} match", "{n} matches", 1), "{n} match");
    EXPECT_EQ(translation.count("{n} match", "{n} matches", 2), "{n} matches");
}

}  // namespace
}  // namespace kz
