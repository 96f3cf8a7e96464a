#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/common/game_session.h"
#include "app/common/menu_table.h"
#include "app/common/program_shell.h"
#include "screen/host.h"
#include "tests/support/memory_records.h"

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

// A program's side of the session, recorded: the menus, the boxes, and what the extra play
// hands the program (texts, command states, records, codes).
class RecordingShell : public ProgramShell {
  public:
    void mark(int group, uint16_t commandId) override {
        marks.push_back({group, commandId});
        (group == kFieldSizeGroup    ? fieldSizeMark
         : group == kActionTypeGroup ? actionTypeMark
                                     : difficultyMark) = commandId;
    }
    void commandsChanged(const CommandStates& states) override {
        commandStates = states;
        ++commandChanges;
    }
    void openHelp(HelpTopic topic) override { helpOpened.push_back(topic); }
    void showAbout() override { ++aboutShown; }
    void fatal(FatalError error) override { failures.push_back(error); }
    void present(const std::vector<Rect>& areas) override {
        presented.insert(presented.end(), areas.begin(), areas.end());
    }
    void settingsChanged(const GameSettings& settings) override { changes.push_back(settings); }
    RecordsMedium::Stored readRecords() override { return *store; }
    bool writeRecords(const std::string& text) override {
        if (!writable) {
            return false;
        }
        *store = {RecordsMedium::State::Read, text};
        ++saves;
        return true;
    }
    std::optional<std::string> readGame() override { return keptGame; }
    bool writeGame(const std::string& text) override {
        if (!keepsGames) {
            return false;
        }
        keptGame = text.empty() ? std::nullopt : std::optional<std::string>(text);
        ++gameWrites;
        return true;
    }
    void recordsUnsaved(bool unsaved) override { unsavedNotices.push_back(unsaved); }
    void exportRecords(const std::string& text) override { exported = text; }
    void askRecordsFile() override { ++recordsFileAsked; }
    void copyText(const std::string& text, const std::string& told) override {
        copied = text;
        toldCopied = told;
    }
    void askPuzzleCode() override { ++asked; }
    void askDay(CalendarDay first, CalendarDay today) override {
        dayAsks.push_back({first, today});
    }
    void showStatistics(const Records& records, CalendarDay day) override {
        shownPlayed = 0;
        for (const auto& entry : records.tables()) {
            shownPlayed += entry.second.played;
        }
        shownDay = day;
    }
    void share(const std::string& code) override { shared = code; }
    void puzzleChanged(const std::string& code) override { titles.push_back(code); }
    void puzzleDated(std::optional<CalendarDay> day) override { days.push_back(day); }
    void puzzleGraded(const std::string& grade, const std::string& note) override {
        grades.push_back({grade, note});
    }
    void newBestTime(const WinReport& report) override { bests.push_back(report.seconds); }
    void announce(const std::string& text) override { heard.push_back(text); }
    void describe(const std::string& text) override { descriptions.push_back(text); }
    // The description handed last; empty before the first.
    std::string description() const { return descriptions.empty() ? "" : descriptions.back(); }
    void focusPlacesChanged(const FocusPlaces& places) override {
        focusPlaces = places;
        ++focusPlaceChanges;
    }
    CalendarDay today() override { return dayOfUnixTime(now); }

    // The records as they were last written.
    Records savedRecords() { return recordsOf(*store); }
    // Keeps the records where other does, as a second window of the program would.
    void shareRecordsWith(const RecordingShell& other) { store = other.store; }

    bool wasHeard(const std::string& text) const {
        return std::find(heard.begin(), heard.end(), text) != heard.end();
    }

    // Every mark in order, as (group, command id), and the last of each group.
    std::vector<std::pair<int, uint16_t>> marks;
    uint16_t fieldSizeMark = 0;
    uint16_t actionTypeMark = 0;
    uint16_t difficultyMark = 0;
    CommandStates commandStates;
    int commandChanges = 0;
    std::vector<HelpTopic> helpOpened;
    int aboutShown = 0;
    std::vector<FatalError> failures;
    std::vector<Rect> presented;
    std::vector<GameSettings> changes;
    std::shared_ptr<RecordsMedium::Stored> store = std::make_shared<RecordsMedium::Stored>();
    bool writable = true;
    int saves = 0;
    // A program that keeps nothing of a game in progress unless told to.
    bool keepsGames = false;
    std::optional<std::string> keptGame;
    int gameWrites = 0;
    std::vector<bool> unsavedNotices;
    std::string exported;
    int recordsFileAsked = 0;
    std::string copied;
    std::string toldCopied;
    std::string shared;
    int asked = 0;
    std::vector<std::pair<CalendarDay, CalendarDay>> dayAsks;  // (first, today) of each ask
    std::vector<std::optional<CalendarDay>> days;              // the day of each puzzle shown
    int64_t shownPlayed = -1;
    CalendarDay shownDay{};
    std::vector<std::string> titles;
    std::vector<std::pair<std::string, std::string>> grades;  // (grade, note) of each puzzle
    std::vector<int32_t> bests;
    std::vector<std::string> heard;
    std::vector<std::string> descriptions;
    FocusPlaces focusPlaces;
    int focusPlaceChanges = 0;
    int64_t now = 1796731200;  // 2026-12-08 12:00 UTC
};

}  // namespace kz
