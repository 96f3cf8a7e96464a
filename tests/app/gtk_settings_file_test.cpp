#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/gtk/settings_file.h"
#include "tests/support/temp_dir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public test::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        dir_ = temp.path();
        path_ = (dir_ / "kestrane-zivadorured" / "settings.ini").string();
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
        return SettingsFile(path_).load();
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(SettingsFileTest, FirstRunCreatesTheFileWithDefaults) {
    SettingsFile store(path_);
    GameSettings settings = store.load();
    EXPECT_EQ(settings.fieldSize, 0);
    EXPECT_EQ(settings.actionType, 0);

    ASSERT_TRUE(fs::exists(path_));
    std::string text = readFile();
    EXPECT_NE(text.find("[Settings]"), std::string::npos);
    EXPECT_NE(text.find("dimensionsRange=0"), std::string::npos);
    EXPECT_NE(text.find("actionType=0"), std::string::npos);
}

TEST_F(SettingsFileTest, SavedValuesComeBackOnTheNextLoad) {
    SettingsFile store(path_);
    ASSERT_TRUE(store.save({4, 3}));
    GameSettings settings = SettingsFile(path_).load();
    EXPECT_EQ(settings.fieldSize, 4);
    EXPECT_EQ(settings.actionType, 3);

    ASSERT_TRUE(store.save({0, 5}));
    settings = store.load();
    EXPECT_EQ(settings.fieldSize, 0);
    EXPECT_EQ(settings.actionType, 5);
}

TEST_F(SettingsFileTest, EveryValueTheMenusNameIsKept) {
    for (int fieldSize : {0, 2, 3, 4, 5}) {
        for (int actionType = 0; actionType <= 5; ++actionType) {
            GameSettings s = loadFrom("[Settings]\ndimensionsRange=" + std::to_string(fieldSize) +
                                      "\nactionType=" + std::to_string(actionType) + "\n");
            EXPECT_EQ(s.fieldSize, fieldSize);
            EXPECT_EQ(s.actionType, actionType);
        }
    }
}

TEST_F(SettingsFileTest, OutOfRangeValuesGiveTheDefaults) {
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

TEST_F(SettingsFileTest, ValuesOfTheWrongTypeGiveTheDefaults) {
    const char* cases[] = {"abc", "4.0", "3x", "", "true", "0x4", "4;5", "four"};
    for (const char* value : cases) {
        GameSettings s = loadFrom(std::string("[Settings]\ndimensionsRange=") + value +
                                  "\nactionType=" + value + "\n");
        EXPECT_EQ(s.fieldSize, 0) << value;
        EXPECT_EQ(s.actionType, 0) << value;
    }
}

TEST_F(SettingsFileTest, OneBadValueDoesNotSpoilTheOther) {
    GameSettings s = loadFrom("[Settings]\ndimensionsRange=9\nactionType=4\n");
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 4);
    s = loadFrom("[Settings]\ndimensionsRange=3\nactionType=bad\n");
    EXPECT_EQ(s.fieldSize, 3);
    EXPECT_EQ(s.actionType, 0);
}

TEST_F(SettingsFileTest, GarbageGivesTheDefaultsAndIsReplacedOnlyBySave) {
    const std::string garbage("\x89PNG\r\n\x1a\n\0\0 not a key file = [ ]\n", 32);
    GameSettings s = loadFrom(garbage);
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
    EXPECT_EQ(readFile(), garbage);

    ASSERT_TRUE(SettingsFile(path_).save({5, 2}));
    s = SettingsFile(path_).load();
    EXPECT_EQ(s.fieldSize, 5);
    EXPECT_EQ(s.actionType, 2);
}

TEST_F(SettingsFileTest, ValuesOfOtherGroupsAreNotSettings) {
    GameSettings s = loadFrom("[Other]\ndimensionsRange=4\n[Settings.x]\nactionType=3\n");
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
}

