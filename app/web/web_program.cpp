#include "app/web/web_program.h"

#include "app/web/local_storage_settings.h"

namespace kz {
namespace {

// 0x00RRGGBB pixels of the surface into the canvas's red, green, blue, alpha bytes.
void convert(const SoftwareSurface& from, std::vector<uint8_t>& to, const Rect& area) {
    const auto stride = static_cast<size_t>(from.width());
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint32_t* source = from.row(y);
        uint8_t* target = to.data() + (static_cast<size_t>(y) * stride) * 4;
        for (int32_t x = area.left; x < area.right; ++x) {
            const uint32_t pixel = source[x];
            uint8_t* out = target + static_cast<size_t>(x) * 4;
            out[0] = static_cast<uint8_t>(pixel >> 16);
            out[1] = static_cast<uint8_t>(pixel >> 8);
            out[2] = static_cast<uint8_t>(pixel);
            out[3] = 0xFF;
        }
    }
}

}  // namespace

WebProgram::WebProgram(Page& page_, SoftwareDisplay::BitmapResolver resolver)
    : page(page_), softwareDisplay(0, 0, std::move(resolver)) {}

WebProgram::~WebProgram() {
    for (const auto& entry : intervals) {
        page.stopInterval(entry.second);
    }
}

void WebProgram::start() {
    if (session) {
        return;
    }
    session =
        std::make_unique<GameSession>(softwareDisplay, *this, *this, loadStoredSettings(page));
    // The target gets its pixels once the screen has given its size.
    softwareDisplay.resetTarget(session->width(), session->height());
    frame.assign(static_cast<size_t>(session->width()) * static_cast<size_t>(session->height()) * 4,
                 0);
    route([this] { return session->paintAll(); });
}

template <typename Entry>
void WebProgram::route(Entry entry) {
    if (!running()) {
        return;
    }
    entry();
    // A quit asked for during the message ends the session once its draw is done.
    if (quitRequested) {
        end();
    }
}

void WebProgram::present(const std::vector<Rect>& areas) {
    for (const Rect& area : areas) {
        convert(softwareDisplay.targetPixels(), frame, area);
        page.present(frame.data(), softwareDisplay.width(), softwareDisplay.height(), area);
    }
}

void WebProgram::end() {
    over = true;
    for (const auto& entry : intervals) {
        page.stopInterval(entry.second);
    }
    intervals.clear();
    page.ended(quitCode);
}

void WebProgram::mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    route([&] { return session->mouse(message, wparam, x, y); });
}

void WebProgram::key(uint32_t message, uint32_t wparam, int64_t lparam) {
    route([&] { return session->key(message, wparam, lparam); });
}

void WebProgram::tick() {
    route([this] { return session->timer(); });
}

void WebProgram::command(uint16_t id) {
    route([&] { return session->command(id); });
}

void WebProgram::repaint() {
    route([this] { return session->paintAll(); });
}

GameSettings WebProgram::settings() const {
    return session ? session->settings() : GameSettings{};
}

uint32_t WebProgram::startTimer(uint32_t id, uint32_t periodMs) {
    // As with a window timer, starting an id that runs replaces it.
    stopTimer(id);
    if (over) {
        return 0;
    }
    const uint32_t handle = page.startInterval(periodMs);
    if (handle == 0) {
        return 0;
    }
    intervals[id] = handle;
    return id;
}

void WebProgram::stopTimer(uint32_t id) {
    const auto found = intervals.find(id);
    if (found != intervals.end()) {
        page.stopInterval(found->second);
        intervals.erase(found);
    }
}

void WebProgram::beep() {
    page.beep();
}

void WebProgram::quit(int exitCode) {
    if (!quitRequested) {
        quitRequested = true;
        quitCode = exitCode;
    }
}

void WebProgram::mark(int, uint16_t commandId) {
    page.markRadio(commandId);
}

void WebProgram::fatal(FatalError error) {
    page.showFatal(error);
}

void WebProgram::openHelp(HelpTopic topic) {
    page.openHelp(topic);
}

void WebProgram::showAbout() {
    page.showAbout();
}

void WebProgram::settingsChanged(const GameSettings& changed) {
    saveStoredSettings(page, changed);
}

}  // namespace kz
