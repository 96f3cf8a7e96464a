#include <gtest/gtest.h>

#include "app/win32/help_library_path.h"

namespace kz {
namespace {

TEST(HelpLibraryPath, FullyQualifiedPaths) {
    EXPECT_TRUE(isFullyQualifiedPath("C:\\Windows\\System32\\hhctrl.ocx"));
    EXPECT_TRUE(isFullyQualifiedPath("c:/windows/system32/hhctrl.ocx"));
    EXPECT_TRUE(isFullyQualifiedPath("\\\\server\\share\\hhctrl.ocx"));
    EXPECT_TRUE(isFullyQualifiedPath("\\\\?\\C:\\Windows\\hhctrl.ocx"));
}

TEST(HelpLibraryPath, PathsThatWouldBeSearchedForAreNotFullyQualified) {
    for (const char* path :
         {"hhctrl.ocx", "", "C:hhctrl.ocx", "\\Windows\\hhctrl.ocx", ".\\hhctrl.ocx",
          "..\\hhctrl.ocx", "system32\\hhctrl.ocx", "C:", "\\\\\\hhctrl.ocx", "1:\\hhctrl.ocx"}) {
        EXPECT_FALSE(isFullyQualifiedPath(path)) << path;
    }
}

TEST(HelpLibraryPath, RegisteredPathFirstThenSystemDirectory) {
    const auto candidates =
        helpLibraryCandidates(std::string("D:\\Help\\hhctrl.ocx"), "C:\\Windows\\system32");
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], "D:\\Help\\hhctrl.ocx");
    EXPECT_EQ(candidates[1], "C:\\Windows\\system32\\hhctrl.ocx");
}

TEST(HelpLibraryPath, BareOrRelativeRegistrationIsSkipped) {
    for (const char* registered : {"hhctrl.ocx", "subdir\\hhctrl.ocx", ""}) {
        const auto candidates =
            helpLibraryCandidates(std::string(registered), "C:\\Windows\\system32\\");
        ASSERT_EQ(candidates.size(), 1u) << registered;
        EXPECT_EQ(candidates[0], "C:\\Windows\\system32\\hhctrl.ocx");
    }
}

TEST(HelpLibraryPath, NoCandidateIsEverABareName) {
    // Without a registration and without a system directory there is nothing to load:
    // loading "hhctrl.ocx" by name would search the program's and the current directory.
    EXPECT_TRUE(helpLibraryCandidates(std::nullopt, "").empty());
    EXPECT_TRUE(helpLibraryCandidates(std::string("hhctrl.ocx"), "").empty());
    for (const auto& c : helpLibraryCandidates(std::string("x.ocx"), "C:\\W")) {
        EXPECT_TRUE(isFullyQualifiedPath(c)) << c;
    }
}

TEST(HelpLibraryPath, SameFileIsNotTriedTwice) {
    const auto candidates = helpLibraryCandidates(std::string("C:\\Windows\\system32\\hhctrl.ocx"),
                                                  "C:\\Windows\\system32");
    EXPECT_EQ(candidates.size(), 1u);
}

}  // namespace
}  // namespace kz
