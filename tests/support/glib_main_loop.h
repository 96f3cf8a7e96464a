#pragma once

#include <glib.h>

namespace kz {

// Runs the default main context until the condition holds or the time is up.
template <class Condition>
bool runUntil(Condition done, int timeoutMs) {
    gint64 end = g_get_monotonic_time() + gint64{timeoutMs} * 1000;
    while (!done() && g_get_monotonic_time() < end) {
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
    return done();
}

}  // namespace kz
