#pragma once

#include <string>

namespace kz {

// The environment GDK looks at when it opens a display.
struct DisplayEnvironment {
    const char* backends = nullptr;        // GDK_BACKEND
    const char* waylandDisplay = nullptr;  // WAYLAND_DISPLAY
    const char* xDisplay = nullptr;        // DISPLAY
    bool waylandBuiltIn = true;
    bool x11BuiltIn = true;
};

DisplayEnvironment currentDisplayEnvironment();

// Whether GDK_BACKEND (a comma-separated list of backend names, "*" standing for any; unset
// or empty for all) lets GDK try the backend name.
bool allowsBackend(const char* backends, const char* name);

// What to tell on the terminal when no display could be opened: the displays that were
// tried and where their names came from, so the user sees which variable to set.
std::string displayFailureMessage(const DisplayEnvironment& environment);

}  // namespace kz
