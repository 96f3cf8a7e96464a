#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

namespace kz {

// Marks an English text for the message catalogues where the text is written, in a table or a
// constant; it is looked up in the player's language where it is shown.
constexpr const char* N_(const char* english) {
    return english;
}

// The texts of the game in the player's language. Every text is written in English in the
// code and looked up by it; a text a language lacks stays English.
class Translation {
  public:
    virtual ~Translation() = default;
    // The text in the player's language.
    virtual std::string text(const char* english) const = 0;
    // The form the language uses for the count n, from the English one and the English many.
    virtual std::string count(const char* one, const char* many, int64_t n) const = 0;
};

// The texts as written: the Windows program's, and any program's before a language is chosen.
class English final : public Translation {
  public:
    std::string text(const char* english) const override { return english; }
    std::string count(const char* one, const char* many, int64_t n) const override {
        return n == 1 ? one : many;
    }
};

// The text with each {name} replaced by its value; a name not given stays as it is written, so
// a translation that spells one wrongly shows it rather than losing a part of the sentence.
std::string filled(const std::string& text,
                   std::initializer_list<std::pair<const char*, std::string>> values);

}  // namespace kz
