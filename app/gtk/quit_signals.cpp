#include "app/gtk/quit_signals.h"

#include <glib-unix.h>
#include <glib.h>

#include <csignal>

namespace kz {

const std::vector<int>& QuitSignals::signalNumbers() {
    static const std::vector<int> numbers = {SIGTERM, SIGINT, SIGHUP};
    return numbers;
}

QuitSignals::QuitSignals(Handler onSignal) : onSignal_(std::move(onSignal)) {
    // Filled before any source refers to an element, so the addresses stay put.
    for (int number : signalNumbers()) {
        watches_.push_back(Watch{this, number});
    }
    for (Watch& watch : watches_) {
        sources_.push_back(g_unix_signal_add(
            watch.signalNumber,
            [](gpointer data) -> gboolean {
                auto* w = static_cast<Watch*>(data);
                if (w->owner->onSignal_) {
                    w->owner->onSignal_(w->signalNumber);
                }
                return G_SOURCE_CONTINUE;
            },
            &watch));
    }
}

QuitSignals::~QuitSignals() {
    for (unsigned source : sources_) {
        g_source_remove(source);
    }
}

}  // namespace kz
