#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "app/common/game_session.h"
#include "app/web/page.h"
#include "screen/host.h"
#include "software/software_display.h"

namespace kz {

// The game in a page: the software surface, the game session, and what the page shows of
// them. After every message only the areas the session's draw wrote go to the canvas. The
// game timer is a page interval that runs only while a game runs.
class WebProgram : public Host, public SessionShell {
  public:
    WebProgram(Page& page, SoftwareDisplay::BitmapResolver resolver);
    ~WebProgram() override;
    WebProgram(const WebProgram&) = delete;
    WebProgram& operator=(const WebProgram&) = delete;

    // Reads the settings, marks them in the menu, makes the session and draws the whole
    // screen. Call once.
    void start();

    int32_t width() const { return session_ ? session_->width() : 0; }
    int32_t height() const { return session_ ? session_->height() : 0; }
    // False once the session has ended (Exit, Quit, a failed draw): from then on every
    // entry below does nothing.
    bool running() const { return session_ != nullptr && !over_; }

    void mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y);
    void key(uint32_t message, uint32_t wparam, int64_t lparam);
    void tick();
    void command(uint16_t id);
    // Draws everything again, for a canvas that lost its pixels.
    void repaint();

    GameSettings settings() const;
    const SoftwareDisplay& display() const { return softwareDisplay_; }
    // The session, for checks that look inside the game; null before start.
    GameSession* gameSession() { return session_.get(); }

    uint32_t startTimer(uint32_t id, uint32_t periodMs) override;
    void stopTimer(uint32_t id) override;
    void beep() override;
    void quit(int exitCode) override;

    void mark(int group, uint16_t commandId) override;
    void openHelp(HelpTopic topic) override;
    void showAbout() override;
    void fatal(FatalError error) override;
    void present(const std::vector<Rect>& areas) override;
    void settingsChanged(const GameSettings& settings) override;

  private:
    // Calls one entry of the session; a quit asked for during it ends the session.
    template <typename Entry>
    void route(Entry entry);
    void end();

    Page& page_;
    SoftwareDisplay softwareDisplay_;
    std::unique_ptr<GameSession> session_;
    std::vector<uint8_t> frame_;              // the canvas's pixels, four bytes each
    std::map<uint32_t, uint32_t> intervals_;  // game timer id -> page interval
    bool quitRequested_ = false;
    int quitCode_ = 0;
    bool over_ = false;
};

}  // namespace kz