// What a hand edit or another program may leave behind: each case keeps its valid values.
TEST_F(SettingsFileTest, ADamagedLineSpoilsOnlyItself) {
    struct Case {
        const char* what;
        std::string text;
        int fieldSize;
        int actionType;
    };
    const Case cases[] = {
        {"a stray line", "[Settings]\nthis line is no setting\ndimensionsRange=4\nactionType=3\n",
         4, 3},
        {"a byte order mark", "\xEF\xBB\xBF[Settings]\ndimensionsRange=4\nactionType=3\n", 4, 3},
        {"no group header", "dimensionsRange=4\nactionType=3\n", 4, 3},
        {"a header lost below a comment", "# mine\ndimensionsRange=5\nactionType=2", 5, 2},
        {"trailing spaces", "[Settings] \ndimensionsRange=4 \nactionType=3\t \n", 4, 3},
        {"spaces around the sign", "[Settings]\n  dimensionsRange = 4\nactionType =3\n", 4, 3},
        {"Windows line ends", "[Settings]\r\ndimensionsRange=4\r\nactionType=3\r\n", 4, 3},
        {"a broken header", "[Settings\n[Settings]\ndimensionsRange=2\nactionType=1\n", 2, 1},
        {"a key without a name", "[Settings]\n=5\ndimensionsRange=2\nactionType=5\n", 2, 5},
        {"one value of the wrong type", "[Settings]\ndimensionsRange=4x\nactionType=3\n", 0, 3},
        {"one value out of range", "[Settings]\ndimensionsRange=3\nactionType=6\n", 3, 0},
        {"a value given twice", "[Settings]\ndimensionsRange=2\ndimensionsRange=5\nactionType=1\n",
         5, 1},
        {"the group over keys before it",
         "dimensionsRange=2\nactionType=2\n[Settings]\ndimensionsRange=4\n", 4, 2},
        {"the group given twice",
         "[Settings]\ndimensionsRange=3\n[Other]\nactionType=1\n"
         "[Settings]\nactionType=4\n",
         3, 4},
    };
    for (const Case& c : cases) {
        GameSettings s = loadFrom(c.text);
        EXPECT_EQ(s.fieldSize, c.fieldSize) << c.what;
        EXPECT_EQ(s.actionType, c.actionType) << c.what;
        // Saved again, the same file gives the same values.
        ASSERT_TRUE(SettingsFile(path_).save(s)) << c.what;
        GameSettings again = SettingsFile(path_).load();
        EXPECT_EQ(again.fieldSize, c.fieldSize) << c.what;
        EXPECT_EQ(again.actionType, c.actionType) << c.what;
    }
}

TEST_F(SettingsFileTest, ASaveChangesOnlyTheSettingLines) {
    writeFile(
        "# chosen by hand\n[Settings]\n; the field\ndimensionsRange = 2 \nnot a setting\n"
        "actionType=1\nother=kept\n\n[Extra]\nkeep=yes\n");
    ASSERT_TRUE(SettingsFile(path_).save({3, 4}));
    EXPECT_EQ(readFile(),
              "# chosen by hand\n[Settings]\n; the field\ndimensionsRange=3\nnot a setting\n"
              "actionType=4\nother=kept\ndifficulty=0\n\n[Extra]\nkeep=yes\n");

    writeFile("\xEF\xBB\xBF# mine\r\ndimensionsRange=4\r\nstray\r\n");
    ASSERT_TRUE(SettingsFile(path_).save({5, 1}));
    EXPECT_EQ(readFile(),
              "# mine\r\n[Settings]\r\ndimensionsRange=5\r\nactionType=1\r\n"
              "difficulty=0\r\nstray\r\n");

    // A second mark must not survive into the first line, or every save would change it.
    writeFile("\xEF\xBB\xBF\xEF\xBB\xBF# twice\ndimensionsRange=3\nactionType=4\n");
    ASSERT_TRUE(SettingsFile(path_).save({3, 4}));
    EXPECT_EQ(readFile(), "# twice\n[Settings]\ndimensionsRange=3\nactionType=4\ndifficulty=0\n");

    writeFile("[Extra]\nkeep=yes");
    ASSERT_TRUE(SettingsFile(path_).save({2, 3}));
    EXPECT_EQ(readFile(),
              "[Extra]\nkeep=yes\n\n[Settings]\ndimensionsRange=2\nactionType=3\ndifficulty=0\n");
}

