#pragma once

#include <functional>

namespace kz {

// The X server going away under the program, as at the end of a log-out: GDK then ends the
// process at once from inside Xlib, past the main loop and everything after it. The handler
// runs first and may do what needs no display (write files); then the process ends as GDK
// ends it. Nothing happens on a display that is not X11.
void whenTheDisplayIsLost(std::function<void()> handler);

}  // namespace kz
