#pragma once

#include <cstdint>

namespace kz {

// What the game screen needs of the program that hosts it. Every shell implements it;
// tests use a recording one.
class Host {
  public:
    virtual ~Host() = default;

    // Starts a repeating timer whose ticks reach GameScreen::onTimer on the input thread.
    // Returns the timer's identifier, or 0 when it could not be started.
    virtual uint32_t startTimer(uint32_t id, uint32_t periodMs) = 0;
    virtual void stopTimer(uint32_t id) = 0;
    // The default system sound.
    virtual void beep() = 0;
    // Ends the message loop with the given exit code once the current message is handled.
    virtual void quit(int exitCode) = 0;
};

}  // namespace kz
