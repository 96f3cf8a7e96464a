// The web program's entry points: the page script calls the kz_ functions; the program calls
// back into the page through the handlers the page script gave the module (Module.page), by
// way of page_library.js. Both lists are declared in page_calls.h.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/common/menu_table.h"
#include "app/web/art_atlas.h"
#include "app/web/embedded_bitmaps.h"
#include "app/web/page_calls.h"
#include "app/web/page_extras.h"
#include "app/web/web_program.h"
#include "puzzle/calendar_day.h"

// The calls into the page (page_library.js): each names the handler of the page that takes it.
extern "C" {
int32_t kz_page_call(const char* handler, int32_t first, int32_t second);
int32_t kz_page_call_text(const char* handler, const char* text, int32_t number);
int32_t kz_page_call_texts(const char* handler, const char* first, const char* second);
char* kz_page_read_text(const char* handler, const char* name);
void kz_page_areas(const char* handler, const int32_t* areas, int32_t count);
int32_t kz_page_call_bytes(const char* handler, const char* name, const char* bytes,
                           int32_t length);
char* kz_page_read_bytes(const char* handler, const char* name, int32_t* length);
void kz_page_present(const char* handler, const uint8_t* frame, int32_t width, int32_t height,
                     int32_t x, int32_t y, int32_t w, int32_t h);
}

namespace {

using kz::PageCallShape;
using kz::PageHandler;

// The name of a declared handler, for a call of the shape it is declared with: a call of
// another shape does not build.
template <PageHandler handler, PageCallShape shape>
constexpr const char* handlerName() {
    static_assert(kz::declaration(handler).shape == shape,
                  "the handler is declared to take its arguments in another shape");
    return kz::declaration(handler).name;
}

// The page interface carried out by the page's handlers.
class BrowserPage : public kz::Page {
  public:
    // The session's shell.
    void windowChanged(const kz::WindowState& window) override {
        for (const int group : {kz::kFieldSizeGroup, kz::kActionTypeGroup, kz::kDifficultyGroup}) {
            if (const uint16_t marked = window.menu.marked(group)) {
                call<PageHandler::markRadio>(marked);
            }
        }
        for (const uint16_t id : kz::kGreyableCommands) {
            call<PageHandler::enableCommand>(id, window.menu.commands.enabled(id) ? 1 : 0);
        }
        if (window.title != title_ || window.link != link_) {
            title_ = window.title;
            link_ = window.link;
            callWithTexts<PageHandler::showTitle>(title_, link_);
        }
        // A notice once for each note, which the session has said already.
        if (window.note != note_) {
            note_ = window.note;
            if (!note_.empty()) {
                callWithText<PageHandler::notify>(note_.c_str(), 1);
            }
        }
    }
    void openHelp(kz::HelpTopic topic) override {
        call<PageHandler::openHelp>(static_cast<int32_t>(topic));
    }
    void showAbout() override { call<PageHandler::showAbout>(); }
    void fatal(kz::FatalError error) override {
        call<PageHandler::showFatal>(static_cast<int32_t>(error));
    }
    // One put onto the canvas for the frame: the area around all that was written, as the
    // frame's other pixels there are those the canvas shows already.
    void present(const std::vector<kz::Rect>& areas) override {
        kz::WebProgram* shown = program();
        kz::Rect around;
        for (const kz::Rect& area : areas) {
            const kz::Rect pixels = shown->frameArea(area);
            around = around.empty() ? pixels
                                    : kz::Rect{std::min(around.left, pixels.left),
                                               std::min(around.top, pixels.top),
                                               std::max(around.right, pixels.right),
                                               std::max(around.bottom, pixels.bottom)};
        }
        if (!around.empty()) {
            kz_page_present(handlerName<PageHandler::present, PageCallShape::Frame>(),
                            shown->frame(), shown->frameWidth(), shown->frameHeight(), around.left,
                            around.top, around.width(), around.height());
        }
    }
    void frameWanted() override { call<PageHandler::frameWanted>(); }
    void layoutAreasChanged(const std::vector<kz::Rect>& areas) override {
        std::vector<int32_t> edges;
        for (const kz::Rect& area : areas) {
            edges.insert(edges.end(), {area.left, area.top, area.right, area.bottom});
        }
        kz_page_areas(handlerName<PageHandler::layoutAreas, PageCallShape::Areas>(), edges.data(),
                      static_cast<int32_t>(areas.size()));
    }
    void recordsUnsaved(bool unsaved) override {
        call<PageHandler::recordsUnsaved>(unsaved ? 1 : 0);
    }
    void copyText(const std::string& text, const std::string& copied) override {
        callWithTexts<PageHandler::copyText>(text, copied);
    }
    void ask(const kz::Question& question) override {
        switch (question.kind) {
            case kz::Question::PuzzleCode:
                callWithText<PageHandler::askPuzzleCode>(question.text.c_str());
                break;
            case kz::Question::Day:
                callWithTexts<PageHandler::askDay>(kz::dayText(question.first),
                                                   kz::dayText(question.today));
                break;
            case kz::Question::RecordsFile:
                call<PageHandler::askRecordsFile>();
                break;
            case kz::Question::SaveRecords:
                callWithBytes<PageHandler::exportRecords>("", question.text);
                break;
        }
    }
    std::string pageAddress() override {
        return read<PageHandler::pageAddress>("").value_or(std::string());
    }
    void showStatistics(const kz::Records& records, kz::CalendarDay today) override {
        callWithText<PageHandler::showStatistics>(kz::statisticsJson(records, today).c_str());
    }
    void share(const std::string& code, const std::string& address) override {
        callWithTexts<PageHandler::share>(code, address);
    }
    void announce(const std::string& text) override {
        callWithText<PageHandler::announce>(text.c_str());
    }
    void focusPlacesChanged(const kz::FocusPlaces& places) override {
        callWithText<PageHandler::describe>(places.description.c_str());
    }

