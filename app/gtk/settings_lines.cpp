#include "app/gtk/settings_lines.h"

namespace kz {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text) {
    const char* space = " \t\r\v\f";
    size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) {
        return {};
    }
    size_t last = text.find_last_not_of(space);
    return text.substr(first, last - first + 1);
}

}  // namespace

SettingsLines::SettingsLines(std::string_view text) {
    // Every mark goes, not only the first: the file is written without one, so a second mark
    // left in the first line would be lost at the next save and the file would change again.
    while (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::string group;
    bool beforeFirstGroup = true;
    while (!text.empty()) {
        size_t newline = text.find('\n');
        std::string_view raw = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);

        Line line;
        if (newline != std::string_view::npos) {
            line.ending = "\n";
            if (!raw.empty() && raw.back() == '\r') {
                raw.remove_suffix(1);
                line.ending = "\r\n";
            }
        }
        line.text = std::string(raw);
        std::string_view content = trimmed(raw);
        if (content.empty() || content.front() == '#' || content.front() == ';') {
            line.kind = Kind::Other;
        } else if (content.front() == '[' && content.back() == ']' && content.size() >= 2) {
            line.kind = Kind::Group;
            group = std::string(trimmed(content.substr(1, content.size() - 2)));
            beforeFirstGroup = false;
        } else if (size_t equals = content.find('='); equals != std::string_view::npos) {
            line.key = std::string(trimmed(content.substr(0, equals)));
            line.value = std::string(trimmed(content.substr(equals + 1)));
            line.kind = line.key.empty() ? Kind::Other : Kind::Entry;
        }
        line.group = group;
        line.beforeFirstGroup = beforeFirstGroup;
        lines_.push_back(std::move(line));
    }
}

std::ptrdiff_t SettingsLines::lineOf(std::string_view key) const {
    std::ptrdiff_t grouped = -1;
    std::ptrdiff_t ungrouped = -1;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind != Kind::Entry || line.key != key) {
            continue;
        }
        if (line.beforeFirstGroup) {
            ungrouped = static_cast<std::ptrdiff_t>(i);
        } else if (line.group == kGroupName) {
            grouped = static_cast<std::ptrdiff_t>(i);
        }
    }
    return grouped >= 0 ? grouped : ungrouped;
}

std::optional<std::string> SettingsLines::value(std::string_view key) const {
    std::ptrdiff_t at = lineOf(key);
    if (at < 0) {
        return std::nullopt;
    }
    return lines_[static_cast<size_t>(at)].value;
}

std::string SettingsLines::newLineEnding() const {
    for (const Line& line : lines_) {
        if (!line.ending.empty()) {
            return line.ending;
        }
    }
    return "\n";
}

SettingsLines::Line SettingsLines::groupHeader() const {
    Line group;
    group.kind = Kind::Group;
    group.group = kGroupName;
    group.beforeFirstGroup = false;
    group.text = std::string("[") + kGroupName + "]";
    group.ending = newLineEnding();
    return group;
}

size_t SettingsLines::findOrMakeGroup() {
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Group && lines_[i].group == kGroupName) {
            return i;
        }
    }
    // A file whose header was lost gets it back above the keys it names.
    for (size_t i = 0; i < lines_.size() && lines_[i].beforeFirstGroup; ++i) {
        if (lines_[i].kind != Kind::Entry) {
            continue;
        }
        for (size_t j = i; j < lines_.size() && lines_[j].beforeFirstGroup; ++j) {
            lines_[j].group = kGroupName;
            lines_[j].beforeFirstGroup = false;
        }
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(i), groupHeader());
        return i;
    }
    // Otherwise the group goes last, set off by a blank line.
    if (!lines_.empty() && !trimmed(lines_.back().text).empty()) {
        Line blank = lines_.back();
        blank.kind = Kind::Other;
        blank.text.clear();
        blank.key.clear();
        blank.value.clear();
        blank.ending = newLineEnding();
        lines_.push_back(blank);
    }
    lines_.push_back(groupHeader());
    return lines_.size() - 1;
}

void SettingsLines::set(std::string_view key, std::string_view value) {
    size_t header = findOrMakeGroup();
    std::string text = std::string(key) + "=" + std::string(value);
    if (std::ptrdiff_t at = lineOf(key); at >= 0) {
        Line& line = lines_[static_cast<size_t>(at)];
        line.text = text;
        line.value = std::string(value);
        return;
    }
    // After the group's last key, so comments and blank lines that close the group stay last.
    size_t insertAt = header + 1;
    for (size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Group; ++i) {
        if (lines_[i].kind == Kind::Entry) {
            insertAt = i + 1;
        }
    }
    Line entry;
    entry.kind = Kind::Entry;
    entry.group = kGroupName;
    entry.beforeFirstGroup = false;
    entry.key = std::string(key);
    entry.value = std::string(value);
    entry.text = std::move(text);
    entry.ending = newLineEnding();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
}

std::string SettingsLines::text() const {
    std::string ending = newLineEnding();
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.ending.empty() ? ending : line.ending;
    }
    return out;
}

}  // namespace kz
