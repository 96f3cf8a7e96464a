#pragma once

#include <string>
#include <vector>

namespace kz {

// A JavaScript string literal of a UTF-8 text, which is a JSON string too. '<' is escaped as
// well, so no text can close a script element.
std::string scriptString(const std::string& text);

// A JSON array of string literals.
std::string scriptStrings(const std::vector<std::string>& texts);

}  // namespace kz
