#include "app/gtk/display_failure.h"

#include <gdk/gdk.h>
#include <glib.h>

#include <vector>

namespace kz {
namespace {

bool isSet(const char* value) {
    return value && *value;
}

}  // namespace

bool allowsBackend(const char* backends, const char* name) {
    if (!isSet(backends)) {
        return true;
    }
    gchar** names = g_strsplit(backends, ",", -1);
    bool allowed = false;
    for (gchar** n = names; *n; ++n) {
        gchar* stripped = g_strstrip(*n);
        allowed |= g_strcmp0(stripped, name) == 0 || g_strcmp0(stripped, "*") == 0;
    }
    g_strfreev(names);
    return allowed;
}

DisplayEnvironment currentDisplayEnvironment() {
    DisplayEnvironment environment;
    environment.backends = g_getenv("GDK_BACKEND");
    environment.waylandDisplay = g_getenv("WAYLAND_DISPLAY");
    environment.xDisplay = g_getenv("DISPLAY");
#ifndef GDK_WINDOWING_WAYLAND
    environment.waylandBuiltIn = false;
#endif
#ifndef GDK_WINDOWING_X11
    environment.x11BuiltIn = false;
#endif
    return environment;
}

std::string displayFailureMessage(const DisplayEnvironment& environment) {
    std::vector<std::string> tried;
    if (environment.waylandBuiltIn && allowsBackend(environment.backends, "wayland")) {
        tried.push_back(
            isSet(environment.waylandDisplay)
                ? std::string("the Wayland display \"") + environment.waylandDisplay +
                      "\" (WAYLAND_DISPLAY)"
                : std::string("the default Wayland display (WAYLAND_DISPLAY is not set)"));
    }
    if (environment.x11BuiltIn && allowsBackend(environment.backends, "x11")) {
        tried.push_back(isSet(environment.xDisplay)
                            ? std::string("the X display \"") + environment.xDisplay +
                                  "\" (DISPLAY)"
                            : std::string("no X display (DISPLAY is not set)"));
    }
    std::string message = "cannot open a display";
    if (tried.empty()) {
        message += ": GDK_BACKEND=";
        message += environment.backends;
        message += " names no display this program can use (wayland, x11)";
        return message;
    }
    message += "; tried " + tried[0];
    for (size_t i = 1; i < tried.size(); ++i) {
        message += i + 1 == tried.size() ? " and " : ", ";
        message += tried[i];
    }
    if (isSet(environment.backends)) {
        message += std::string(", as GDK_BACKEND=") + environment.backends + " asks";
    }
    return message;
}

}  // namespace kz
