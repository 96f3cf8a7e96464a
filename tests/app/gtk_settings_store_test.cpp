#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/gtk/settings_store.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/kz-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        path_ = (dir_ / "kestrane-zivadorured" / "settings.ini").string();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir_, ignored);
    }

    void writeFile(const std::string& text) {
        fs::create_directories(fs::path(path_).parent_path());
        std::ofstream(path_, std::ios::binary) << text;
    }
    std::string readFile() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    GameSettings loadFrom(const std::string& text) {
        writeFile(text);
        return SettingsStore(path_).load();
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(SettingsStoreTest, FirstRunCreatesTheFileWithDefaults) {
    SettingsStore store(path_);
    GameSettings settings = store.load();
    EXPECT_EQ(settings.fieldSize, 0);
    EXPECT_EQ(settings.actionType, 0);

    ASSERT_TRUE(fs::exists(path_));
    std::string text = readFile();
    EXPECT_NE(text.find("[Settings]"), std::string::npos);
    EXPECT_NE(text.find("dimensionsRange=0"), std::string::npos);
    EXPECT_NE(text.find("actionType=0"), std::string::npos);
}

TEST_F(SettingsStoreTest, SavedValuesComeBackOnTheNextLoad) {
    SettingsStore store(path_);
    ASSERT_TRUE(store.save({4, 3}));
    GameSettings settings = SettingsStore(path_).load();
    EXPECT_EQ(settings.fieldSize, 4);
    EXPECT_EQ(settings.actionType, 3);

    ASSERT_TRUE(store.save({0, 5}));
    settings = store.load();
    EXPECT_EQ(settings.fieldSize, 0);
    EXPECT_EQ(settings.actionType, 5);
}

TEST_F(SettingsStoreTest, EveryValueTheMenusNameIsKept) {
    for (int fieldSize : {0, 2, 3, 4, 5}) {
        for (int actionType = 0; actionType <= 5; ++actionType) {
            GameSettings s = loadFrom("[Settings]\ndimensionsRange=" + std::to_string(fieldSize) +
                                      "\nactionType=" + std::to_string(actionType) + "\n");
            EXPECT_EQ(s.fieldSize, fieldSize);
            EXPECT_EQ(s.actionType, actionType);
        }
    }
}

TEST_F(SettingsStoreTest, OutOfRangeValuesGiveTheDefaults) {
    const char* cases[][2] = {
        {"1", "6"},
        {"6", "-1"},
        {"-2", "7"},
        {"7", "100"},
        {"4294967300", "4294967299"},
        {"99999999999999999999", "-99999999999999999999"},
    };
    for (auto& c : cases) {
        GameSettings s = loadFrom(std::string("[Settings]\ndimensionsRange=") + c[0] +
                                  "\nactionType=" + c[1] + "\n");
        EXPECT_EQ(s.fieldSize, 0) << c[0];
        EXPECT_EQ(s.actionType, 0) << c[1];
    }
}

TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeGiveTheDefaults) {
    const char* cases[] = {"abc", "4.0", "3x", "", "true", "0x4", "4;5", "four"};
    for (const char* value : cases) {
        GameSettings s = loadFrom(std::string("[Settings]\ndimensionsRange=") + value +
                                  "\nactionType=" + value + "\n");
        EXPECT_EQ(s.fieldSize, 0) << value;
        EXPECT_EQ(s.actionType, 0) << value;
    }
}

TEST_F(SettingsStoreTest, OneBadValueDoesNotSpoilTheOther) {
    GameSettings s = loadFrom("[Settings]\ndimensionsRange=9\nactionType=4\n");
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 4);
    s = loadFrom("[Settings]\ndimensionsRange=3\nactionType=bad\n");
    EXPECT_EQ(s.fieldSize, 3);
    EXPECT_EQ(s.actionType, 0);
}

TEST_F(SettingsStoreTest, GarbageGivesTheDefaultsAndIsReplacedOnlyBySave) {
    const std::string garbage("\x89PNG\r\n\x1a\n\0\0 not a key file = [ ]\n", 32);
    GameSettings s = loadFrom(garbage);
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
    EXPECT_EQ(readFile(), garbage);

    ASSERT_TRUE(SettingsStore(path_).save({5, 2}));
    s = SettingsStore(path_).load();
    EXPECT_EQ(s.fieldSize, 5);
    EXPECT_EQ(s.actionType, 2);
}

TEST_F(SettingsStoreTest, ValuesOutsideTheGroupAreNotSettings) {
    GameSettings s = loadFrom("dimensionsRange=4\n[Other]\nactionType=3\n");
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
}

TEST_F(SettingsStoreTest, AMissingValueIsAddedAndTheRestOfTheFileKept) {
    GameSettings s =
        loadFrom("# chosen by hand\n[Settings]\ndimensionsRange=5\n[Extra]\nkeep=yes\n");
    EXPECT_EQ(s.fieldSize, 5);
    EXPECT_EQ(s.actionType, 0);
    std::string text = readFile();
    EXPECT_NE(text.find("# chosen by hand"), std::string::npos);
    EXPECT_NE(text.find("dimensionsRange=5"), std::string::npos);
    EXPECT_NE(text.find("actionType=0"), std::string::npos);
    EXPECT_NE(text.find("keep=yes"), std::string::npos);
}

TEST_F(SettingsStoreTest, SaveKeepsOtherGroups) {
    writeFile("[Settings]\ndimensionsRange=2\nactionType=1\n[Extra]\nkeep=yes\n");
    ASSERT_TRUE(SettingsStore(path_).save({3, 4}));
    std::string text = readFile();
    EXPECT_NE(text.find("dimensionsRange=3"), std::string::npos);
    EXPECT_NE(text.find("actionType=4"), std::string::npos);
    EXPECT_NE(text.find("keep=yes"), std::string::npos);
}

// A place the settings cannot be written to. Permission bits do not stop root, so as root
// the settings directory is put below a regular file instead.
std::string unwritablePath(const fs::path& base) {
    if (geteuid() != 0) {
        fs::path dir = base / "locked";
        fs::create_directories(dir);
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        return (dir / "kestrane-zivadorured" / "settings.ini").string();
    }
    fs::path file = base / "not-a-directory";
    std::ofstream(file) << "x";
    return (file / "kestrane-zivadorured" / "settings.ini").string();
}

TEST_F(SettingsStoreTest, AnUnwritableDirectoryIsSilentAndGivesTheDefaults) {
    std::string path = unwritablePath(dir_);
    SettingsStore store(path);
    GameSettings s = store.load();
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
    EXPECT_FALSE(store.save({4, 4}));
    EXPECT_FALSE(fs::exists(path));
    s = store.load();
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
}

TEST_F(SettingsStoreTest, ADirectoryInPlaceOfTheFileGivesTheDefaults) {
    fs::create_directories(path_);
    SettingsStore store(path_);
    GameSettings s = store.load();
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
    EXPECT_FALSE(store.save({2, 2}));
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST(SettingsStorePath, LivesInTheUserConfigDirectory) {
    // GLib reads the variable once, on first use; nothing before this asks for it.
    setenv("XDG_CONFIG_HOME", "/tmp/kz-config-home", 1);
    EXPECT_EQ(SettingsStore::defaultPath(),
              "/tmp/kz-config-home/kestrane-zivadorured/settings.ini");
}

}  // namespace
}  // namespace kz