TEST_F(SettingsFileTest, AMissingValueIsAddedAndTheRestOfTheFileKept) {
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

TEST_F(SettingsFileTest, SaveKeepsOtherGroups) {
    writeFile("[Settings]\ndimensionsRange=2\nactionType=1\n[Extra]\nkeep=yes\n");
    ASSERT_TRUE(SettingsFile(path_).save({3, 4}));
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

TEST_F(SettingsFileTest, AnUnwritableDirectoryIsSilentAndGivesTheDefaults) {
    std::string path = unwritablePath(dir_);
    SettingsFile store(path);
    GameSettings s = store.load();
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
    EXPECT_FALSE(store.save({4, 4}));
    EXPECT_FALSE(fs::exists(path));
    s = store.load();
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
}

TEST_F(SettingsFileTest, ADirectoryInPlaceOfTheFileGivesTheDefaults) {
    fs::create_directories(path_);
    SettingsFile store(path_);
    GameSettings s = store.load();
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
    EXPECT_FALSE(store.save({2, 2}));
    EXPECT_TRUE(fs::is_directory(path_));
}

// Not a regular file: a pipe would block an open() for reading until someone writes to it.
TEST_F(SettingsFileTest, APipeInPlaceOfTheFileGivesTheDefaultsAtOnceAndIsLeftAlone) {
    fs::create_directories(fs::path(path_).parent_path());
    ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
    SettingsFile store(path_);
    std::future<GameSettings> loaded = std::async(std::launch::async, [&] { return store.load(); });
    if (loaded.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        // Lets the blocked reader go, so the test ends.
        int writer = open(path_.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            close(writer);
        }
        FAIL() << "reading the settings waited on the pipe";
    }
    GameSettings s = loaded.get();
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_EQ(s.actionType, 0);
    EXPECT_FALSE(store.save({4, 4}));
    EXPECT_TRUE(fs::is_fifo(path_));
}

TEST_F(SettingsFileTest, ALinkIsWrittenThroughAndStaysALink) {
    fs::path real = dir_ / "dotfiles" / "kz.ini";
    fs::create_directories(real.parent_path());
    fs::create_directories(fs::path(path_).parent_path());
    std::ofstream(real) << "# mine\n[Settings]\ndimensionsRange=3\nactionType=2\n";
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    // A relative link, as dotfile managers make them.
    fs::create_symlink(fs::path("..") / "dotfiles" / "kz.ini", path_);

    SettingsFile store(path_);
    GameSettings s = store.load();
    EXPECT_EQ(s.fieldSize, 3);
    EXPECT_EQ(s.actionType, 2);
    ASSERT_TRUE(store.save({5, 4}));
    EXPECT_TRUE(fs::is_symlink(path_));
    std::ifstream in(real);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "# mine\n[Settings]\ndimensionsRange=5\nactionType=4\ndifficulty=0\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // No temporary file is left beside the link or the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(real.parent_path()), {}), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path_).parent_path()), {}), 1);
}

TEST_F(SettingsFileTest, ALinkToNothingYetMakesItsTarget) {
    fs::path real = dir_ / "elsewhere" / "settings.ini";
    fs::create_directories(fs::path(path_).parent_path());
    fs::create_symlink(real, path_);
    SettingsFile store(path_);
    store.load();
    EXPECT_TRUE(fs::is_symlink(path_));
    ASSERT_TRUE(fs::is_regular_file(real));
    ASSERT_TRUE(store.save({2, 5}));
    GameSettings s = store.load();
    EXPECT_EQ(s.fieldSize, 2);
    EXPECT_EQ(s.actionType, 5);
}

TEST_F(SettingsFileTest, ALinkLoopIsNeitherReadNorWritten) {
    fs::create_directories(fs::path(path_).parent_path());
    fs::path other = fs::path(path_).parent_path() / "other.ini";
    fs::create_symlink(other, path_);
    fs::create_symlink(path_, other);
    SettingsFile store(path_);
    GameSettings s = store.load();
    EXPECT_EQ(s.fieldSize, 0);
    EXPECT_FALSE(store.save({3, 3}));
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_TRUE(fs::is_symlink(other));
}

TEST_F(SettingsFileTest, TheGameAreasSizeIsKeptBesideTheSettingsAndADamagedOneIsNone) {
    SettingsFile file(path_);
    EXPECT_EQ(file.loadAreaSize(), std::nullopt) << "no file";
    ASSERT_TRUE(file.save(GameSettings{3, 4}));
    EXPECT_EQ(file.loadAreaSize(), std::nullopt) << "none kept yet";
    ASSERT_TRUE(file.saveAreaSize({1380, 1025}));
    EXPECT_EQ(file.loadAreaSize(), (AreaSize{1380, 1025}));
    ASSERT_TRUE(file.save(GameSettings{2, 1}));
    EXPECT_EQ(file.loadAreaSize(), (AreaSize{1380, 1025})) << "a save of the settings keeps it";
    EXPECT_EQ(file.load(), (GameSettings{2, 1})) << "and it keeps the settings";

    for (const char* damaged :
         {"gameAreaWidth=wide\ngameAreaHeight=500\n", "gameAreaWidth=0\ngameAreaHeight=500\n",
          "gameAreaWidth=690\ngameAreaHeight=99999\n", "gameAreaWidth=690\n"}) {
        writeFile(std::string("[Settings]\ndimensionsRange=3\n") + damaged);
        EXPECT_EQ(file.loadAreaSize(), std::nullopt) << damaged;
        EXPECT_EQ(file.load().fieldSize, 3) << damaged;
    }
}

class SettingsFilePath : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        setenv("HOME", "/tmp/kz-home", 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(SettingsFilePath, LivesInTheUserConfigDirectory) {
    setenv("XDG_CONFIG_HOME", "/tmp/kz-config-home", 1);
    EXPECT_EQ(SettingsFile::defaultPath(), "/tmp/kz-config-home/kestrane-zivadorured/settings.ini");
}

TEST_F(SettingsFilePath, ARelativeOrEmptyConfigHomeIsIgnored) {
    for (const char* value : {"relative/config", ".", "", "~/.config"}) {
        setenv("XDG_CONFIG_HOME", value, 1);
        EXPECT_EQ(SettingsFile::defaultPath(),
                  "/tmp/kz-home/.config/kestrane-zivadorured/settings.ini")
            << value;
    }
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsFile::defaultPath(),
              "/tmp/kz-home/.config/kestrane-zivadorured/settings.ini");
}

}  // namespace
}  // namespace kz
