// Writes the manual page from its template: the line %KEYS% becomes the keys of the menu
// table the Linux program acts on, the line %FILES% the program's own files, so that neither
// list is written twice.
//   man-page-maker TEMPLATE OUTPUT
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "app/common/identity.h"
#include "app/common/menu_text.h"
#include "app/gtk/user_file_path.h"

namespace {

// A text of the page's own as roff shows it: '-' as a hyphen-minus, '\' as itself.
std::string roff(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '-' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

std::string keyEntries() {
    std::string entries;
    std::string popups[3];
    for (const kz::MenuEntry& entry : kz::kMenuTable) {
        if (entry.kind == kz::MenuEntry::Popup && entry.depth < 3) {
            std::string plain;
            for (const char* c = entry.label; *c; ++c) {
                if (*c != '&') {
                    plain += *c;
                }
            }
            popups[entry.depth] = plain;
        }
        // F1 is only shown, as on Windows: the program does not bind it.
        if (entry.kind != kz::MenuEntry::Item || !entry.inLinuxMenu || !entry.key.isSet() ||
            entry.keyUse == kz::KeyUse::Shown) {
            continue;
        }
        if (entry.alsoKey.isSet()) {
            entries += ".TP\n.BR \"" + roff(kz::keyText(entry.key)) + "\" \" or \" \"" +
                       roff(kz::keyText(entry.alsoKey)) + "\"";
        } else {
            entries += ".TP\n.B " + roff(kz::keyText(entry.key));
        }
        std::string path;
        for (int depth = 0; depth < entry.depth && depth < 3; ++depth) {
            path += popups[depth] + " > ";
        }
        entries += "\n" + roff(path + kz::menuLabel(entry.command)) + ".\n";
    }
    return entries;
}

std::string fileEntries() {
    std::string entries;
    for (const kz::UserFile& file : kz::kUserFiles) {
        const std::string tail = std::string("/") + kz::kProgramFileName + "/" + file.name;
        entries += ".TP\n.I \\%$" + roff(file.variable + tail) + "\n" + roff(file.keeps) +
                   "\nWithout an absolute path in\n.BR " + roff(file.variable) + " :\n.IR \\%~/" +
                   roff(file.homeFallback + tail) + " .\n";
    }
    return entries;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: man-page-maker TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "man-page-maker: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream page;
    int replaced = 0;
    for (std::string line; std::getline(in, line);) {
        if (line == "%KEYS%") {
            page << keyEntries();
            ++replaced;
        } else if (line == "%FILES%") {
            page << fileEntries();
            ++replaced;
        } else {
            page << line << "\n";
        }
    }
    if (replaced != 2) {
        std::cerr << "man-page-maker: " << argv[1] << " needs one %KEYS% and one %FILES% line\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << page.str();
    if (!out) {
        std::cerr << "man-page-maker: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
