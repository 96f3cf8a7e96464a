#include "app/web/script_text.h"

namespace kz {

std::string scriptString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (code < 0x20 || c == '<') {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[code >> 4];
            out += kHex[code & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string scriptStrings(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (size_t i = 0; i < texts.size(); ++i) {
        out += (i == 0 ? "" : ",") + scriptString(texts[i]);
    }
    return out + "]";
}

}  // namespace kz
