#include "app/common/settings_store.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace kz {
namespace {

// Settings kept as texts in a map, counting its writes.
class MapMedium : public SettingsMedium {
  public:
    std::optional<std::string> read(const char* name) override {
        const auto found = texts.find(name);
        return found == texts.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    bool write(const Values& values) override {
        ++writes;
        if (!writable) {
            return false;
        }
        for (const auto& [name, value] : values) {
            texts[name] = std::to_string(value);
        }
        return true;
    }

    std::map<std::string, std::string> texts;
    int writes = 0;
    bool writable = true;
};

TEST(SettingsStore, ParsesOnlyPlainDecimalNumbers) {
    EXPECT_EQ(parseSettingNumber("0"), 0);
    EXPECT_EQ(parseSettingNumber("5"), 5);
    EXPECT_EQ(parseSettingNumber("-1"), -1);
    EXPECT_EQ(parseSettingNumber("007"), 7);
    EXPECT_EQ(parseSettingNumber("-9223372036854775808"), INT64_MIN);
    for (const char* damaged : {"", "-", " 2", "2 ", "3.0", "0x3", "+3", "banana", "4e0",
                                "99999999999999999999", "--1", "-+1"}) {
        EXPECT_EQ(parseSettingNumber(damaged), std::nullopt) << '"' << damaged << '"';
    }
}

TEST(SettingsStore, AMissingValueIsWrittenWithItsDefaultAndADamagedOneIsKeptAsItIs) {
    MapMedium nothing;
    EXPECT_EQ(loadSettings(nothing), (GameSettings{kDefaultFieldSize, kDefaultActionType}));
    EXPECT_EQ(nothing.texts[kFieldSizeSettingName], "0");
    EXPECT_EQ(nothing.texts[kActionTypeSettingName], "0");
    EXPECT_EQ(nothing.texts[kDifficultySettingName], "0");

    // A value this release does not name (a later one might) and a damaged one: both give
    // the default now and stay stored, and the good one beside them is taken.
    for (const char* kept : {"9", "banana"}) {
        MapMedium medium;
        medium.texts[kFieldSizeSettingName] = kept;
        medium.texts[kActionTypeSettingName] = "3";
        medium.texts[kDifficultySettingName] = "2";
        EXPECT_EQ(loadSettings(medium), (GameSettings{kDefaultFieldSize, 3, 2})) << kept;
        EXPECT_EQ(medium.writes, 0) << kept;
        EXPECT_EQ(medium.texts[kFieldSizeSettingName], kept);
    }

    // Only the missing one is added.
    MapMedium half;
    half.texts[kFieldSizeSettingName] = "x";
    EXPECT_EQ(loadSettings(half), (GameSettings{kDefaultFieldSize, kDefaultActionType}));
    EXPECT_EQ(half.texts[kFieldSizeSettingName], "x");
    EXPECT_EQ(half.texts[kActionTypeSettingName], "0");
    EXPECT_EQ(half.texts[kDifficultySettingName], "0");
    EXPECT_EQ(half.writes, 1);

    // A difficulty past Hard, perhaps of a later release, plays as designed and stays.
    MapMedium later;
    later.texts[kDifficultySettingName] = "4";
    EXPECT_EQ(loadSettings(later).difficulty, kDefaultDifficulty);
    EXPECT_EQ(later.texts[kDifficultySettingName], "4");
    later.texts[kDifficultySettingName] = "3";
    EXPECT_EQ(loadSettings(later).difficulty, 3);
}

TEST(SettingsStore, ASaveReplacesBothValuesAndAFailedWriteIsNoFailureOfTheLoad) {
    MapMedium medium;
    medium.texts[kFieldSizeSettingName] = "banana";
    EXPECT_TRUE(saveSettings(medium, GameSettings{4, 5, 1}));
    EXPECT_EQ(loadSettings(medium), (GameSettings{4, 5, 1}));

    MapMedium readOnly;
    readOnly.writable = false;
    EXPECT_EQ(loadSettings(readOnly), (GameSettings{kDefaultFieldSize, kDefaultActionType}));
    EXPECT_FALSE(saveSettings(readOnly, GameSettings{4, 5}));
}

}  // namespace
}  // namespace kz
