// The help pages are shown by the Windows help viewer and by a browser; both need every link
// and every project entry to name a file that exists.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/common/identity.h"
#include "app/common/settings.h"

namespace kz {
namespace {

const std::string& helpDir() {
    static const std::string dir = std::string(KZ_SOURCE_ROOT) + "/resources/help/";
    return dir;
}

bool exists(const std::string& name) {
    return std::ifstream(helpDir() + name).good();
}

std::string read(const std::string& name) {
    std::ifstream in(helpDir() + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
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

TEST(HelpPages, AreSelfContainedValidLookingHtml) {
    const std::regex link(R"re((?:href|src)="([^"]+)")re");
    for (const auto& page : pages()) {
        const std::string text = read(page);
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
            EXPECT_TRUE(projectFiles().count(target.substr(0, target.find('#'))))
                << page << ": " << target;
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

}  // namespace
}  // namespace kz