    // The session's host. An interval calls kz_tick with the timer's id; starting one that
    // runs replaces it.
    uint32_t startTimer(uint32_t id, uint32_t periodMs) override {
        return call<PageHandler::startInterval>(id, periodMs) != 0 ? id : 0;
    }
    void stopTimer(uint32_t id) override { call<PageHandler::stopInterval>(id); }
    void beep() override { call<PageHandler::beep>(); }

    // The page's own.
    int32_t loadSetting(const char* name, char* text, size_t size) override {
        const std::optional<std::string> value = read<PageHandler::loadSetting>(name);
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
        callWithText<PageHandler::saveSetting>(name, value);
    }
    void ended(int exitCode) override { call<PageHandler::ended>(exitCode); }
    void statisticsChanged(const std::string& statistics) override {
        callWithText<PageHandler::statisticsChanged>(statistics.c_str());
    }
    std::optional<std::string> chosenRecordsFile() override {
        return readBytes<PageHandler::chosenRecordsFile>("");
    }

    // The storage. The texts cross with their length, so no byte in them cuts them short.
    std::optional<std::string> loadText(const char* name) override {
        return readBytes<PageHandler::loadText>(name);
    }
    bool saveText(const char* name, const std::string& text) override {
        return callWithBytes<PageHandler::saveText>(name, text) != 0;
    }
    bool claimGame() override { return call<PageHandler::claimGame>() != 0; }

  private:
    // What the page was last told of the window.
    std::string title_;
    std::string link_;
    std::string note_;

