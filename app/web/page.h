#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/common/commands.h"
#include "app/common/fatal_error.h"
#include "display/rect.h"

namespace kz {

// What the page around the game does for it: the browser's side of the web program, behind
// a plain interface so the program runs and is tested outside a browser too.
class Page {
  public:
    virtual ~Page() = default;

    // Puts one area of the frame onto the canvas. The frame is width x height pixels of four
    // bytes, red, green, blue and alpha, row by row.
    virtual void present(const uint8_t* frame, int32_t width, int32_t height, const Rect& area) = 0;
    // A repeating interval that calls WebProgram::tick. Its handle, or 0 when none started.
    virtual uint32_t startInterval(uint32_t periodMs) = 0;
    virtual void stopInterval(uint32_t handle) = 0;
    virtual void beep() = 0;
    // Moves the radio mark of the commandId's group to that item.
    virtual void markRadio(uint16_t commandId) = 0;
    virtual void openHelp(HelpTopic topic) = 0;
    // Opens the About dialog; the page closes it by itself.
    virtual void showAbout() = 0;
    // Copies the stored text of a setting into text (at most size bytes, ending in a zero)
    // and returns its full length in bytes, or -1 when nothing is stored or storage is
    // closed to the page.
    virtual int32_t loadSetting(const char* name, char* text, size_t size) = 0;
    virtual void saveSetting(const char* name, int32_t value) = 0;
    virtual void showFatal(FatalError error) = 0;
    // The session is over; the page shows its closing screen.
    virtual void ended(int exitCode) = 0;
};

}  // namespace kz
