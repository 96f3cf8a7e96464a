// The resource script is compiled only in the Windows build; these checks keep it in step
// with the shared tables in every build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/identity.h"
#include "app/common/settings.h"
#include "screen/image_table.h"

namespace kz {
namespace {

std::string sourceDir() {
    const char* dir = std::getenv("KZ_SOURCE_DIR");
    return dir ? dir : ".";
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

TEST_F(ResourceScript, MenuItemsCarryTheirLabelsAndCommands) {
    const std::regex item(R"re(MENUITEM\s+"([^"]*)",\s*(\w+))re");
    std::vector<std::pair<std::string, int>> items;
    for (std::sregex_iterator it(script.begin(), script.end(), item), end; it != end; ++it) {
        items.emplace_back((*it)[1], idOf((*it)[2]));
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"E&xit\\tCtrl + W", command::Exit},
        {"2 x 2", command::FieldSize2},
        {"3 x 3", command::FieldSize3},
        {"4 x 4", command::FieldSize4},
        {"5 x 5", command::FieldSize5},
        {"Random", command::FieldSizeRandom},
        {"&Add From None", command::AddFromNone},
        {"A&dd From Some", command::AddFromSome},
        {"&Remove From Full", command::RemoveFromFull},
        {"R&emove From Some", command::RemoveFromSome},
        {"&Move From Some", command::MoveFromSome},
        {"M&ixed", command::Mixed},
        {"&Contents\\tF1", command::HelpContents},
        {"&Search", command::HelpSearch},
        {"&Index", command::HelpIndex},
        {"&About", command::About},
    };
    EXPECT_EQ(items, expected);
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
