// Writes the page's files from their templates at build time, with the menu bar made from
// the shared menu table and the texts every program shows, so the page needs no module to
// show its menus or to say that the module could not be loaded. The page script's constants
// (message numbers, fatal errors, help pages) come from the program's own tables too.
//   page-maker TEMPLATE OUTPUT [NAME=VALUE ...]   replaces @NAME@ in TEMPLATE
#include <cctype>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/common/commands.h"
#include "app/common/extras_texts.h"
#include "app/common/fatal_error.h"
#include "app/common/game_session.h"
#include "app/common/identity.h"
#include "app/common/menu_table.h"
#include "app/common/menu_text.h"
#include "app/common/records_table.h"
#include "app/common/template_file.h"
#include "app/web/embedded_bitmaps.h"
#include "app/web/page_calls.h"
#include "app/web/script_text.h"
#include "app/web/stored_records.h"
#include "app/web/web_program.h"
#include "display/messages.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/todays_puzzle.h"
#include "software/software_display.h"

namespace kz {
namespace {

std::string escapeHtml(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The label with its mnemonic letter underlined, and that letter in lower case.
std::string labelHtml(const char* label, std::string& mnemonic) {
    std::string out;
    mnemonic.clear();
    const std::string text(label);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] == '&') {
                out += "&amp;";
                continue;
            }
            mnemonic = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
            out += "<u>" + escapeHtml(std::string(1, text[i])) + "</u>";
        } else {
            out += escapeHtml(std::string(1, text[i]));
        }
    }
    return out;
}

std::string indent(int depth) {
    return std::string(static_cast<size_t>(depth) * 4 + 2, ' ');
}

// The lines of table from index at depth, up to the next line of a smaller depth. Returns the
// index after them.
size_t writeMenu(std::ostream& out, size_t index, int depth) {
    while (index < kMenuTable.size() && kMenuTable[index].depth >= depth) {
        const MenuEntry& entry = kMenuTable[index];
        const std::string id = "menu-" + std::to_string(index);
        std::string mnemonic;
        if (entry.kind == MenuEntry::Separator) {
            out << indent(depth) << "<li role=\"separator\" class=\"separator\"></li>\n";
            ++index;
            continue;
        }
        const std::string label = labelHtml(entry.label, mnemonic);
        const std::string mnemonicAttribute =
            mnemonic.empty() ? "" : " data-mnemonic=\"" + escapeHtml(mnemonic) + "\"";
        out << indent(depth) << "<li role=\"none\">";
        if (entry.kind == MenuEntry::Popup) {
            const char* place = depth == 0 ? "top" : "sub";
            out << "<div class=\"item " << place << "\" id=\"" << id
                << "\" role=\"menuitem\" aria-haspopup=\"menu\" aria-expanded=\"false\" "
                << "tabindex=\"" << (index == 0 ? 0 : -1) << "\"" << mnemonicAttribute
                << "><span class=\"mark\"></span><span class=\"label\">" << label
                << "</span><span class=\"shortcut\"></span></div>\n";
            out << indent(depth + 1) << "<ul class=\"menu\" role=\"menu\" aria-labelledby=\"" << id
                << "\" hidden>\n";
            index = writeMenu(out, index + 1, depth + 1);
            out << indent(depth + 1) << "</ul></li>\n";
            continue;
        }
        const bool radio = entry.radioGroup != 0;
        out << "<div class=\"item\" id=\"" << id << "\" role=\""
            << (radio ? "menuitemradio" : "menuitem") << "\""
            << (radio ? " aria-checked=\"false\" data-group=\"" + std::to_string(entry.radioGroup) +
                            "\""
                      : std::string())
            << " data-command=\"" << entry.command << "\" tabindex=\"-1\"" << mnemonicAttribute
            << "><span class=\"mark\"></span><span class=\"label\">" << label
            << "</span><span class=\"shortcut\">"
            << (entry.key.isSet() ? escapeHtml(keyText(entry.key)) : std::string())
            << "</span></div></li>\n";
        ++index;
    }
    return index;
}

std::string menuBarHtml() {
    std::ostringstream out;
    out << "<ul class=\"menubar\" role=\"menubar\" aria-label=\"" << escapeHtml(kProgramTitle)
        << "\">\n";
    writeMenu(out, 0, 0);
    out << "</ul>";
    return out.str();
}

using JsMembers = std::vector<std::pair<std::string, std::string>>;

// A frozen object literal of names (or numbers) and literal values, one member a line.
std::string jsObject(const JsMembers& members) {
    std::string out = "Object.freeze({\n";
    for (const auto& [name, value] : members) {
        out += "    " + name + ": " + value + ",\n";
    }
    return out + "})";
}

