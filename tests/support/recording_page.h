#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/common/menu_table.h"
#include "app/web/page.h"
#include "app/web/page_extras.h"
#include "app/web/web_program.h"

namespace kz {

// The page as the program sees it: a canvas that keeps what it is given, the intervals, the
// storage, and a log of everything else. What a page would not take (a pixel presented that
// is not opaque) is counted in faults.
struct Interval {
    uint32_t timerId;
    uint32_t periodMs;
};
class RecordingPage : public Page {
  public:
    void windowChanged(const WindowState& window) override {
        for (const int group : {kFieldSizeGroup, kActionTypeGroup, kDifficultyGroup}) {
            const uint16_t marked = window.menu.marked(group);
            if (marked != 0 && marked != shown.menu.marked(group)) {
                marks.push_back(marked);
            }
        }
        for (const uint16_t id : kGreyableCommands) {
            enabled_[id] = window.menu.commands.enabled(id);
        }
        if (window.title != shown.title) {
            titled(window.title);
        }
        if (window.note != shown.note && !window.note.empty()) {
            notices.push_back(window.note);
        }
        shown = window;
    }
    void openHelp(HelpTopic topic) override { help.push_back(topic); }
    void showAbout() override { ++abouts; }
    void fatal(FatalError error) override { this->fatalErrors.push_back(error); }
    void present(const std::vector<Rect>& given) override {
        for (const Rect& area : given) {
            const Rect pixels = program()->frameArea(area);
            paint(program()->frame(), program()->frameWidth(), program()->frameHeight(), pixels);
            presented.push_back(pixels);
        }
        ++presents;
    }
    // As the browser: asks made before the frame came are one frame.
    void frameWanted() override {
        frameDue = true;
        ++framesWanted;
    }
    // The browser's next animation frame: the one asked for reaches the program. False when
    // none was asked for.
    bool animationFrame() {
        if (!frameDue) {
            return false;
        }
        frameDue = false;
        program()->animationFrame();
        return true;
    }
    void layoutAreasChanged(const std::vector<Rect>& given) override { areas.push_back(given); }
    void recordsUnsaved(bool unsaved) override { unsavedNotices.push_back(unsaved); }
    void copyText(const std::string& text, const std::string& copied) override {
        clipboard.push_back(text);
        told.push_back(copied);
    }
    void ask(const Question& question) override {
        switch (question.kind) {
            case Question::PuzzleCode:
                codeAsks.push_back(question.text);
                break;
            case Question::Day:
                dayAsks.push_back({dayText(question.first), dayText(question.today)});
                break;
            case Question::RecordsFile:
                ++fileAsks;
                break;
            case Question::SaveRecords:
                exported.push_back(question.text);
                break;
        }
    }
    std::string pageAddress() override { return address; }
    void showStatistics(const Records& records, CalendarDay day) override {
        statistics.push_back(statisticsJson(records, day));
    }
    void share(const std::string& code, const std::string& link) override {
        shared.push_back(code);
        sharedLinks.push_back(link);
    }
    void announce(const std::string& text) override { announced.push_back(text); }
    void focusPlacesChanged(const FocusPlaces& places) override {
        description = places.description;
    }
    CalendarDay today() override { return dayOfUnixTime(now); }

    uint32_t startTimer(uint32_t timerId, uint32_t periodMs) override {
        intervals[timerId] = Interval{timerId, periodMs};
        return timerId;
    }
    void stopTimer(uint32_t timerId) override { intervals.erase(timerId); }
    void beep() override { ++beeps; }

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
    void ended(int exitCode) override {
        endings.push_back(exitCode);
        intervals.clear();
    }
    void statisticsChanged(const std::string& text) override { statistics.push_back(text); }
    std::optional<std::string> chosenRecordsFile() override { return chosenFile; }

    std::optional<std::string> loadText(const char* name) override {
        const auto found = texts.find(name);
        return found == texts.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    bool saveText(const char* name, const std::string& text) override {
        if (name == refusedName) {
            return false;
        }
        texts[name] = text;
        ++textSaves;
        return true;
    }
    bool claimGame() override {
        ++gameClaims;
        return claimsGame;
    }

    bool timerRuns(uint32_t timerId) const { return intervals.count(timerId) != 0; }
    uint32_t canvasPixel(int32_t x, int32_t y) const {
        return canvas[static_cast<size_t>(y) * canvasWidth + x];
    }

    std::vector<uint32_t> canvas;
    int32_t canvasWidth = 0;
    // Each area put onto the canvas, in the frame's pixels.
    std::vector<Rect> presented;
    // Calls of present, one a frame.
    int presents = 0;
    bool frameDue = false;
    int framesWanted = 0;
    int textSaves = 0;
    std::map<uint32_t, Interval> intervals;  // by timer id
    int beeps = 0;
    // Each radio mark set, when it moved.
    std::vector<uint16_t> marks;
    std::vector<std::vector<Rect>> areas;  // each layout the page was given
    std::vector<HelpTopic> help;
    int abouts = 0;
    std::map<std::string, std::string> storage;
    int saves = 0;
    std::vector<FatalError> fatalErrors;
    std::vector<int> endings;
    std::map<std::string, std::string> texts;
    std::vector<std::string> announced;
    std::string description;
    std::map<uint16_t, bool> enabled_;
    std::vector<std::string> clipboard;
    std::vector<std::string> told;
    // The text of each Play Puzzle Code box opened: empty from the menu, a link's wrong code.
    std::vector<std::string> codeAsks;
    std::vector<std::pair<std::string, std::string>> dayAsks;  // (first, today) of each ask
    std::string address = "https://example.org/game/";
    // Read off each title shown: the puzzle's code, its day (for a day's puzzle) and its grade
    // ("" for none).
    std::vector<std::string> codes;
    std::vector<std::string> days;
    std::vector<std::string> grades;
    std::vector<std::string> titles;
    WindowState shown;
    std::vector<std::string> statistics;
    std::vector<std::string> shared;
    std::vector<std::string> sharedLinks;
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

  private:
    void paint(const uint8_t* frame, int32_t width, int32_t height, const Rect& area) {
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
    }
    // "Kestrane Zivadorured — CODE — puzzle of DAY — GRADE", the day and the grade where
    // there are.
    void titled(const std::string& title) {
        titles.push_back(title);
        std::vector<std::string> parts;
        const std::string dash = " \u2014 ";
        size_t start = 0;
        for (size_t at = title.find(dash); at != std::string::npos; at = title.find(dash, start)) {
            parts.push_back(title.substr(start, at - start));
            start = at + dash.size();
        }
        parts.push_back(title.substr(start));
        if (parts.size() < 2) {
            return;
        }
        codes.push_back(parts[1]);
        const std::string dayWord = "puzzle of ";
        size_t next = 2;
        if (parts.size() > next && parts[next].rfind(dayWord, 0) == 0) {
            days.push_back(parts[next].substr(dayWord.size()));
            ++next;
        }
        grades.push_back(parts.size() > next ? parts[next] : std::string());
    }
};

}  // namespace kz