    template <PageHandler handler>
    static int32_t call(int32_t first = 0, int32_t second = 0) {
        return kz_page_call(handlerName<handler, PageCallShape::Numbers>(), first, second);
    }
    template <PageHandler handler>
    static void callWithText(const char* text, int32_t number = 0) {
        kz_page_call_text(handlerName<handler, PageCallShape::TextAndNumber>(), text, number);
    }
    template <PageHandler handler>
    static void callWithTexts(const std::string& first, const std::string& second) {
        kz_page_call_texts(handlerName<handler, PageCallShape::Texts>(), first.c_str(),
                           second.c_str());
    }
    template <PageHandler handler>
    static int32_t callWithBytes(const char* name, const std::string& text) {
        return kz_page_call_bytes(handlerName<handler, PageCallShape::NameAndBytes>(), name,
                                  text.data(), static_cast<int32_t>(text.size()));
    }
    template <PageHandler handler>
    static std::optional<std::string> readBytes(const char* name) {
        int32_t length = 0;
        char* text =
            kz_page_read_bytes(handlerName<handler, PageCallShape::ReadsBytes>(), name, &length);
        if (text == nullptr) {
            return std::nullopt;
        }
        std::string value(text, static_cast<size_t>(length));
        std::free(text);
        return value;
    }
    template <PageHandler handler>
    static std::optional<std::string> read(const char* name) {
        char* text = kz_page_read_text(handlerName<handler, PageCallShape::ReadsText>(), name);
        if (text == nullptr) {
            return std::nullopt;
        }
        std::string value(text);
        std::free(text);
        return value;
    }
};

// The program with the page it runs in and the sets of pictures it draws from. The module's
// entry points are plain C functions the page calls without any context, so this is the one
// object they all reach at namespace scope; nothing else is.
struct WebModule {
    BrowserPage page;
    // The larger sets the page fetched for its screen, by scale.
    std::map<int32_t, kz::ArtAtlas> atlases;
    std::unique_ptr<kz::WebProgram> program;

