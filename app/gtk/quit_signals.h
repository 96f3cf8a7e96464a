#pragma once

#include <functional>
#include <vector>

namespace kz {

// SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C in the terminal) asking the program
// to end. They arrive on the GLib main loop, not in a signal handler, so the handler may do
// what the Exit command does: save the settings and leave the loop. While the object lives
// the signals no longer end the process by themselves.
class QuitSignals {
  public:
    using Handler = std::function<void(int signalNumber)>;

    explicit QuitSignals(Handler onSignal);
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

    static const std::vector<int>& signalNumbers();

  private:
    struct Watch {
        QuitSignals* owner;
        int signalNumber;
    };

    Handler onSignal_;
    std::vector<Watch> watches_;
    std::vector<unsigned> sources_;
};

}  // namespace kz
