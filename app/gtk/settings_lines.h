#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kz {

// The settings file as text, read leniently and edited in place. A line that is not
// understood spoils nothing but itself, and whatever the file holds besides the settings
// (comments, other keys and groups, stray lines) is written back as it was found.
//
// The settings are the keys of the [Settings] group. Keys before the first group header
// count as well, for a file whose header was lost; where both exist the group wins.
// Within one place the last line of a key decides, as in other key file readers.
class SettingsLines {
  public:
    static constexpr const char* kGroupName = "Settings";

    explicit SettingsLines(std::string_view text = {});

    // The value as written, without the whitespace around it; nothing when the key is absent.
    std::optional<std::string> value(std::string_view key) const;

    // Writes key=value where the key is read from, adding the key (and the group) as needed.
    void set(std::string_view key, std::string_view value);

    // The whole file. A byte order mark read in is not written back.
    std::string text() const;

  private:
    enum class Kind { Other, Group, Entry };
    struct Line {
        std::string text;
        std::string ending;  // "\n", "\r\n", or empty for a last line without one
        Kind kind = Kind::Other;
        // The group the line belongs to; empty before the first header.
        std::string group;
        bool beforeFirstGroup = true;
        std::string key;
        std::string value;
    };

    // The index of the line a key is read from, or -1.
    std::ptrdiff_t lineOf(std::string_view key) const;
    std::string newLineEnding() const;
    Line groupHeader() const;
    // The line of the [Settings] header, made when the file has none.
    size_t findOrMakeGroup();

    std::vector<Line> lines_;
};

}  // namespace kz
