#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/common/records_store.h"
#include "app/web/stored_records.h"
#include "tests/support/memory_records.h"

namespace kz {
namespace {

// The page's storage in memory; closed storage keeps and takes nothing.
class MemoryStorage : public TextStorage {
  public:
    std::optional<std::string> loadText(const char* name) override {
        const auto found = texts.find(name);
        if (closed || found == texts.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    bool saveText(const char* name, const std::string& text) override {
        if (closed) {
            return false;
        }
        texts[name] = text;
        return true;
    }
    bool claimGame() override { return claims; }

    std::map<std::string, std::string> texts;
    bool closed = false;
    bool claims = true;
};

Records oneGiveUp() {
    Records records;
    records.gameStarted({2, 5});
    records.gameGivenUp();
    return records;
}

TEST(WebStoredRecords, TheSameTextAsTheFileUnderItsOwnName) {
    MemoryStorage storage;
    StoredRecords stored(storage);
    EXPECT_EQ(loadRecords(stored), Records{});
    ASSERT_TRUE(storeRecords(stored, oneGiveUp()));
    const std::string& text = storage.texts.at("records");
    EXPECT_EQ(text.substr(0, 44), "# Kestrane Zivadorured records\nversion=1\nid=");
    EXPECT_NE(text.find("\ntable size=2 type=5 played=1 won=0 given-up=1 hints=0 streak=0 "
                        "best-streak=0\n"),
              std::string::npos);
    EXPECT_EQ(loadRecords(stored), oneGiveUp());
}

TEST(WebStoredGame, OnlyATabThatClaimsTheGameReadsIt) {
    MemoryStorage storage;
    StoredGame stored(storage);
    EXPECT_EQ(stored.read().state, TextMedium::State::Missing);
    ASSERT_TRUE(stored.write("a game\n"));
    EXPECT_EQ(storage.texts.at("game"), "a game\n");
    EXPECT_EQ(stored.read().text, "a game\n");
    ASSERT_TRUE(stored.write(""));
    EXPECT_EQ(stored.read().state, TextMedium::State::Missing) << "an empty text is no game";
    storage.texts["game"] = "another tab's\n";
    storage.claims = false;
    EXPECT_EQ(stored.read().state, TextMedium::State::Unusable) << "another tab holds it";
}

TEST(WebStoredRecords, ClosedStorageIsLeftAloneAndALongTextIsRead) {
    MemoryStorage storage;
    StoredRecords stored(storage);
    storage.closed = true;
    EXPECT_EQ(loadRecords(stored), Records{});
    EXPECT_FALSE(storeRecords(stored, oneGiveUp()));

    // Records with more than a megabyte of other lines after them are still records.
    storage.closed = false;
    const std::string huge = writeRecordsText(oneGiveUp()) + std::string(2 << 20, '#') + "\n";
    storage.texts["records"] = huge;
    EXPECT_EQ(loadRecords(stored), oneGiveUp());
    Records more = oneGiveUp();
    more.gameStarted({2, 5});
    more.gameGivenUp();
    EXPECT_TRUE(storeRecords(stored, more));
    EXPECT_EQ(loadRecords(stored).table({2, 5}).played, 2);
    EXPECT_GT(storage.texts.at("records").size(), size_t{2} << 20);
}

}  // namespace
}  // namespace kz
