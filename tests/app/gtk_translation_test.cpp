#include "app/gtk/gettext_translation.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/common/menu_table.h"

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

// The letter after a label's '&' (a whole UTF-8 character), in lower case as the player
// presses it; empty for none.
std::string mnemonicOf(const std::string& label) {
    const size_t at = label.find('&');
    if (at == std::string::npos || at + 1 >= label.size()) {
        return {};
    }
    const char* letter = label.c_str() + at + 1;
    gchar* lower = g_utf8_strdown(letter, g_utf8_next_char(letter) - letter);
    std::string result(lower);
    g_free(lower);
    return result;
}

TEST(GettextTranslation, EveryLanguageGivesTheLinesOfAMenuLettersOfTheirOwn) {
    std::istringstream listed(KZ_LANGUAGES);
    std::vector<std::string> languages;
    for (std::string language; std::getline(listed, language, ',');) {
        languages.push_back(language);
    }
    ASSERT_FALSE(languages.empty());
    for (const std::string& language : languages) {
        const InLanguage shown(language.c_str());
        const GettextTranslation translation(KZ_STAGED_LOCALE_DIR);
        // The menu each line is in: the popup above it at the depth before its own.
        std::vector<size_t> popups;
        std::map<size_t, std::map<std::string, std::string>> letters;
        for (size_t i = 0; i < kMenuTable.size(); ++i) {
            const MenuEntry& entry = kMenuTable[i];
            popups.resize(static_cast<size_t>(entry.depth));
            // Every line either program shows: the page's Share too.
            if (entry.kind != MenuEntry::Separator) {
                const size_t menu = popups.empty() ? kMenuTable.size() : popups.back();
                const std::string label = translation.text(entry.label);
                if (const std::string letter = mnemonicOf(label); !letter.empty()) {
                    const auto [clash, fresh] = letters[menu].emplace(letter, label);
                    EXPECT_TRUE(fresh) << language << ": \"" << label << "\" and \""
                                       << clash->second << "\" share the letter " << letter;
                }
            }
            if (entry.kind == MenuEntry::Popup) {
                popups.push_back(i);
            }
        }
        EXPECT_NE(translation.text("&Game"), "&Game") << language << " has no catalogue";
    }
}

}  // namespace
}  // namespace kz
