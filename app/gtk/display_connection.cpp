#include "app/gtk/display_connection.h"

#include <gtk/gtk.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "app/gtk/display_failure.h"

namespace kz {
namespace {

// About 1.5 s in all: a server that resets is back within milliseconds, one whose queue of
// new connections is full within a few hundred.
constexpr int kRetries = 5;
constexpr gulong kFirstPauseUs = 50000;

bool connects(const sockaddr_un& address, socklen_t length) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    close(fd);
    return connected;
}

}  // namespace

std::optional<std::string> localXSocketPath(const std::string& display,
                                            const std::string& socketDir) {
    size_t colon = display.rfind(':');
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    const std::string host = display.substr(0, colon);
    if (!host.empty() && host != "unix") {
        return std::nullopt;
    }
    std::string number = display.substr(colon + 1);
    if (size_t dot = number.find('.'); dot != std::string::npos) {
        number.resize(dot);
    }
    if (number.empty() || number.size() > 6 ||
        number.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return socketDir + "/X" + number;
}

bool localXServerAnswers(const std::string& display, const std::string& socketDir) {
    const std::optional<std::string> path = localXSocketPath(display, socketDir);
    sockaddr_un address{};
    if (!path || path->size() + 1 >= sizeof address.sun_path) {
        return false;
    }
    address.sun_family = AF_UNIX;
    // Linux servers also listen on the abstract name, which a stale file cannot fake.
    std::memcpy(address.sun_path + 1, path->data(), path->size());
    const auto abstractLength =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path->size());
    if (connects(address, abstractLength)) {
        return true;
    }
    std::memset(address.sun_path, 0, sizeof address.sun_path);
    std::memcpy(address.sun_path, path->data(), path->size());
    return connects(address, static_cast<socklen_t>(sizeof address));
}

bool initGtkRetryingABusyDisplay(int* argc, char*** argv) {
    gulong pause = kFirstPauseUs;
    for (int retry = 0;; ++retry) {
        if (gtk_init_check(argc, argv)) {
            return true;
        }
        const char* display = g_getenv("DISPLAY");
        if (retry == kRetries || display == nullptr ||
            !allowsBackend(g_getenv("GDK_BACKEND"), "x11") || !localXServerAnswers(display)) {
            return false;
        }
        g_usleep(pause);
        pause *= 2;
    }
}

}  // namespace kz
