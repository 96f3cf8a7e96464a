#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/common/records_store.h"
#include "app/gtk/records_file.h"
#include "tests/support/memory_records.h"
#include "tests/support/temp_dir.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

class RecordsFileTest : public test::TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        path_ = (temp.path() / "kestrane-zivadorured" / "records").string();
    }

    std::string readFile() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Records with one game won, in a table of their own.
    static Records oneWin(int32_t seconds) {
        Records records;
        records.gameStarted({3, 1});
        records.gameWon(seconds);
        return records;
    }

    std::string path_;
};

TEST_F(RecordsFileTest, AGameEndedIsOnTheDiskAtOnceAndComesBack) {
    RecordsFile file(path_);
    EXPECT_EQ(loadRecords(file), Records{});
    EXPECT_FALSE(fs::exists(path_));  // loading makes nothing

    ASSERT_TRUE(storeRecords(file, oneWin(42)));
    EXPECT_NE(readFile().find("table size=3 type=1 played=1 won=1 given-up=0 best-time=42"),
              std::string::npos);
    RecordsFile again(path_);
    EXPECT_EQ(loadRecords(again), oneWin(42));
    // Nothing is left beside the file by the replacement; the lock file stays for the next.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(path_).parent_path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"records", "records.lock"}));
}

TEST_F(RecordsFileTest, AFailedWriteLeavesTheOldFile) {
    RecordsFile file(path_);
    ASSERT_TRUE(storeRecords(file, oneWin(42)));
    const std::string before = readFile();

    // A file size limit stops every user, root too: the new text cannot be written out.
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit tiny = saved;
    tiny.rlim_cur = 16;
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool written = storeRecords(file, oneWin(7));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(), before);

    // A directory the program may not write to, where permissions count (not for root).
    if (geteuid() != 0) {
        const fs::path dir = fs::path(path_).parent_path();
        fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(storeRecords(file, oneWin(7)));
        fs::permissions(dir, fs::perms::owner_all);
        EXPECT_EQ(readFile(), before);
    }
    EXPECT_EQ(loadRecords(file), oneWin(42));
}

TEST_F(RecordsFileTest, ANewerReleasesFileIsUpdatedAndKeepsItsOwnLines) {
    const std::string later =
        "version=2\ntable size=3 type=1 played=9 won=9 given-up=0 best-time=5 hints=0 "
        "streak=9 best-streak=9\nmedal kind=gold\n";
    temp.write("kestrane-zivadorured/records", later);
    RecordsFile file(path_);
    Records records = loadRecords(file);
    EXPECT_EQ(records.table({3, 1}).won, 9);
    records.gameStarted({3, 1});
    records.gameWon(3);
    ASSERT_TRUE(storeRecords(file, records));
    EXPECT_EQ(loadRecords(file).table({3, 1}).won, 10);
    EXPECT_EQ(loadRecords(file).table({3, 1}).bestSeconds, 3);
    const std::string written = readFile();
    EXPECT_NE(written.find("version=2\n"), std::string::npos);
    EXPECT_NE(written.find("\nmedal kind=gold\n"), std::string::npos);
}

TEST_F(RecordsFileTest, AFileOfManyMegabytesKeepsItsRecordsAndTakesNewGames) {
    std::string text = writeRecordsText(oneWin(42));
    const std::string comment = "# " + std::string(1000, '-') + "\n";
    while (text.size() < 10'000'000) {
        text += comment;
    }
    temp.write("kestrane-zivadorured/records", text);
    RecordsFile file(path_);
    EXPECT_EQ(loadRecords(file), oneWin(42));
    Records more = oneWin(42);
    more.gameStarted({3, 1});
    more.gameWon(30);
    ASSERT_TRUE(storeRecords(file, more));
    EXPECT_EQ(loadRecords(file).table({3, 1}).won, 2);
    EXPECT_GT(readFile().size(), 10'000'000u) << "the comments are kept";
}

TEST_F(RecordsFileTest, TwoWindowsTakeTurnsAndEachAddsItsGames) {
    RecordsFile first(path_);
    RecordsFile second(path_);
    const auto win = [](RecordsFile& file, int32_t seconds) {
        return updateRecords(
                   file,
                   [seconds](RecordsText& text) {
                       text.records.count(
                           {{3, 1}, std::nullopt, 0, FinishedGame::Outcome::Won, seconds});
                   })
            .has_value();
    };
    ASSERT_TRUE(win(first, 40));
    ASSERT_TRUE(win(second, 30));
    ASSERT_TRUE(win(first, 50));
    EXPECT_EQ(loadRecords(first).table({3, 1}).won, 3);
    EXPECT_EQ(loadRecords(first).table({3, 1}).bestSeconds, 30);

    // While one window holds the lock, the other waits and then gives up, writing nothing.
    ASSERT_TRUE(first.lock());
    EXPECT_FALSE(second.lock());
    EXPECT_FALSE(win(second, 10));
    first.unlock();
    EXPECT_TRUE(win(second, 10));
    EXPECT_EQ(loadRecords(first).table({3, 1}).won, 4);
}

TEST_F(RecordsFileTest, APipeOrADirectoryInPlaceOfTheFileIsLeftAlone) {
    fs::create_directories(fs::path(path_).parent_path());
    ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
    RecordsFile pipe(path_);
    EXPECT_EQ(pipe.read().state, TextMedium::State::Unusable);  // returns, never waits
    EXPECT_FALSE(storeRecords(pipe, oneWin(1)));
    EXPECT_TRUE(fs::is_fifo(path_));

    fs::remove(path_);
    fs::create_directories(path_);
    EXPECT_EQ(loadRecords(pipe), Records{});
    EXPECT_FALSE(storeRecords(pipe, oneWin(1)));
    EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(RecordsFileTest, LivesInTheUserDataDirectory) {
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const std::optional<std::string> savedHome =
        home ? std::optional<std::string>(home) : std::nullopt;
    const std::optional<std::string> savedData =
        dataHome ? std::optional<std::string>(dataHome) : std::nullopt;
    setenv("HOME", "/tmp/kz-home", 1);
    setenv("XDG_DATA_HOME", "/tmp/kz-data-home", 1);
    EXPECT_EQ(RecordsFile::defaultPath(), "/tmp/kz-data-home/kestrane-zivadorured/records");
    for (const char* ignored : {"relative/data", ""}) {
        setenv("XDG_DATA_HOME", ignored, 1);
        EXPECT_EQ(RecordsFile::defaultPath(),
                  "/tmp/kz-home/.local/share/kestrane-zivadorured/records")
            << ignored;
    }
    for (const auto& [name, value] :
         {std::pair{"HOME", savedHome}, std::pair{"XDG_DATA_HOME", savedData}}) {
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
}

}  // namespace
}  // namespace kz
