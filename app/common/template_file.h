#pragma once

// Writes a file from a template at build time, replacing every @NAME@ of the template with
// its value: the tool that writes the page and the one that writes the Windows resources.
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

namespace kz {

inline std::string replacePlaceholders(std::string text,
                                       const std::map<std::string, std::string>& values) {
    for (const auto& [name, value] : values) {
        const std::string key = "@" + name + "@";
        for (size_t at = text.find(key); at != std::string::npos;
             at = text.find(key, at + value.size())) {
            text.replace(at, key.size(), value);
        }
    }
    return text;
}

// The command line of such a tool: TEMPLATE OUTPUT [NAME=VALUE ...], the pairs adding to
// (or replacing) values; complete, when given, then adds the values made from them.
// Returns the exit code.
inline int writeFromTemplate(
    const char* tool, int argc, char** argv, std::map<std::string, std::string> values,
    const std::function<void(std::map<std::string, std::string>&)>& complete = {}) {
    if (argc < 3) {
        std::cerr << "usage: " << tool << " TEMPLATE OUTPUT [NAME=VALUE ...]\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << tool << ": cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    for (int i = 3; i < argc; ++i) {
        const std::string pair(argv[i]);
        const size_t equals = pair.find('=');
        if (equals == std::string::npos) {
            std::cerr << tool << ": not NAME=VALUE: " << pair << "\n";
            return 2;
        }
        values[pair.substr(0, equals)] = pair.substr(equals + 1);
    }
    if (complete) {
        complete(values);
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << replacePlaceholders(text.str(), values);
    if (!out) {
        std::cerr << tool << ": cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}

}  // namespace kz
