// Writes the Windows program's resource script and manifest from their templates at build
// time: the menu bar from the shared menu table, the version and names from the program's
// identity. Built and run on the build machine.
//   resource-script-maker TEMPLATE OUTPUT [NAME=VALUE ...]   replaces @NAME@ in TEMPLATE
#include <sstream>
#include <string>

#include "app/common/commands.h"
#include "app/common/identity.h"
#include "app/common/menu_table.h"
#include "app/common/menu_text.h"
#include "app/common/template_file.h"

namespace kz {
namespace {

// A string of the resource script: a quote is doubled, a tab is written as \t.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string indent(int depth) {
    return std::string(static_cast<size_t>(depth) * 4, ' ');
}

// Writes the lines of the table from index at depth, up to the next line of a smaller
// depth, inside BEGIN and END. Returns the index after them. Lines not in the Windows menu
// are left out with everything they open.
size_t writeMenu(std::ostream& out, size_t index, int depth) {
    out << indent(depth) << "BEGIN\n";
    while (index < kMenuTable.size() && kMenuTable[index].depth >= depth) {
        const MenuEntry& entry = kMenuTable[index];
        const int inner = depth + 1;
        if (!entry.inWindowsMenu) {
            for (++index; index < kMenuTable.size() && kMenuTable[index].depth > entry.depth;) {
                ++index;
            }
            continue;
        }
        switch (entry.kind) {
            case MenuEntry::Popup:
                out << indent(inner) << "POPUP " << quoted(entry.label) << "\n";
                index = writeMenu(out, index + 1, inner);
                continue;
            case MenuEntry::Separator:
                out << indent(inner) << "MENUITEM SEPARATOR\n";
                break;
            case MenuEntry::Item: {
                std::string label = entry.label;
                if (entry.key.isSet()) {
                    label += "\t" + keyText(entry.key);
                }
                out << indent(inner) << "MENUITEM " << quoted(label) << ", " << entry.command
                    << "\n";
                break;
            }
        }
        ++index;
    }
    out << indent(depth) << "END\n";
    return index;
}

// The accelerator table's lines: every menu line whose key the program binds. Ctrl and a
// letter as the control character it types (Ctrl + W is 23), other keys as virtual keys.
std::string acceleratorScript() {
    std::ostringstream out;
    for (const MenuEntry& entry : kMenuTable) {
        if (entry.kind != MenuEntry::Item || entry.keyUse != KeyUse::Accelerator) {
            continue;
        }
        const KeyBinding& key = entry.key;
        if (key.modifiers == keyflag::Control && key.key >= 'A' && key.key <= 'Z') {
            out << indent(1) << (key.key - 'A' + 1) << ", " << entry.command
                << ", ASCII, NOINVERT\n";
        } else {
            out << indent(1) << key.key << ", " << entry.command << ", VIRTKEY"
                << ((key.modifiers & keyflag::Control) != 0 ? ", CONTROL" : "")
                << ((key.modifiers & keyflag::Shift) != 0 ? ", SHIFT" : "")
                << ((key.modifiers & keyflag::Alt) != 0 ? ", ALT" : "") << ", NOINVERT\n";
        }
    }
    std::string text = out.str();
    if (!text.empty()) {
        text.pop_back();  // the template ends the line
    }
    return text;
}

std::string menuScript() {
    std::ostringstream out;
    writeMenu(out, 0, 0);
    std::string text = out.str();
    text.pop_back();  // the template ends the line
    return text;
}

}  // namespace
}  // namespace kz

int main(int argc, char** argv) {
    const std::string commas = std::to_string(KZ_VERSION_MAJOR) + ", " +
                               std::to_string(KZ_VERSION_MINOR) + ", " +
                               std::to_string(KZ_VERSION_PATCH);
    return kz::writeFromTemplate("resource-script-maker", argc, argv,
                                 {
                                     {"MENU", kz::menuScript()},
                                     {"ACCELERATORS", kz::acceleratorScript()},
                                     {"TITLE", kz::kProgramTitle},
                                     {"VERSION", kz::kVersionNumber},
                                     {"VERSION_TEXT", kz::kVersionText},
                                     {"VERSION_COMMAS", commas},
                                     {"MAKER_NAME", kz::kMakerName},
                                     {"PROGRAM_FILE_NAME", kz::kProgramFileName},
                                 });
}
