#pragma once

#include <optional>
#include <string>

namespace kz {

// Where the X server of a local display name (":1", ":1.0", "unix:1") takes connections:
// its socket in socketDir. Nothing for a display on another host or a name that is no
// display.
std::optional<std::string> localXSocketPath(const std::string& display,
                                            const std::string& socketDir = "/tmp/.X11-unix");

// True when an X server accepts a connection for the local display name now, on its
// abstract socket or on its socket file. A server that drops a client during the
// handshake, as one does while it resets after its last client left, still answers here.
bool localXServerAnswers(const std::string& display,
                         const std::string& socketDir = "/tmp/.X11-unix");

// gtk_init_check, tried again for a short while when it failed although the X server of
// DISPLAY is there: such a server refused or dropped this one connection, and the next one
// goes through. A display that is not there fails at once.
bool initGtkRetryingABusyDisplay(int* argc, char*** argv);

}  // namespace kz