// A message number, a flag or an enumerator as a number literal.
template <typename Value>
std::string number(Value value) {
    return std::to_string(static_cast<int64_t>(value));
}

const char* shapeName(PageCallShape shape) {
    switch (shape) {
        case PageCallShape::Numbers:
            return "numbers";
        case PageCallShape::TextAndNumber:
            return "textAndNumber";
        case PageCallShape::Texts:
            return "texts";
        case PageCallShape::NameAndBytes:
            return "nameAndBytes";
        case PageCallShape::ReadsBytes:
            return "readsBytes";
        case PageCallShape::ReadsText:
            return "readsText";
        case PageCallShape::Areas:
            return "areas";
        case PageCallShape::Frame:
            return "frame";
    }
    return "";
}

// The calls across the module's edge (page_calls.h): the handlers the page gives, each with
// the way its arguments cross, and the module's exports for the link, as the page calls them
// (with Emscripten's _), followed by the comma-separated MORE_EXPORTS of the testing module.
void addModuleCalls(std::map<std::string, std::string>& values) {
    JsMembers handlers;
    for (const PageHandlerDeclaration& handler : kPageHandlers) {
        handlers.emplace_back(handler.name, scriptString(shapeName(handler.shape)));
    }
    values["PAGE_HANDLERS"] = jsObject(handlers);
    std::vector<std::string> exports;
    for (const char* entry : kModuleEntries) {
        exports.push_back(std::string("_") + entry);
    }
    std::istringstream more(values["MORE_EXPORTS"]);
    for (std::string entry; std::getline(more, entry, ',');) {
        if (!entry.empty()) {
            exports.push_back(entry);
        }
    }
    values["MODULE_EXPORTS"] = scriptStrings(exports);
}

// The values of the page script's constants module.
void addScriptConstants(std::map<std::string, std::string>& values) {
    addModuleCalls(values);
    values["MESSAGES"] = jsObject({
        {"keyDown", number(msg::KeyDown)},
        {"keyUp", number(msg::KeyUp)},
        {"mouseMove", number(msg::MouseMove)},
        {"leftDown", number(msg::LeftButtonDown)},
        {"leftUp", number(msg::LeftButtonUp)},
        {"rightDown", number(msg::RightButtonDown)},
        {"rightUp", number(msg::RightButtonUp)},
        {"middleDown", number(msg::MiddleButtonDown)},
        {"middleUp", number(msg::MiddleButtonUp)},
    });
    values["KEY_FLAGS"] = jsObject({
        {"shift", number(keyflag::Shift)},
        {"control", number(keyflag::Control)},
        {"alt", number(keyflag::Alt)},
    });
    // The keys as the key messages name them, under the names keys.js gives them.
    values["VIRTUAL_KEYS"] = jsObject({
        {"backspace", number(virtualkey::Backspace)},
        {"tab", number(virtualkey::Tab)},
        {"enter", number(virtualkey::Return)},
        {"shift", number(virtualkey::Shift)},
        {"control", number(virtualkey::Control)},
        {"alt", number(virtualkey::Alt)},
        {"escape", number(virtualkey::Escape)},
        {"space", number(virtualkey::Space)},
        {"left", number(virtualkey::Left)},
        {"up", number(virtualkey::Up)},
        {"right", number(virtualkey::Right)},
        {"down", number(virtualkey::Down)},
        {"delete", number(virtualkey::Delete)},
        {"numpad0", number(virtualkey::Numpad0)},
        {"f1", number(virtualkey::F1)},
    });
    values["TEXTS"] = jsObject({
        {"title", scriptString(kProgramTitle)},
        {"notAPuzzleCode", scriptString(kNotAPuzzleCodeText)},
        {"recordsUnsaved", scriptString(kRecordsUnsavedText)},
        {"recordsFileName", scriptString(kRecordsFileName)},
        {"recordsExported", scriptString(kRecordsExportedText)},
        // By the program's RecordsImport, and by name for the page's own.
        {"importResults",
         jsObject({
             {number(RecordsImport::Imported), scriptString(kRecordsImportedText)},
             {number(RecordsImport::NotRecords), scriptString(kNotARecordsFileText)},
             {number(RecordsImport::NotStored), scriptString(kRecordsNotImportedText)},
             {"notRecords", scriptString(kNotARecordsFileText)},
         })},
    });
    // The texts the page keeps where a write lasts once it is done, besides local storage.
    values["STORED_TEXTS"] = scriptStrings({kGameStorageName, kRecordsStorageName});
    values["MOUSE_FLAGS"] = jsObject({
        {"left", number(mouseflag::LeftButton)},
        {"right", number(mouseflag::RightButton)},
        {"shift", number(mouseflag::Shift)},
        {"control", number(mouseflag::Control)},
        {"middle", number(mouseflag::MiddleButton)},
    });
    static constexpr std::pair<const char*, FatalError> kFatalErrors[] = {
        {"window", FatalError::Window},
        {"display", FatalError::Display},
        {"paint", FatalError::Paint},
    };
    JsMembers errors;
    JsMembers captions;
    for (const auto& [name, error] : kFatalErrors) {
        errors.emplace_back(name, number(error));
        captions.emplace_back(number(error), scriptString(fatalErrorCaption(error)));
    }
    values["FATAL_ERRORS"] = jsObject(errors);
    values["FATAL_CAPTIONS"] = jsObject(captions);
    // The help's addresses arrive as arguments; a page without them opens no help.
    values["HELP_PAGES"] = jsObject({
        {number(HelpTopic::Contents), scriptString(values["HELP_CONTENTS"])},
        {number(HelpTopic::Search), scriptString(values["HELP_SEARCH"])},
        {number(HelpTopic::Index), scriptString(values["HELP_INDEX"])},
    });
    // So does the catalogue's, beside the page.
    values["CATALOGUE_FILE"] = scriptString(values["CATALOGUE_FILE"]);
}

