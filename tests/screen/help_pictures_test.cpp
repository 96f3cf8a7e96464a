// The pictures of the help pages against what the game draws today. After an art change,
// regenerate them with build/default/tools/render-goldens . tests/golden resources/help and
// look at them.
#include <gtest/gtest.h>

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

TEST(HelpPictures, TheCommittedPicturesAreWhatTheGameDraws) {
    const std::vector<help::Picture> pictures = help::pictures(KZ_SOURCE_ROOT);
    // Eight stick frames, the start, three clicks and the won field.
    ASSERT_EQ(pictures.size(), 8u + 5u);
    for (const help::Picture& picture : pictures) {
        SCOPED_TRACE(picture.name);
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