    std::vector<uint8_t> bitmap(int32_t id, int32_t scale) const {
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
};

WebModule web;

}  // namespace

namespace kz {

WebProgram* currentWebProgram() {
    return web.program.get();
}

}  // namespace kz

extern "C" {

// scale: the set the page fetched for its screen, width x height pixels of four bytes at
// atlas, which the program copies; 1 (or a set that is not what it should be) draws with the
// pictures built in. waiting: 1 while the page's store is still opening, and the page calls
// kz_take_up_stored once it is open; 0 (or left out) when it can be read already. The page
// fetches the catalogue after the first frame and hands it in with kz_take_up_catalogue.
EMSCRIPTEN_KEEPALIVE void kz_start(int32_t scale, const uint8_t* rgba, int32_t width,
                                   int32_t height, int32_t waiting) {
    if (web.program) {
        return;
    }
    const bool kept = scale > 1 && web.keepAtlas(scale, rgba, width, height);
    web.program = std::make_unique<kz::WebProgram>(
        web.page, [](int32_t id, int32_t set) { return web.bitmap(id, set); }, kept ? scale : 1);
    web.program->start(waiting == 0, true);
}

// The page's store can be read now: the records and the kept game are taken up, once the
// catalogue is there too.
EMSCRIPTEN_KEEPALIVE void kz_take_up_stored() {
    if (web.program) {
        web.program->takeUpStored();
    }
}

// The catalogue file the page fetched, size bytes at bytes, which the program copies; none
// (0, 0) when the fetch failed. 1 when it is a catalogue.
EMSCRIPTEN_KEEPALIVE int32_t kz_take_up_catalogue(const uint8_t* bytes, int32_t size) {
    if (!web.program) {
        return 0;
    }
    return web.program->takeUpCatalogue(size > 0 ? bytes : nullptr,
                                        size > 0 ? static_cast<size_t>(size) : 0)
               ? 1
               : 0;
}

// A larger set the page fetched once its layout showed the game at its size: kept for
// kz_use_scale. One that is not what it should be is not kept.
EMSCRIPTEN_KEEPALIVE void kz_use_art(int32_t scale, const uint8_t* rgba, int32_t width,
                                     int32_t height) {
    if (scale > 1) {
        web.keepAtlas(scale, rgba, width, height);
    }
}

// Draws from the set of a scale from now on, the whole frame again: 1, the pictures built
// in, or a set kept. 1 when the program draws from it now; 0 for a set it does not hold.
EMSCRIPTEN_KEEPALIVE int32_t kz_use_scale(int32_t scale) {
    if (!web.program || (scale != 1 && web.atlases.count(scale) == 0)) {
        return 0;
    }
    web.program->useScale(scale);
    return web.program->scale() == scale ? 1 : 0;
}

// Game pixels to frame pixels: the scale of the set the program draws with.
EMSCRIPTEN_KEEPALIVE int32_t kz_scale() {
    return web.program ? web.program->scale() : 1;
}

EMSCRIPTEN_KEEPALIVE int32_t kz_width() {
    return web.program ? web.program->width() : 0;
}

EMSCRIPTEN_KEEPALIVE int32_t kz_height() {
    return web.program ? web.program->height() : 0;
}

EMSCRIPTEN_KEEPALIVE void kz_mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    if (web.program) {
        web.program->mouse(message, wparam, x, y);
    }
}

// A mouse message from a finger or a pen, aimed at the nearest place.
EMSCRIPTEN_KEEPALIVE void kz_touch(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    if (web.program) {
        web.program->touch(message, wparam, x, y);
    }
}

EMSCRIPTEN_KEEPALIVE void kz_pointer_left() {
    if (web.program) {
        web.program->pointerLeft();
    }
}

// modifiers as keyflag bits.
// Returns 1 when the game took the key, so the page keeps it from the browser.
EMSCRIPTEN_KEEPALIVE int32_t kz_key(uint32_t message, uint32_t wparam, uint32_t modifiers) {
    return web.program && web.program->key(message, wparam, modifiers) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kz_tick(uint32_t timerId) {
    if (web.program) {
        web.program->tick(timerId);
    }
}

// The animation frame the program asked for (Page::frameWanted).
EMSCRIPTEN_KEEPALIVE void kz_frame() {
    if (web.program) {
        web.program->animationFrame();
    }
}

// code: a UTF-8 text in the module's heap. Returns 1 when it named a puzzle, which now plays.
EMSCRIPTEN_KEEPALIVE int32_t kz_play_puzzle_code(const char* code) {
    return web.program && code != nullptr && web.program->playPuzzleCode(code) ? 1 : 0;
}

// day: "YYYY-MM-DD" as a UTF-8 text in the module's heap. Returns 1 when its puzzle now plays:
// a day from the first puzzle's to today.
EMSCRIPTEN_KEEPALIVE int32_t kz_play_day(const char* day) {
    return web.program && day != nullptr && web.program->playDay(day) ? 1 : 0;
}

// link: the page's address from # on, decoded, as a UTF-8 text in the module's heap
// ("#p=CODE", "#d=YYYY-MM-DD"). Returns 1 when it named a puzzle, which now plays or was being
// played already.
EMSCRIPTEN_KEEPALIVE int32_t kz_open_link(const char* link) {
    return web.program && link != nullptr && web.program->openLink(link) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kz_keep_game() {
    if (web.program) {
        web.program->keepGame();
    }
}

EMSCRIPTEN_KEEPALIVE void kz_reset_records() {
    if (web.program) {
        web.program->resetRecords();
    }
}

// The file the player chose for Import Records... is ready (the program reads it from the
// page). Returns a RecordsImport.
EMSCRIPTEN_KEEPALIVE int32_t kz_import_records() {
    return static_cast<int32_t>(web.program ? web.program->importRecords()
                                            : kz::RecordsImport::NotStored);
}

// Another tab of the page changed what is stored.
EMSCRIPTEN_KEEPALIVE void kz_storage_changed() {
    if (web.program) {
        web.program->storageChanged();
    }
}

EMSCRIPTEN_KEEPALIVE void kz_leave() {
    if (web.program) {
        web.program->leave();
    }
}

EMSCRIPTEN_KEEPALIVE void kz_command(uint32_t id) {
    if (web.program && id <= UINT16_MAX) {
        web.program->command(static_cast<uint16_t>(id));
    }
}

EMSCRIPTEN_KEEPALIVE void kz_repaint() {
    if (web.program) {
        web.program->repaint();
    }
}

}  // extern "C"