// A box's title: its menu item's label without the dots of "opens a box".
std::string boxTitle(uint16_t command) {
    std::string label = menuLabel(command);
    if (label.size() > 3 && label.compare(label.size() - 3, 3, "...") == 0) {
        label.resize(label.size() - 3);
    }
    return label;
}

// The screen's size, as the session that the page runs will report it.
std::pair<int32_t, int32_t> screenSize() {
    return {GameSession::screenWidth(), GameSession::screenHeight()};
}

}  // namespace
}  // namespace kz

int main(int argc, char** argv) {
    using kz::escapeHtml;
    const auto [width, height] = kz::screenSize();
    return kz::writeFromTemplate(
        "page-maker", argc, argv,
        {
            {"TITLE", escapeHtml(kz::kProgramTitle)},
            {"SHORT_NAME", escapeHtml(kz::kProgramShortName)},
            {"PROGRAM_FILE_NAME", kz::kProgramFileName},
            {"VERSION_TEXT", escapeHtml(kz::kVersionText)},
            {"VERSION", escapeHtml(kz::kVersionNumber)},
            {"MAKER_NAME", escapeHtml(kz::kMakerName)},
            {"MAKER_ADDRESS", escapeHtml(kz::kMakerWebAddress)},
            {"FATAL_TEXT", escapeHtml(kz::kFatalErrorText)},
            {"WINDOW_ERROR", escapeHtml(kz::fatalErrorCaption(kz::FatalError::Window))},
            {"ABOUT_TITLE", escapeHtml(std::string("About ") + kz::kProgramTitle)},
            {"MENU_BAR", kz::menuBarHtml()},
            {"WIDTH", std::to_string(width)},
            {"HEIGHT", std::to_string(height)},
            {"PLAY_CODE_TITLE", escapeHtml(kz::boxTitle(kz::command::PlayPuzzleCode))},
            // Room for a code with a space or hyphen between every character, no more.
            {"CODE_MAX_LENGTH", std::to_string(2 * kz::kPuzzleCodeLength + 4)},
            {"PAST_DAY_TITLE", escapeHtml(kz::boxTitle(kz::command::PastPuzzle))},
            {"PAST_DAYS", escapeHtml(kz::pastDaysText(kz::English{}, kz::kFirstPuzzleDay))},
            {"STATISTICS_TITLE", escapeHtml(kz::boxTitle(kz::command::Statistics))},
            {"RESET_STATISTICS_LABEL",
             escapeHtml(std::string(kz::kResetStatisticsTitle) + "\u2026")},
            {"RESET_TITLE", escapeHtml(kz::kResetStatisticsTitle)},
            {"RESET_QUESTION", escapeHtml(kz::kResetStatisticsQuestion)},
            {"RESET_EXPLANATION", escapeHtml(kz::kResetStatisticsExplanation)},
            {"RECORDS_UNSAVED", escapeHtml(kz::kRecordsUnsavedText)},
        },
        // These take the addresses given on the command line.
        [](std::map<std::string, std::string>& values) { kz::addScriptConstants(values); });
}
