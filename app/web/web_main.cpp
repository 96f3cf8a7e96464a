// The web program's entry points: the page script calls the kz_ functions; the program calls
// back into the page through the handlers the page script gave the module (Module.page).
#include <emscripten/emscripten.h>

#include <cstdint>
#include <memory>

#include "app/web/embedded_bitmaps.h"
#include "app/web/web_program.h"

namespace {

// clang-format off
EM_JS(void, pagePresent, (const uint8_t* frame, int32_t width, int32_t height, int32_t x,
                          int32_t y, int32_t w, int32_t h), {
    Module.page.present(HEAPU8, frame, width, height, x, y, w, h);
});
EM_JS(uint32_t, pageStartInterval, (uint32_t periodMs), {
    return Module.page.startInterval(periodMs);
});
EM_JS(void, pageStopInterval, (uint32_t handle), { Module.page.stopInterval(handle); });
EM_JS(void, pageBeep, (), { Module.page.beep(); });
EM_JS(void, pageMarkRadio, (uint32_t commandId), { Module.page.markRadio(commandId); });
EM_JS(void, pageOpenHelp, (int32_t topic), { Module.page.openHelp(topic); });
EM_JS(void, pageShowAbout, (), { Module.page.showAbout(); });
EM_JS(int32_t, pageLoadSetting, (const char* name, char* text, uint32_t size), {
    const value = Module.page.loadSetting(UTF8ToString(name));
    if (value === null) {
        return -1;
    }
    stringToUTF8(value, text, size);
    return lengthBytesUTF8(value);
});
EM_JS(void, pageSaveSetting, (const char* name, int32_t value), {
    Module.page.saveSetting(UTF8ToString(name), value);
});
EM_JS(void, pageShowFatal, (int32_t error), { Module.page.showFatal(error); });
EM_JS(void, pageEnded, (int32_t exitCode), { Module.page.ended(exitCode); });
// clang-format on

class BrowserPage : public kz::Page {
  public:
    void present(const uint8_t* frame, int32_t width, int32_t height,
                 const kz::Rect& area) override {
        pagePresent(frame, width, height, area.left, area.top, area.width(), area.height());
    }
    uint32_t startInterval(uint32_t periodMs) override { return pageStartInterval(periodMs); }
    void stopInterval(uint32_t handle) override { pageStopInterval(handle); }
    void beep() override { pageBeep(); }
    void markRadio(uint16_t commandId) override { pageMarkRadio(commandId); }
    void openHelp(kz::HelpTopic topic) override { pageOpenHelp(static_cast<int32_t>(topic)); }
    void showAbout() override { pageShowAbout(); }
    int32_t loadSetting(const char* name, char* text, size_t size) override {
        return pageLoadSetting(name, text, static_cast<uint32_t>(size));
    }
    void saveSetting(const char* name, int32_t value) override { pageSaveSetting(name, value); }
    void showFatal(kz::FatalError error) override { pageShowFatal(static_cast<int32_t>(error)); }
    void ended(int exitCode) override { pageEnded(exitCode); }
};

BrowserPage page;
std::unique_ptr<kz::WebProgram> program;

}  // namespace

namespace kz {

WebProgram* currentWebProgram() {
    return program.get();
}

}  // namespace kz

extern "C" {

EMSCRIPTEN_KEEPALIVE void kz_start() {
    if (!program) {
        program = std::make_unique<kz::WebProgram>(page, kz::embeddedBitmap);
        program->start();
    }
}

EMSCRIPTEN_KEEPALIVE int32_t kz_width() {
    return program ? program->width() : 0;
}

EMSCRIPTEN_KEEPALIVE int32_t kz_height() {
    return program ? program->height() : 0;
}

EMSCRIPTEN_KEEPALIVE void kz_mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    if (program) {
        program->mouse(message, wparam, x, y);
    }
}

// lparam arrives as the 32 bits of a key message's lparam.
EMSCRIPTEN_KEEPALIVE void kz_key(uint32_t message, uint32_t wparam, uint32_t lparam) {
    if (program) {
        program->key(message, wparam, static_cast<int64_t>(lparam));
    }
}

EMSCRIPTEN_KEEPALIVE void kz_tick() {
    if (program) {
        program->tick();
    }
}

EMSCRIPTEN_KEEPALIVE void kz_command(uint32_t id) {
    if (program && id <= UINT16_MAX) {
        program->command(static_cast<uint16_t>(id));
    }
}

EMSCRIPTEN_KEEPALIVE void kz_repaint() {
    if (program) {
        program->repaint();
    }
}

// The settings the game holds now.
EMSCRIPTEN_KEEPALIVE int32_t kz_field_size() {
    return program ? program->settings().fieldSize : kz::kDefaultFieldSize;
}

EMSCRIPTEN_KEEPALIVE int32_t kz_action_type() {
    return program ? program->settings().actionType : kz::kDefaultActionType;
}

}  // extern "C"
