// The web program's entry points: the page script calls the kz_ functions; the program calls
// back into the page through the handlers the page script gave the module (Module.page), by
// way of page_library.js.
#include <emscripten/emscripten.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/web/art_atlas.h"
#include "app/web/embedded_bitmaps.h"
#include "app/web/web_program.h"

// The calls into the page (page_library.js): each names the handler of the page that takes it.
extern "C" {
int32_t kz_page_call(const char* handler, int32_t first, int32_t second);
int32_t kz_page_call_text(const char* handler, const char* text, int32_t number);
int32_t kz_page_call_texts(const char* handler, const char* first, const char* second);
char* kz_page_read_text(const char* handler, const char* name);
void kz_page_areas(const int32_t* areas, int32_t count);
int32_t kz_page_call_bytes(const char* handler, const char* name, const char* bytes,
                           int32_t length);
char* kz_page_read_bytes(const char* handler, const char* name, int32_t* length);
void kz_page_present(const uint8_t* frame, int32_t width, int32_t height, int32_t x, int32_t y,
                     int32_t w, int32_t h);
}

namespace {

// The page interface carried out by the page's handlers, one line each.
class BrowserPage : public kz::Page {
  public:
    void present(const uint8_t* frame, int32_t width, int32_t height,
                 const kz::Rect& area) override {
        kz_page_present(frame, width, height, area.left, area.top, area.width(), area.height());
    }
    void layoutAreas(const std::vector<kz::Rect>& areas) override {
        std::vector<int32_t> edges;
        for (const kz::Rect& area : areas) {
            edges.insert(edges.end(), {area.left, area.top, area.right, area.bottom});
        }
        kz_page_areas(edges.data(), static_cast<int32_t>(areas.size()));
    }
    uint32_t startInterval(uint32_t timerId, uint32_t periodMs) override {
        return static_cast<uint32_t>(call("startInterval", timerId, periodMs));
    }
    void stopInterval(uint32_t handle) override { call("stopInterval", handle); }
    void beep() override { call("beep"); }
    void markRadio(uint16_t commandId) override { call("markRadio", commandId); }
    void openHelp(kz::HelpTopic topic) override { call("openHelp", static_cast<int32_t>(topic)); }
    void showAbout() override { call("showAbout"); }
    int32_t loadSetting(const char* name, char* text, size_t size) override {
        const std::optional<std::string> value = read("loadSetting", name);
        if (!value) {
            return -1;
        }
        if (size > 0) {
            const size_t kept = value->copy(text, size - 1);
            text[kept] = '\0';
        }
        return static_cast<int32_t>(value->size());
    }
    void saveSetting(const char* name, int32_t value) override {
        kz_page_call_text("saveSetting", name, value);
    }
    void showFatal(kz::FatalError error) override {
        call("showFatal", static_cast<int32_t>(error));
    }
    void ended(int exitCode) override { call("ended", exitCode); }

    // The records' text crosses with its length, so no byte in it cuts it short.
    std::optional<std::string> loadText(const char* name) override {
        return readBytes("loadText", name);
    }
    bool saveText(const char* name, const std::string& text) override {
        return callWithBytes("saveText", name, text) != 0;
    }
    bool claimGame() override { return call("claimGame") != 0; }
    void recordsUnsaved(bool unsaved) override { call("recordsUnsaved", unsaved ? 1 : 0); }
    void exportRecords(const std::string& text) override {
        callWithBytes("exportRecords", "", text);
    }
    void askRecordsFile() override { call("askRecordsFile"); }
    std::optional<std::string> chosenRecordsFile() override {
        return readBytes("chosenRecordsFile", "");
    }
    void announce(const std::string& text) override { callWithText("announce", text); }
    void describe(const std::string& text) override { callWithText("describe", text); }
    void enableCommand(uint16_t commandId, bool enabled) override {
        call("enableCommand", commandId, enabled ? 1 : 0);
    }
    void copyText(const std::string& text, const std::string& copied) override {
        kz_page_call_texts("copyText", text.c_str(), copied.c_str());
    }
    void askPuzzleCode() override { call("askPuzzleCode"); }
    void askDay(const std::string& first, const std::string& today) override {
        kz_page_call_texts("askDay", first.c_str(), today.c_str());
    }
    std::string address() override { return read("pageAddress", "").value_or(std::string()); }
    void showStatistics(const std::string& statistics) override {
        callWithText("showStatistics", statistics);
    }
    void statisticsChanged(const std::string& statistics) override {
        callWithText("statisticsChanged", statistics);
    }
    void share(const std::string& code) override { callWithText("share", code); }
    void puzzleChanged(const std::string& code) override { callWithText("puzzleChanged", code); }
    void puzzleDated(const std::string& day) override { callWithText("puzzleDated", day); }
    void puzzleGraded(const std::string& grade) override { callWithText("puzzleGraded", grade); }
    void notify(const std::string& text) override { callWithText("notify", text); }
    // The browser's clock (Date.now under Emscripten).
    int64_t unixTime() override {
        using namespace std::chrono;
        return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
    }

