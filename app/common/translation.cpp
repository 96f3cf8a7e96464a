#include "app/common/translation.h"

namespace kz {

std::string filled(const std::string& text,
                   std::initializer_list<std::pair<const char*, std::string>> values) {
    std::string out;
    out.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find('{', at);
        if (open == std::string::npos) {
            break;
        }
        const size_t close = text.find('}', open + 1);
        if (close == std::string::npos) {
            break;
        }
        out.append(text, at, open - at);
        const std::string name = text.substr(open + 1, close - open - 1);
        const std::pair<const char*, std::string>* value = nullptr;
        for (const auto& given : values) {
            if (name == given.first) {
                value = &given;
            }
        }
        if (value != nullptr) {
            out += value->second;
        } else {
            out.append(text, open, close - open + 1);
        }
        at = close + 1;
    }
    out.append(text, at, std::string::npos);
    return out;
}

}  // namespace kz
