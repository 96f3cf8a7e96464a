#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/win32/help_file_path.h"

namespace kz {
namespace {

const std::wstring kHelp = L"Kestrane Zivadorured Help.chm";

TEST(HelpFilePath, TheHelpFileLiesBesideTheProgram) {
    EXPECT_EQ(fileBesideProgram(L"C:\\Games\\Kestrane\\kestrane-zivadorured.exe", kHelp),
              L"C:\\Games\\Kestrane\\" + kHelp);
    EXPECT_EQ(fileBesideProgram(L"C:\\kz.exe", kHelp), L"C:\\" + kHelp);
    EXPECT_EQ(fileBesideProgram(L"\\\\server\\share\\kz.exe", kHelp),
              L"\\\\server\\share\\" + kHelp);
    EXPECT_EQ(fileBesideProgram(L"C:/Games/kz.exe", kHelp), L"C:/Games/" + kHelp);
    EXPECT_EQ(fileBesideProgram(L"C:\\\u0418\u0433\u0440\u044b \u03a9\\kz.exe", kHelp),
              L"C:\\\u0418\u0433\u0440\u044b \u03a9\\" + kHelp);
    EXPECT_EQ(fileBesideProgram(L"kz.exe", kHelp), kHelp);
}

// A code page that spells only ASCII, like one without Cyrillic and Greek letters.
std::optional<std::string> asciiOnly(const std::wstring& name) {
    std::string out;
    for (wchar_t c : name) {
        if (c >= 0x80) {
            return std::nullopt;
        }
        out += static_cast<char>(c);
    }
    return out;
}

struct ShortNames {
    std::optional<std::wstring> answer;
    std::vector<std::wstring> asked;
    std::optional<std::wstring> operator()(const std::wstring& name) {
        asked.push_back(name);
        return answer;
    }
};

TEST(HelpFilePath, AnAnsiNameGoesToTheAnsiViewerUnchanged) {
    ShortNames shortNames{std::wstring(L"C:\\GAMES~1\\KESTRA~1.CHM"), {}};
    const auto argument =
        chooseHelpFileArgument(L"C:\\Games\\" + kHelp, asciiOnly, std::ref(shortNames));
    ASSERT_TRUE(argument.ansi.has_value());
    EXPECT_EQ(*argument.ansi, "C:\\Games\\Kestrane Zivadorured Help.chm");
    EXPECT_TRUE(shortNames.asked.empty()) << "the short form is only asked for when needed";
}

TEST(HelpFilePath, AFolderInAnotherScriptIsNamedByItsShortForm) {
    const std::wstring full = L"C:\\\u0418\u0433\u0440\u044b \u03a9\\" + kHelp;
    ShortNames shortNames{std::wstring(L"C:\\3B9A~1\\KESTRA~1.CHM"), {}};
    const auto argument = chooseHelpFileArgument(full, asciiOnly, std::ref(shortNames));
    ASSERT_TRUE(argument.ansi.has_value());
    EXPECT_EQ(*argument.ansi, "C:\\3B9A~1\\KESTRA~1.CHM");
    EXPECT_EQ(shortNames.asked, std::vector<std::wstring>{full});
}

TEST(HelpFilePath, WithoutAnAnsiShortFormTheWideViewerGetsTheFullName) {
    const std::wstring full = L"D:\\\u0418\u0433\u0440\u044b \u03a9\\" + kHelp;
    // A volume without short names gives the name itself back.
    ShortNames sameName{full, {}};
    auto argument = chooseHelpFileArgument(full, asciiOnly, std::ref(sameName));
    EXPECT_FALSE(argument.ansi.has_value());
    EXPECT_EQ(argument.wide, full);
    // No short form at all.
    ShortNames none{std::nullopt, {}};
    argument = chooseHelpFileArgument(full, asciiOnly, std::ref(none));
    EXPECT_FALSE(argument.ansi.has_value());
    EXPECT_EQ(argument.wide, full);
}

}  // namespace
}  // namespace kz