  private:
    static int32_t call(const char* handler, int32_t first = 0, int32_t second = 0) {
        return kz_page_call(handler, first, second);
    }
    static void callWithText(const char* handler, const std::string& text) {
        kz_page_call_text(handler, text.c_str(), 0);
    }
    static int32_t callWithBytes(const char* handler, const char* name, const std::string& text) {
        return kz_page_call_bytes(handler, name, text.data(), static_cast<int32_t>(text.size()));
    }
    static std::optional<std::string> readBytes(const char* handler, const char* name) {
        int32_t length = 0;
        char* text = kz_page_read_bytes(handler, name, &length);
        if (text == nullptr) {
            return std::nullopt;
        }
        std::string value(text, static_cast<size_t>(length));
        std::free(text);
        return value;
    }
    static std::optional<std::string> read(const char* handler, const char* name) {
        char* text = kz_page_read_text(handler, name);
        if (text == nullptr) {
            return std::nullopt;
        }
        std::string value(text);
        std::free(text);
        return value;
    }
};

BrowserPage page;
std::unique_ptr<kz::WebProgram> program;
// The larger sets the page fetched for its screen, by scale.
std::map<int32_t, kz::ArtAtlas> atlases;

std::vector<uint8_t> resolveBitmap(int32_t id, int32_t scale) {
    const auto found = atlases.find(scale);
    return found != atlases.end() ? found->second.bitmap(id) : kz::embeddedBitmap(id, scale);
}

// Keeps the set at rgba (width x height pixels of four bytes) when it is what it should be.
bool keepAtlas(int32_t scale, const uint8_t* rgba, int32_t width, int32_t height) {
    std::optional<kz::ArtAtlas> atlas = kz::ArtAtlas::cut(scale, width, height, rgba);
    if (atlas) {
        atlases.insert_or_assign(scale, std::move(*atlas));
    }
    return atlas.has_value();
}

}  // namespace

namespace kz {

WebProgram* currentWebProgram() {
    return program.get();
}

}  // namespace kz

extern "C" {

// scale: the set the page fetched for its screen, width x height pixels of four bytes at
// atlas, which the program copies; 1 (or a set that is not what it should be) draws with the
// pictures built in. waiting: 1 while the page's store is still opening, and the page calls
// kz_take_up_stored once it is open; 0 (or left out) when it can be read already.
EMSCRIPTEN_KEEPALIVE void kz_start(int32_t scale, const uint8_t* rgba, int32_t width,
                                   int32_t height, int32_t waiting) {
    if (program) {
        return;
    }
    const bool kept = scale > 1 && keepAtlas(scale, rgba, width, height);
    program = std::make_unique<kz::WebProgram>(page, resolveBitmap, kept ? scale : 1);
    program->start(waiting == 0);
}

// The page's store can be read now: the records and the kept game are taken up.
EMSCRIPTEN_KEEPALIVE void kz_take_up_stored() {
    if (program) {
        program->takeUpStored();
    }
}

// A larger set the page fetched once its layout showed the game at its size: kept for
// kz_use_scale. One that is not what it should be is not kept.
EMSCRIPTEN_KEEPALIVE void kz_use_art(int32_t scale, const uint8_t* rgba, int32_t width,
                                     int32_t height) {
    if (scale > 1) {
        keepAtlas(scale, rgba, width, height);
    }
}

// Draws from the set of a scale from now on, the whole frame again: 1, the pictures built
// in, or a set kept. 1 when the program draws from it now; 0 for a set it does not hold.
EMSCRIPTEN_KEEPALIVE int32_t kz_use_scale(int32_t scale) {
    if (!program || (scale != 1 && atlases.count(scale) == 0)) {
        return 0;
    }
    program->useScale(scale);
    return program->scale() == scale ? 1 : 0;
}

// Game pixels to frame pixels: the scale of the set the program draws with.
EMSCRIPTEN_KEEPALIVE int32_t kz_scale() {
    return program ? program->scale() : 1;
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

// A mouse message from a finger or a pen, aimed at the nearest place.
EMSCRIPTEN_KEEPALIVE void kz_touch(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    if (program) {
        program->touch(message, wparam, x, y);
    }
}

EMSCRIPTEN_KEEPALIVE void kz_pointer_left() {
    if (program) {
        program->pointerLeft();
    }
}

// modifiers as keyflag bits.
// Returns 1 when the game took the key, so the page keeps it from the browser.
EMSCRIPTEN_KEEPALIVE int32_t kz_key(uint32_t message, uint32_t wparam, uint32_t modifiers) {
    return program && program->key(message, wparam, modifiers) ? 1 : 0;
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

// code: as for kz_play_puzzle_code. Returns 1 when it named a puzzle, which now plays or was
// being played already.
EMSCRIPTEN_KEEPALIVE int32_t kz_open_puzzle_link(const char* code) {
    return program && code != nullptr && program->openPuzzleLink(code) ? 1 : 0;
}

// day: "YYYY-MM-DD" as a UTF-8 text in the module's heap. Returns 1 when its puzzle now plays:
// a day from the first puzzle's to today.
EMSCRIPTEN_KEEPALIVE int32_t kz_play_day(const char* day) {
    return program && day != nullptr && program->playDay(day) ? 1 : 0;
}

// day: as for kz_play_day. Returns 1 when its puzzle now plays or was being played already.
EMSCRIPTEN_KEEPALIVE int32_t kz_open_day_link(const char* day) {
    return program && day != nullptr && program->openDayLink(day) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kz_keep_game() {
    if (program) {
        program->keepGame();
    }
}

EMSCRIPTEN_KEEPALIVE void kz_reset_records() {
    if (program) {
        program->resetRecords();
    }
}

// The file the player chose for Import Records... is ready (the program reads it from the
// page). Returns a RecordsImport.
EMSCRIPTEN_KEEPALIVE int32_t kz_import_records() {
    return static_cast<int32_t>(program ? program->importRecords() : kz::RecordsImport::NotStored);
}

// Another tab of the page changed what is stored.
EMSCRIPTEN_KEEPALIVE void kz_storage_changed() {
    if (program) {
        program->storageChanged();
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
