#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "app/common/game_session.h"
#include "app/common/menu_table.h"
#include "screen/host.h"

namespace kz {

// A host that records what the screen asks of it.
class RecordingHost : public Host {
  public:
    uint32_t startTimer(uint32_t id, uint32_t periodMs) override {
        timers[id] = periodMs;
        ++startedTimers;
        return id;
    }
    void stopTimer(uint32_t id) override { timers.erase(id); }
    void beep() override { ++beeps; }
    void quit(int exitCode) override { quitCode = exitCode; }

    bool timerRunning() const { return !timers.empty(); }

    std::map<uint32_t, uint32_t> timers;  // id -> period
    int startedTimers = 0;
    int beeps = 0;
    int quitCode = -1;  // -1 while nobody asked to quit
};

// A program's side of the menu commands, recorded.
class RecordingShell : public SessionShell {
  public:
    void mark(int group, uint16_t commandId) override {
        marks.push_back({group, commandId});
        (group == kFieldSizeGroup ? fieldSizeMark : actionTypeMark) = commandId;
    }
    void openHelp(HelpTopic topic) override { helpOpened.push_back(topic); }
    void showAbout() override { ++aboutShown; }
    void fatal(FatalError error) override { failures.push_back(error); }
    void present(const std::vector<Rect>& areas) override {
        presented.insert(presented.end(), areas.begin(), areas.end());
    }
    void settingsChanged(const GameSettings& settings) override { changes.push_back(settings); }

    // Every mark in order, as (group, command id), and the last of each group.
    std::vector<std::pair<int, uint16_t>> marks;
    uint16_t fieldSizeMark = 0;
    uint16_t actionTypeMark = 0;
    std::vector<HelpTopic> helpOpened;
    int aboutShown = 0;
    std::vector<FatalError> failures;
    std::vector<Rect> presented;
    std::vector<GameSettings> changes;
};

}  // namespace kz
