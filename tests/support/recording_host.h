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

// A program's side of the session, recorded: the window, the boxes, the stores, and what the
// extra play hands the program (texts, codes, records).
class RecordingShell : public ProgramShell {
  public:
    void windowChanged(const WindowState& state) override {
        const WindowState before = window();
        for (const int group : {kFieldSizeGroup, kActionTypeGroup, kDifficultyGroup}) {
            const uint16_t marked = state.menu.marked(group);
            if (marked != before.menu.marked(group)) {
                marks.push_back({group, marked});
            }
        }
        if (state.menu.commands != before.menu.commands) {
            ++commandChanges;
        }
        if (state.title != before.title) {
            titles.push_back(state.title);
        }
        windows.push_back(state);
    }
    void openHelp(HelpTopic topic) override { helpOpened.push_back(topic); }
    void showAbout() override { ++aboutShown; }
    void fatal(FatalError error) override { failures.push_back(error); }
    void present(const std::vector<Rect>& areas) override {
        presented.insert(presented.end(), areas.begin(), areas.end());
        ++presents;
    }
    void layoutAreasChanged(const std::vector<Rect>& areas) override { layouts.push_back(areas); }
    void frameWanted() override { ++framesWanted; }
    void recordsUnsaved(bool unsaved) override { unsavedNotices.push_back(unsaved); }
    void copyText(const std::string& text, const std::string& told) override {
        copied = text;
        toldCopied = told;
    }
    void ask(const Question& question) override { questions.push_back(question); }
    void showStatistics(const Records& records, CalendarDay day) override {
        shownPlayed = 0;
        for (const auto& entry : records.tables()) {
            shownPlayed += entry.second.played;
        }
        shownDay = day;
    }
    void share(const std::string& code, const std::string& link) override {
        shared = code;
        sharedAddress = link;
    }
    std::string pageAddress() override { return address; }
    void announce(const std::string& text) override { heard.push_back(text); }
    void focusPlacesChanged(const FocusPlaces& places) override {
        if (places.description != focusPlaces.description) {
            descriptions.push_back(places.description);
        }
        focusPlaces = places;
        ++focusPlaceChanges;
    }
    CalendarDay today() override { return dayOfUnixTime(now); }

    // The window as last pushed; the one of a fresh session before the first push.
    WindowState window() const { return windows.empty() ? WindowState{} : windows.back(); }
    uint16_t marked(int group) const { return window().menu.marked(group); }
    CommandStates commandStates() const { return window().menu.commands; }
    std::string title() const { return window().title; }
    // The description handed last; empty before the first.
    std::string description() const { return focusPlaces.description; }
    // The questions of a kind asked so far.
    size_t asked(Question::Kind kind) const {
        return static_cast<size_t>(
            std::count_if(questions.begin(), questions.end(),
                          [kind](const Question& q) { return q.kind == kind; }));
    }

    // The stores, for the session's options.
    ProgramStores stores() { return {&settingsStore, &recordsStore, &gameStore}; }
    // The records as they were last written.
    Records savedRecords() { return recordsOf(*store); }
    // Keeps the records where other does, as a second window of the program would.
    void shareRecordsWith(const RecordingShell& other) { store = other.store; }

    bool wasHeard(const std::string& text) const {
        return std::find(heard.begin(), heard.end(), text) != heard.end();
    }

    std::vector<WindowState> windows;
    // Every change of a radio mark in order, as (group, command id).
    std::vector<std::pair<int, uint16_t>> marks;
    int commandChanges = 0;
    // Each title shown, when it changed.
    std::vector<std::string> titles;
    std::vector<HelpTopic> helpOpened;
    int aboutShown = 0;
    std::vector<FatalError> failures;
    std::vector<Rect> presented;
    int presents = 0;
    int framesWanted = 0;
    std::vector<std::vector<Rect>> layouts;
    // The settings as each choice stored them.
    std::vector<GameSettings> changes;
    std::shared_ptr<TextMedium::Stored> store = std::make_shared<TextMedium::Stored>();
    bool writable = true;
    int saves = 0;
    // A program that keeps nothing of a game in progress unless told to.
    bool keepsGames = false;
    // Another window holds the kept game.
    bool gameHeldElsewhere = false;
    std::optional<std::string> keptGame;
    int gameWrites = 0;
    std::vector<bool> unsavedNotices;
    std::vector<Question> questions;
    std::string copied;
    std::string toldCopied;
    std::string shared;
    std::string sharedAddress;
    std::string address;
    int64_t shownPlayed = -1;
    CalendarDay shownDay{};
    std::vector<std::string> heard;
    // Each description handed, when it changed.
    std::vector<std::string> descriptions;
    FocusPlaces focusPlaces;
    int focusPlaceChanges = 0;
    int64_t now = 1796731200;  // 2026-12-08 12:00 UTC

  private:
    struct SettingsStore : SettingsMedium {
        explicit SettingsStore(RecordingShell& owner) : shell(owner) {}
        std::optional<std::string> read(const char*) override { return std::nullopt; }
        bool write(const Values& values) override {
            GameSettings settings;
            for (const auto& [name, value] : values) {
                const std::string key = name;
                (key == kFieldSizeSettingName    ? settings.fieldSize
                 : key == kActionTypeSettingName ? settings.actionType
                                                 : settings.difficulty) = value;
            }
            shell.changes.push_back(settings);
            return true;
        }
        RecordingShell& shell;
    };
    struct RecordsStore : TextMedium {
        explicit RecordsStore(RecordingShell& owner) : shell(owner) {}
        Stored read() override { return *shell.store; }
        bool write(const std::string& text) override {
            if (!shell.writable) {
                return false;
            }
            *shell.store = {State::Read, text};
            ++shell.saves;
            return true;
        }
        RecordingShell& shell;
    };
    struct GameStore : TextMedium {
        explicit GameStore(RecordingShell& owner) : shell(owner) {}
        Stored read() override {
            if (shell.gameHeldElsewhere) {
                return {State::Unusable, {}};
            }
            return shell.keptGame ? Stored{State::Read, *shell.keptGame} : Stored{};
        }
        bool write(const std::string& text) override {
            if (!shell.keepsGames) {
                return false;
            }
            shell.keptGame = text.empty() ? std::nullopt : std::optional<std::string>(text);
            ++shell.gameWrites;
            return true;
        }
        RecordingShell& shell;
    };
    SettingsStore settingsStore{*this};
    RecordsStore recordsStore{*this};
    GameStore gameStore{*this};
};

}  // namespace kz
