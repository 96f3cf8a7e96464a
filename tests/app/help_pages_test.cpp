// The help pages are shown by the Windows help viewer and by a browser; both need every link
// and every project entry to name a file that exists. The pages in help-extra describe what
// only the Linux program and the page have: they join the browser help and never the
// Windows help file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/identity.h"
#include "app/common/menu_table.h"
#include "app/common/menu_text.h"
#include "app/common/records_table.h"
#include "app/common/settings.h"
#include "puzzle/puzzle_code.h"

namespace kz {
namespace {

const std::string& helpDir() {
    static const std::string dir = std::string(KZ_SOURCE_ROOT) + "/resources/help/";
    return dir;
}

const std::string& extraDir() {
    static const std::string dir = std::string(KZ_SOURCE_ROOT) + "/resources/help-extra/";
    return dir;
}

bool exists(const std::string& name) {
    return std::ifstream(helpDir() + name).good();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string read(const std::string& name) {
    return readFile(helpDir() + name);
}

std::string readExtra(const std::string& name) {
    return readFile(extraDir() + name);
}

// The pages of the Linux program and the page alone.
std::set<std::string> extraPages() {
    std::set<std::string> html;
    for (const auto& entry : std::filesystem::directory_iterator(extraDir())) {
        if (entry.path().extension() == ".html") {
            html.insert(entry.path().filename().string());
        }
    }
    return html;
}

// The [FILES] section of the project.
std::set<std::string> projectFiles() {
    std::istringstream project(read("kestrane-zivadorured.hhp"));
    std::set<std::string> files;
    bool inFiles = false;
    for (std::string line; std::getline(project, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] == '[') {
            inFiles = line == "[FILES]";
        } else if (inFiles && !line.empty()) {
            files.insert(line);
        }
    }
    return files;
}

std::set<std::string> pages() {
    std::set<std::string> html;
    for (const auto& f : projectFiles()) {
        if (f.size() > 5 && f.substr(f.size() - 5) == ".html") {
            html.insert(f);
        }
    }
    return html;
}

TEST(HelpProject, CompilesToTheFileTheProgramOpens) {
    const std::string project = read("kestrane-zivadorured.hhp");
    EXPECT_NE(project.find(std::string("Compiled file=") + kHelpFileName + "\n"),
              std::string::npos);
    EXPECT_NE(project.find("Default topic=index.html"), std::string::npos);
    EXPECT_NE(project.find("Full-text search=Yes"), std::string::npos);
    for (const char* part : {"Contents file=contents.hhc", "Index file=index.hhk"}) {
        EXPECT_NE(project.find(part), std::string::npos) << part;
    }
}

TEST(HelpProject, EveryListedFileExistsAndEveryPageIsListed) {
    for (const auto& f : projectFiles()) {
        EXPECT_TRUE(exists(f)) << f;
    }
    EXPECT_TRUE(projectFiles().count("style.css"));
    EXPECT_GE(pages().size(), 6u);
}

// The lines "name=value" of one section of the project.
std::map<std::string, std::string> projectSection(const std::string& section) {
    std::istringstream project(read("kestrane-zivadorured.hhp"));
    std::map<std::string, std::string> values;
    bool inside = false;
    for (std::string line; std::getline(project, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] == '[') {
            inside = line == "[" + section + "]";
        } else if (inside && !line.empty() && line[0] != ';' &&
                   line.find('=') != std::string::npos) {
            values[line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        }
    }
    return values;
}

// The comma-separated fields of a window definition; quotes and brackets group.
std::vector<std::string> windowFields(const std::string& definition) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    int brackets = 0;
    for (char c : definition) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '[' && !quoted) {
            ++brackets;
            fields.back() += c;
        } else if (c == ']' && !quoted) {
            --brackets;
            fields.back() += c;
        } else if (c == ',' && !quoted && brackets == 0) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TEST(HelpProject, DefaultWindowShowsContentsIndexAndSearchTabs) {
    const auto options = projectSection("OPTIONS");
    const auto windows = projectSection("WINDOWS");
    ASSERT_EQ(options.count("Default Window"), 1u) << "the viewer would fall back to its own";
    const std::string name = options.at("Default Window");
    ASSERT_EQ(windows.count(name), 1u) << "no [WINDOWS] definition named " << name;
    const std::vector<std::string> fields = windowFields(windows.at(name));
    ASSERT_GE(fields.size(), 13u);
    EXPECT_EQ(fields[0], options.at("Title")) << "caption";
    EXPECT_EQ(fields[1], options.at("Contents file")) << "contents file";
    EXPECT_EQ(fields[2], options.at("Index file")) << "index file";
    EXPECT_EQ(fields[3], options.at("Default topic")) << "default topic";
    EXPECT_EQ(fields[4], options.at("Default topic")) << "home page";
    EXPECT_EQ(options.at("Full-text search"), "Yes");
    // Navigation pane properties: three panes (0x20) and the search tab (0x400); the index
    // tab comes with the index file.
    const unsigned long properties = std::stoul(fields[9], nullptr, 16);
    EXPECT_EQ(properties & 0x20u, 0x20u) << fields[9];
    EXPECT_EQ(properties & 0x400u, 0x400u) << fields[9];
    EXPECT_EQ(properties & 0x8000u, 0u) << "no toolbar: " << fields[9];
    EXPECT_GT(std::stoi(fields[10]), 100) << "navigation pane width";
    EXPECT_EQ(fields[12].front(), '[') << "window position";
}

TEST(HelpProject, ContentsAndIndexPointAtListedPages) {
    const std::regex local(R"re(name="Local" value="([^"]+)")re");
    for (const char* file : {"contents.hhc", "index.hhk"}) {
        const std::string text = read(file);
        int entries = 0;
        for (std::sregex_iterator it(text.begin(), text.end(), local), end; it != end; ++it) {
            EXPECT_TRUE(pages().count((*it)[1])) << file << ": " << (*it)[1];
            ++entries;
        }
        EXPECT_GT(entries, 5) << file;
    }
    // The table of contents reaches every page.
    const std::string contents = read("contents.hhc");
    for (const auto& page : pages()) {
        EXPECT_NE(contents.find("value=\"" + page + "\""), std::string::npos) << page;
    }
}

// A page that stands on its own in every viewer: its links are relative and name files of
// the help it belongs to.
void expectSelfContainedHtml(const std::string& page, const std::string& text,
                             const std::set<std::string>& files) {
    const std::regex link(R"re((?:href|src)="([^"]+)")re");
    EXPECT_EQ(text.rfind("<!DOCTYPE html>", 0), 0u) << page;
    EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
    EXPECT_NE(text.find("<title>"), std::string::npos) << page;
    EXPECT_NE(text.find("href=\"style.css\""), std::string::npos) << page;
    EXPECT_NE(text.find("</html>"), std::string::npos) << page;
    for (std::sregex_iterator it(text.begin(), text.end(), link), end; it != end; ++it) {
        const std::string target = (*it)[1];
        // Relative links only, to files that are part of the help.
        EXPECT_EQ(target.find(':'), std::string::npos) << page << ": " << target;
        EXPECT_NE(target[0], '/') << page << ": " << target;
        EXPECT_TRUE(files.count(target.substr(0, target.find('#')))) << page << ": " << target;
    }
    // Balanced block elements; a stray tag breaks the layout in one viewer or another.
    for (const char* tag : {"p", "ul", "li", "table", "tr", "h1", "h2"}) {
        const std::regex open("<" + std::string(tag) + "[ >]");
        const std::regex close("</" + std::string(tag) + ">");
        const auto count = [&](const std::regex& r) {
            return std::distance(std::sregex_iterator(text.begin(), text.end(), r),
                                 std::sregex_iterator());
        };
        EXPECT_EQ(count(open), count(close)) << page << " <" << tag << ">";
    }
}

TEST(HelpPages, AreSelfContainedValidLookingHtml) {
    for (const auto& page : pages()) {
        expectSelfContainedHtml(page, read(page), projectFiles());
    }
}

TEST(HelpPages, CoverWhatThePlayerNeeds) {
    std::string all;
    for (const auto& page : pages()) {
        all += read(page);
    }
    for (const char* topic : {"Mixed", "Add From None", "Add From Some", "Remove From Full",
                              "Remove From Some", "Move From Some", "5 x 5", "Random", "Restart",
                              "Give Up", "Next", "Quit", "Ctrl", "59:59:59"}) {
        EXPECT_NE(all.find(topic), std::string::npos) << topic;
    }
}

TEST(ExtraHelpPages, JoinTheBrowserHelpOnly) {
    const std::set<std::string> extra = extraPages();
    ASSERT_GE(extra.size(), 2u);
    std::set<std::string> browserFiles = projectFiles();
    browserFiles.insert(extra.begin(), extra.end());
    const std::string project =
        read("kestrane-zivadorured.hhp") + read("contents.hhc") + read("index.hhk");
    for (const auto& page : extra) {
        expectSelfContainedHtml(page, readExtra(page), browserFiles);
        EXPECT_FALSE(exists(page)) << page << " is also a Windows help page";
        EXPECT_EQ(project.find(page), std::string::npos) << page << " is in the Windows help";
        EXPECT_NE(readExtra(page).find("name=\"keywords\""), std::string::npos)
            << page << " would be missing from the index";
    }
    // The contents page of the browser lists every extra page, in place of its marker.
    EXPECT_NE(read("index.html").find("<!-- more topics -->"), std::string::npos);
    const std::string topics = readExtra("contents-topics.inc");
    for (const auto& page : extra) {
        EXPECT_NE(topics.find("<li><a href=\"" + page + "\">"), std::string::npos) << page;
    }
}

TEST(ExtraHelpPages, TheWindowsHelpDescribesOnlyTheWindowsProgram) {
    for (const auto& page : pages()) {
        const std::string text = read(page);
        for (const char* extra : {"Undo", "Redo", "Hint", "hint", "Puzzle Code", "puzzle code",
                                  "Today's Puzzle", "Statistics", "Ctrl</kbd> + <kbd>Z"}) {
            EXPECT_EQ(text.find(extra), std::string::npos) << page << ": " << extra;
        }
    }
}

TEST(ExtraHelpPages, TheMenusPageListsEveryGameLineOfTheExtraPlay) {
    const std::string items = readExtra("game-menu-items.inc");
    for (const MenuEntry& entry : kMenuTable) {
        if (entry.kind != MenuEntry::Item || entry.inWindowsMenu ||
            difficultyForCommand(entry.command)) {
            continue;
        }
        std::string label = menuLabel(entry.command);
        if (label.size() > 3 && label.compare(label.size() - 3, 3, "...") == 0) {
            label.replace(label.size() - 3, 3, "&hellip;");
        }
        EXPECT_NE(items.find(label), std::string::npos) << label;
    }
}

TEST(ExtraHelpPages, NameEveryKey) {
    const std::string keys = readExtra("keys.html");
    // The keys of the menu table join the table at build time.
    EXPECT_NE(keys.find("<tr><th>Key</th><th>What it does</th></tr>\n<!-- menu-keys -->"),
              std::string::npos);
    for (const char* key : {"Arrow keys", "<kbd>Space</kbd> or <kbd>Enter</kbd>", "<kbd>Esc</kbd>",
                            "<kbd>Alt</kbd> + the underlined letter", "<kbd>F10</kbd>", "Next",
                            "Quit", "Restart", "Give Up"}) {
        EXPECT_NE(keys.find(key), std::string::npos) << key;
    }
}

TEST(ExtraHelpPages, WriteDownThePuzzleCodeAsTheGameReadsIt) {
    const std::string page = readExtra("puzzle-codes.html");
    EXPECT_NE(page.find("<code>" + std::string(kPuzzleCodeAlphabet) + "</code>"),
              std::string::npos);
    EXPECT_NE(page.find("10 characters"), std::string::npos);
    EXPECT_NE(page.find("format " + std::to_string(kPuzzleCodeFormat) + " is written <code>" +
                        kPuzzleCodeAlphabet[kPuzzleCodeFormat] + "</code>"),
              std::string::npos);
    // The kinds by the numbers the code gives them.
    std::string kinds;
    for (int32_t kind = AddFromNone; kind <= RemoveFromSome; ++kind) {
        kinds += (kinds.empty() ? "" : ", ") + std::to_string(kind) + " " +
                 menuLabel(commandForActionType(kind));
    }
    EXPECT_NE(page.find(kinds), std::string::npos) << kinds;
    // The example is the puzzle the page says it is, typed either way.
    const std::optional<PuzzleOrigin> example = puzzleFromCode("3MNWJ7CXSM");
    ASSERT_TRUE(example.has_value());
    EXPECT_EQ(example->columns, 5);
    EXPECT_EQ(example->rows, 5);
    EXPECT_EQ(example->kind, AddFromNone);
    EXPECT_NE(page.find("<code>3MNWJ7CXSM</code> is a 5 x 5 puzzle of the kind Add From None"),
              std::string::npos);
    EXPECT_EQ(puzzleFromCode("3mnwj-7cxsm"), example);
    EXPECT_NE(page.find("<code>3mnwj-7cxsm</code> is the same code"), std::string::npos);
    for (const char* topic :
         {"Copy Puzzle Code", "Play Puzzle Code", "Today's Puzzle", "UTC", "Past Puzzle",
          "#d=2026-12-10", "Statistics", "Reset Statistics", "Best streak",
          "$XDG_DATA_HOME/kestrane-zivadorured/records", "local storage"}) {
        EXPECT_NE(page.find(topic), std::string::npos) << topic;
    }
    // The table's columns are the ones the Statistics box shows.
    for (int32_t column = kRecordsFirstNumberColumn; column < kRecordsColumnCount; ++column) {
        EXPECT_NE(page.find(std::string("<tr><td>") + kRecordsColumns[static_cast<size_t>(column)] +
                            "</td>"),
                  std::string::npos)
            << kRecordsColumns[static_cast<size_t>(column)];
    }
}

}  // namespace
}  // namespace kz
