#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/common/records_store.h"
#include "app/web/stored_records.h"

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

    std::map<std::string, std::string> texts;
    bool closed = false;
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
    ASSERT_TRUE(saveRecords(stored, oneGiveUp()));
    EXPECT_EQ(storage.texts.at("records"),
              "# Kestrane Zivadorured records\nversion=1\ntable size=2 type=5 played=1 won=0 "
              "given-up=1 hints=0 streak=0 best-streak=0\n");
    EXPECT_EQ(loadRecords(stored), oneGiveUp());
}

TEST(WebStoredRecords, ClosedStorageAndTextsTooLongAreLeftAlone) {
    MemoryStorage storage;
    StoredRecords stored(storage);
    storage.closed = true;
    EXPECT_EQ(loadRecords(stored), Records{});
    EXPECT_FALSE(saveRecords(stored, oneGiveUp()));

    storage.closed = false;
    const std::string huge(2 << 20, '#');
    storage.texts["records"] = huge;
    EXPECT_EQ(loadRecords(stored), Records{});
    EXPECT_FALSE(saveRecords(stored, oneGiveUp()));
    EXPECT_EQ(storage.texts.at("records"), huge);
}

}  // namespace
}  // namespace kz
