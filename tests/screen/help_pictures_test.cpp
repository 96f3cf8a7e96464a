// The pictures of the help pages against what the game draws today. After an art change or a
// deliberate change of the screen, run this test with KZ_UPDATE_GOLDENS=1 to write them
// anew, as the golden pictures are, and look at every one before committing them.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "software/software_display.h"
#include "tests/support/help_pictures.h"

namespace kz {
namespace {

const std::string kHelpDir = std::string(KZ_SOURCE_ROOT) + "/resources/help/";

std::string readHelpFile(const std::string& name) {
    std::ifstream in(kHelpDir + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool writePng(const std::string& path, const help::Picture& picture) {
    std::vector<unsigned char> rgb;
    rgb.reserve(picture.pixels.size() * 3);
    for (uint32_t p : picture.pixels) {
        rgb.push_back(static_cast<unsigned char>(p >> 16));
        rgb.push_back(static_cast<unsigned char>(p >> 8));
        rgb.push_back(static_cast<unsigned char>(p));
    }
    return stbi_write_png(path.c_str(), picture.width, picture.height, 3, rgb.data(),
                          picture.width * 3) != 0;
}

TEST(HelpPictures, TheCommittedPicturesAreWhatTheGameDraws) {
    const std::vector<help::Picture> pictures = help::pictures(KZ_SOURCE_ROOT);
    // Eight stick frames, the start, three clicks and the won field.
    ASSERT_EQ(pictures.size(), 8u + 5u);
    const char* update = std::getenv("KZ_UPDATE_GOLDENS");
    for (const help::Picture& picture : pictures) {
        SCOPED_TRACE(picture.name);
        if (update && std::string(update) == "1") {
            ASSERT_TRUE(writePng(kHelpDir + picture.name, picture));
            std::printf("wrote %s%s\n", kHelpDir.c_str(), picture.name.c_str());
            continue;
        }
        const auto committed = decodeBitmapFile(kHelpDir + picture.name);
        ASSERT_NE(committed, nullptr) << "missing help picture";
        ASSERT_EQ(committed->width(), picture.width);
        ASSERT_EQ(committed->height(), picture.height);
        size_t differing = 0;
        for (size_t i = 0; i < picture.pixels.size(); ++i) {
            differing += (committed->data()[i] & 0xFFFFFF) != picture.pixels[i] ? 1 : 0;
        }
        EXPECT_EQ(differing, 0u) << "pixels differ from what the game draws";
    }
}

TEST(HelpPictures, EachIsShownInTheHelpAndPartOfTheWindowsHelpFile) {
    const std::string project = readHelpFile("kestrane-zivadorured.hhp");
    const std::string page = readHelpFile("how-to-play.html");
    for (const help::Picture& picture : help::pictures(KZ_SOURCE_ROOT)) {
        EXPECT_NE(project.find("\n" + picture.name + "\n"), std::string::npos) << picture.name;
        const std::string image = "<img src=\"" + picture.name + "\" width=\"" +
                                  std::to_string(picture.width) + "\" height=\"" +
                                  std::to_string(picture.height) + "\"";
        EXPECT_NE(page.find(image), std::string::npos) << image;
    }
}

}  // namespace
}  // namespace kz
