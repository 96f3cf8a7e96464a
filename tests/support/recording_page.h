#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/web/page.h"

namespace kz {

// The page as the program sees it: a canvas that keeps what it is given, the intervals, the
// storage, and a log of everything else. What a page would not take (a pixel presented that
// is not opaque, an interval stopped that does not run) is counted in faults.
struct Interval {
    uint32_t timerId;
    uint32_t periodMs;
};
class RecordingPage : public Page {
  public:
    void present(const uint8_t* frame, int32_t width, int32_t height, const Rect& area) override {
        canvas.resize(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        canvasWidth = width;
        for (int32_t y = area.top; y < area.bottom; ++y) {
            for (int32_t x = area.left; x < area.right; ++x) {
                const uint8_t* p = frame + (static_cast<size_t>(y) * width + x) * 4;
                if (p[3] != 0xFF) {
                    ++faults;
                }
                canvas[static_cast<size_t>(y) * width + x] =
                    (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | uint32_t{p[2]};
            }
        }
        presented.push_back(area);
    }
    void layoutAreas(const std::vector<Rect>& given) override { areas.push_back(given); }
    uint32_t startInterval(uint32_t timerId, uint32_t periodMs) override {
        intervals[++lastInterval] = Interval{timerId, periodMs};
        return lastInterval;
    }
    void stopInterval(uint32_t handle) override {
        if (intervals.erase(handle) != 1) {
            ++faults;
        }
    }
    void beep() override { ++beeps; }
    void markRadio(uint16_t commandId) override { marks.push_back(commandId); }
    void openHelp(HelpTopic topic) override { help.push_back(topic); }
    void showAbout() override { ++abouts; }
    int32_t loadSetting(const char* name, char* text, size_t size) override {
        // As the page does: the text cut to fit with its zero, and the full length returned.
        const auto found = storage.find(name);
        if (found == storage.end()) {
            return -1;
        }
        const std::string& value = found->second;
        if (size > 0) {
            const size_t copied = value.copy(text, size - 1);
            text[copied] = '\0';
        }
        return static_cast<int32_t>(value.size());
    }
    void saveSetting(const char* name, int32_t value) override {
        storage[name] = std::to_string(value);
        ++saves;
    }
    void showFatal(FatalError error) override { fatal.push_back(error); }
    void ended(int exitCode) override { endings.push_back(exitCode); }
    std::optional<std::string> loadText(const char* name) override {
        const auto found = texts.find(name);
        return found == texts.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    bool saveText(const char* name, const std::string& text) override {
        if (name == refusedName) {
            return false;
        }
        texts[name] = text;
        return true;
    }
    void announce(const std::string& text) override { announced.push_back(text); }
    void describe(const std::string& text) override { description = text; }
    void enableCommand(uint16_t commandId, bool enabled) override { enabled_[commandId] = enabled; }
    void copyText(const std::string& text, const std::string& copied) override {
        clipboard.push_back(text);
        told.push_back(copied);
    }
    void askPuzzleCode() override { ++codeAsks; }
    void askDay(const std::string& first, const std::string& today) override {
        dayAsks.push_back({first, today});
    }
    std::string address() override { return pageAddress; }
    void showStatistics(const std::string& text) override { statistics.push_back(text); }
    void share(const std::string& code) override { shared.push_back(code); }
    void puzzleChanged(const std::string& code) override { codes.push_back(code); }
    void puzzleDated(const std::string& day) override { days.push_back(day); }
    void puzzleGraded(const std::string& grade) override { grades.push_back(grade); }
    void notify(const std::string& text) override { notices.push_back(text); }
    void statisticsChanged(const std::string& text) override { statistics.push_back(text); }
    bool claimGame() override {
        ++gameClaims;
        return claimsGame;
    }
    void recordsUnsaved(bool unsaved) override { unsavedNotices.push_back(unsaved); }
    void exportRecords(const std::string& text) override { exported.push_back(text); }
    void askRecordsFile() override { ++fileAsks; }
    std::optional<std::string> chosenRecordsFile() override { return chosenFile; }
    int64_t unixTime() override { return now; }

    bool timerRuns(uint32_t timerId) const {
        for (const auto& entry : intervals) {
            if (entry.second.timerId == timerId) {
                return true;
            }
        }
        return false;
    }

    uint32_t canvasPixel(int32_t x, int32_t y) const {
        return canvas[static_cast<size_t>(y) * canvasWidth + x];
    }

    std::vector<uint32_t> canvas;
    int32_t canvasWidth = 0;
    std::vector<Rect> presented;
    std::map<uint32_t, Interval> intervals;
    uint32_t lastInterval = 0;
    int beeps = 0;
    std::vector<uint16_t> marks;
    std::vector<std::vector<Rect>> areas;  // each layout the page was given
    std::vector<HelpTopic> help;
    int abouts = 0;
    std::map<std::string, std::string> storage;
    int saves = 0;
    std::vector<FatalError> fatal;
    std::vector<int> endings;
    std::map<std::string, std::string> texts;
    std::vector<std::string> announced;
    std::string description;
    std::map<uint16_t, bool> enabled_;
    std::vector<std::string> clipboard;
    std::vector<std::string> told;
    int codeAsks = 0;
    std::vector<std::pair<std::string, std::string>> dayAsks;  // (first, today) of each ask
    std::string pageAddress = "https://example.org/game/";
    std::vector<std::string> days;
    std::vector<std::string> statistics;
    std::vector<std::string> shared;
    std::vector<std::string> codes;
    std::vector<std::string> grades;
    std::vector<std::string> notices;
    std::vector<bool> unsavedNotices;
    std::vector<std::string> exported;
    int fileAsks = 0;
    std::optional<std::string> chosenFile;
    int64_t now = 1700000000;  // 2023-11-14
    // A text the storage does not take (as when it is full).
    std::string refusedName;
    // False for a tab opened while another one holds the kept game.
    bool claimsGame = true;
    int gameClaims = 0;
    int faults = 0;
};

}  // namespace kz
