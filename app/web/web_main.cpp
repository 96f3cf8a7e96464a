// The web program's entry points: the page script calls the kz_ functions; the program calls
// back into the page through the handlers the page script gave the module (Module.page).
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "app/web/embedded_bitmaps.h"
#include "app/web/web_program.h"

namespace {

// clang-format off
EM_JS(void, pagePresent, (const uint8_t* frame, int32_t width, int32_t height, int32_t x,
                          int32_t y, int32_t w, int32_t h), {
    Module.page.present(HEAPU8, frame, width, height, x, y, w, h);
});
EM_JS(uint32_t, pageStartInterval, (uint32_t timerId, uint32_t periodMs), {
    return Module.page.startInterval(timerId, periodMs);
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
// The stored text in memory of the module's heap, which the caller frees; null for none.
EM_JS(char*, pageLoadText, (const char* name), {
    const value = Module.page.loadText(UTF8ToString(name));
    if (value === null) {
        return 0;
    }
    const size = lengthBytesUTF8(value) + 1;
    const text = _malloc(size);
    if (text) {
        stringToUTF8(value, text, size);
    }
    return text;
});
EM_JS(int32_t, pageSaveText, (const char* name, const char* text), {
    return Module.page.saveText(UTF8ToString(name), UTF8ToString(text)) ? 1 : 0;
});
EM_JS(void, pageAnnounce, (const char* text), { Module.page.announce(UTF8ToString(text)); });
EM_JS(void, pageDescribe, (const char* text), { Module.page.describe(UTF8ToString(text)); });
EM_JS(void, pageEnableCommand, (uint32_t commandId, int32_t enabled), {
    Module.page.enableCommand(commandId, enabled !== 0);
});
EM_JS(void, pageCopyText, (const char* text), { Module.page.copyText(UTF8ToString(text)); });
EM_JS(void, pageAskPuzzleCode, (), { Module.page.askPuzzleCode(); });
EM_JS(void, pageShowStatistics, (const char* statistics), {
    Module.page.showStatistics(UTF8ToString(statistics));
});
EM_JS(void, pageShare, (const char* code), { Module.page.share(UTF8ToString(code)); });
EM_JS(void, pagePuzzleChanged, (const char* code), {
    Module.page.puzzleChanged(UTF8ToString(code));
});
EM_JS(void, pageNotify, (const char* text), { Module.page.notify(UTF8ToString(text)); });
EM_JS(double, pageUnixTime, (), { return Math.floor(Date.now() / 1000); });
// clang-format on

class BrowserPage : public kz::Page {
  public:
    void present(const uint8_t* frame, int32_t width, int32_t height,
                 const kz::Rect& area) override {
        pagePresent(frame, width, height, area.left, area.top, area.width(), area.height());
    }
    uint32_t startInterval(uint32_t timerId, uint32_t periodMs) override {
        return pageStartInterval(timerId, periodMs);
    }
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

    std::optional<std::string> loadText(const char* name) override {
        char* text = pageLoadText(name);
        if (text == nullptr) {
            return std::nullopt;
        }
        std::string value(text);
        std::free(text);
        return value;
    }
    bool saveText(const char* name, const std::string& text) override {
        return pageSaveText(name, text.c_str()) != 0;
    }
    void announce(const std::string& text) override { pageAnnounce(text.c_str()); }
    void describe(const std::string& text) override { pageDescribe(text.c_str()); }
    void enableCommand(uint16_t commandId, bool enabled) override {
        pageEnableCommand(commandId, enabled ? 1 : 0);
    }
    void copyText(const std::string& text) override { pageCopyText(text.c_str()); }
    void askPuzzleCode() override { pageAskPuzzleCode(); }
    void showStatistics(const std::string& statistics) override {
        pageShowStatistics(statistics.c_str());
    }
    void share(const std::string& code) override { pageShare(code.c_str()); }
    void puzzleChanged(const std::string& code) override { pagePuzzleChanged(code.c_str()); }
    void notify(const std::string& text) override { pageNotify(text.c_str()); }
    int64_t unixTime() override { return static_cast<int64_t>(pageUnixTime()); }
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

// lparam arrives as the 32 bits of a key message's lparam, modifiers as keyflag bits.
// Returns 1 when the game took the key, so the page keeps it from the browser.
EMSCRIPTEN_KEEPALIVE int32_t kz_key(uint32_t message, uint32_t wparam, uint32_t lparam,
                                    uint32_t modifiers) {
    return program && program->key(message, wparam, static_cast<int64_t>(lparam), modifiers) ? 1
                                                                                             : 0;
}

EMSCRIPTEN_KEEPALIVE void kz_tick(uint32_t timerId) {
    if (program) {
        program->tick(timerId);
    }
}

// code: a UTF-8 text in the module's heap. Returns 1 when it named a puzzle, which now plays.
EMSCRIPTEN_KEEPALIVE int32_t kz_play_puzzle_code(const char* code) {
    return program && code != nullptr && program->playPuzzleCode(code) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kz_reset_records() {
    if (program) {
        program->resetRecords();
    }
}

EMSCRIPTEN_KEEPALIVE void kz_leave() {
    if (program) {
        program->leave();
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
