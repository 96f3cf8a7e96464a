// The resource script is compiled only in the Windows build; these checks keep it in step
// with the shared tables in every build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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
#include "app/common/settings.h"
#include "screen/image_table.h"

namespace kz {
namespace {

std::string sourceDir() {
    return KZ_SOURCE_ROOT;
}

std::string readFile(const std::string& relative) {
    std::ifstream in(sourceDir() + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ResourceScript : public ::testing::Test {
  protected:
    void SetUp() override {
        script = readFile("resources/win32/kestrane-zivadorured.rc");
        header = readFile("resources/win32/resource.h");
        ASSERT_FALSE(script.empty());
        ASSERT_FALSE(header.empty());
        const std::regex define(R"(#define\s+(\w+)\s+(\d+))");
        for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it) {
            ids[(*it)[1]] = std::stoi((*it)[2]);
        }
    }

    // The numeric id of a symbol or number as it stands in the script.
    int idOf(const std::string& token) {
        if (!token.empty() && std::isdigit(static_cast<unsigned char>(token[0]))) {
            return std::stoi(token);
        }
        auto it = ids.find(token);
        return it == ids.end() ? -1 : it->second;
    }

    std::string script;
    std::string header;
    std::map<std::string, int> ids;
};

TEST_F(ResourceScript, ResourceIdsAreTheProgramsOwn) {
    EXPECT_EQ(ids["IDR_MAIN_MENU"], 101);
    EXPECT_EQ(ids["IDR_ACCELERATORS"], 103);
    EXPECT_EQ(ids["IDI_PROGRAM"], 106);
    EXPECT_EQ(ids["IDD_ABOUT"], 130);
    EXPECT_EQ(ids["IDC_HAND_CURSOR"], 131);
}

TEST_F(ResourceScript, EveryImageOfTheTableIsABitmapOfItsOwnFile) {
    const std::regex bitmap(R"re((\d+)\s+BITMAP\s+"bitmaps/(\d+)\.bmp")re");
    std::set<int> listed;
    for (std::sregex_iterator it(script.begin(), script.end(), bitmap), end; it != end; ++it) {
        EXPECT_EQ((*it)[1], (*it)[2]) << "bitmap named after another id";
        EXPECT_TRUE(listed.insert(std::stoi((*it)[1])).second) << "listed twice: " << (*it)[1];
    }
    std::set<int> wanted;
    for (const ImageInfo& info : kImageTable) {
        wanted.insert(info.resourceId);
    }
    EXPECT_EQ(listed, wanted);
}

// The menu of the script, line by line with its nesting, is the shared menu table.
TEST_F(ResourceScript, MenuIsTheSharedMenuTable) {
    const auto begin = script.find("IDR_MAIN_MENU MENU");
    ASSERT_NE(begin, std::string::npos);
    std::istringstream lines(script.substr(begin));
    std::string line;
    std::getline(lines, line);
    const std::regex popup(R"re(^\s*POPUP\s+"([^"]*)"\s*$)re");
    const std::regex item(R"re(^\s*MENUITEM\s+"([^"]*)",\s*(\w+)\s*$)re");
    const std::regex separator(R"(^\s*MENUITEM\s+SEPARATOR\s*$)");
    std::vector<std::string> seen;
    int depth = -1;  // the menu's own BEGIN opens depth 0
    while (std::getline(lines, line)) {
        std::smatch m;
        if (std::regex_search(line, std::regex(R"(^\s*BEGIN\s*$)"))) {
            ++depth;
        } else if (std::regex_search(line, std::regex(R"(^\s*END\s*$)"))) {
            if (--depth < 0) {
                break;
            }
        } else if (std::regex_match(line, m, popup)) {
            seen.push_back(std::to_string(depth) + " popup " + m[1].str());
        } else if (std::regex_match(line, m, separator)) {
            seen.push_back(std::to_string(depth) + " separator");
        } else if (std::regex_match(line, m, item)) {
            seen.push_back(std::to_string(depth) + " item " + m[1].str() + " " +
                           std::to_string(idOf(m[2])));
        } else {
            ADD_FAILURE() << "a menu line of no known kind: " << line;
        }
    }
    std::vector<std::string> expected;
    for (const MenuEntry& e : kMenuTable) {
        const std::string level = std::to_string(e.depth);
        if (e.kind == MenuEntry::Popup) {
            expected.push_back(level + " popup " + e.label);
        } else if (e.kind == MenuEntry::Separator) {
            expected.push_back(level + " separator");
        } else {
            const std::string label =
                e.shortcut ? std::string(e.label) + "\\t" + e.shortcut : std::string(e.label);
            expected.push_back(level + " item " + label + " " + std::to_string(e.command));
        }
    }
    EXPECT_EQ(seen, expected);
    // No radio mark in the resource: the settings set them at start-up.
    EXPECT_EQ(script.find("CHECKED"), std::string::npos);
}

TEST_F(ResourceScript, AboutBoxShowsTheProgramsTitleAndVersion) {
    EXPECT_NE(script.find("IDD_ABOUT DIALOG 0, 0, 205, 117"), std::string::npos);
    EXPECT_NE(script.find(std::string("CAPTION \"About ") + kProgramTitle + "\""),
              std::string::npos);
    EXPECT_NE(script.find(std::string("LTEXT \"") + kVersionText + "\", -1, 12, 9, 100, 8"),
              std::string::npos);
    EXPECT_NE(script.find("LTEXT \"Visit us at:\", -1, 12, 78, 34, 8"), std::string::npos);
    EXPECT_NE(script.find("DEFPUSHBUTTON \"OK\", IDCANCEL, 78, 96, 50, 14"), std::string::npos);
}

TEST_F(ResourceScript, VersionResourceMatchesTheVersionText) {
    // kVersionText is "Version 1.1.2".
    const std::string version = std::string(kVersionText).substr(std::string("Version ").size());
    EXPECT_NE(script.find("\"FileVersion\", \"" + version + "\""), std::string::npos);
    EXPECT_NE(script.find("\"ProductVersion\", \"" + version + "\""), std::string::npos);
    std::string commas = version;
    std::replace(commas.begin(), commas.end(), '.', ',');
    const std::regex fileVersion(R"(FILEVERSION\s+(\d+),\s*(\d+),\s*(\d+),\s*0)");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(script, m, fileVersion));
    EXPECT_EQ(std::string(m[1]) + "," + std::string(m[2]) + "," + std::string(m[3]), commas);
    EXPECT_NE(script.find(std::string("\"ProductName\", \"") + kProgramTitle + "\""),
              std::string::npos);
}

}  // namespace
}  // namespace kz
