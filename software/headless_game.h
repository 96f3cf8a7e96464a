#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "screen/game_screen.h"
#include "software/software_display.h"

namespace kz {

// A host that records what the screen asks of it, for tests and tools.
class RecordingHost : public Host {
  public:
    uint32_t startTimer(uint32_t id, uint32_t periodMs) override;
    void stopTimer(uint32_t id) override;
    void beep() override { ++beeps; }
    void quit(int exitCode) override { quitCode = exitCode; }

    bool timerRunning() const { return !timers.empty(); }

    std::map<uint32_t, uint32_t> timers;  // id -> period
    int startedTimers = 0;
    int beeps = 0;
    int quitCode = -1;  // -1 while nobody asked to quit
};

// The whole game on the software surface, driven the way a shell drives it: mouse messages
// and timer ticks in, a redraw after each, pixels and states out.
class HeadlessGame {
  public:
    // sourceRoot: the folder holding resources/bitmaps/<id>.bmp.
    explicit HeadlessGame(const std::string& sourceRoot);
    ~HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    GameScreen& screen() { return *gameScreen; }
    Board& board() { return *gameScreen->getBoard(); }
    RecordingHost& host() { return recordingHost; }
    SoftwareDisplay& display() { return softwareDisplay; }

    // The shell's paint message: the area becomes dirty, then the tree is drawn.
    bool paint(const Rect& area);
    bool paintAll() { return paint({0, 0, screen().getWidth(), screen().getHeight()}); }

    bool mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    bool moveTo(int32_t x, int32_t y, bool leftHeld = false);
    // Moves onto the point, presses and releases the left button there.
    bool click(int32_t x, int32_t y);
    bool key(uint32_t message, uint32_t wparam);
    // One tick of the game timer, delivered only while the screen keeps one running.
    bool tick();
    bool redraw();

    // Centre of a button, in client coordinates.
    static std::pair<int32_t, int32_t> centreOf(Element& e);
    // Centre of a stick of the Board, in client coordinates.
    std::pair<int32_t, int32_t> stickCentre(StickOrientation orientation, int32_t index);

    // Plays the generated solution through mouse messages alone. Returns false when the
    // field refused a click it should have taken.
    bool playSolution();

    bool savePng(const std::string& path) const { return softwareDisplay.savePng(path); }

  private:
    SoftwareDisplay softwareDisplay;
    RecordingHost recordingHost;
    std::vector<std::unique_ptr<Image>> images;  // creation order
    std::unique_ptr<GameScreen> gameScreen;
    Display* previousDisplay;
};

}  // namespace kz
