#include "app/web/web_program.h"

#include "app/common/commands.h"
#include "app/web/page_extras.h"

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

WebProgram::WebProgram(Page& page, SoftwareDisplay::BitmapResolver resolver, int32_t scale)
    : page_(page),
      storedSettings_(page),
      storedRecords_(page),
      storedGame_(page),
      softwareDisplay_(0, 0, std::move(resolver)),
      scaledDisplay_(softwareDisplay_, scale) {
    page_.showing(this);
}

WebProgram::~WebProgram() {
    // The session's parts stop their timers as they end (a hint, the records' retry), through
    // the page's intervals, which must still be there.
    session_.reset();
    page_.showing(nullptr);
}

void WebProgram::start(bool stored, bool catalogueComing) {
    if (session_) {
        return;
    }
    storeOpen_ = stored;
    catalogueSettled_ = catalogueSettled_ || !catalogueComing;
    startSession(storeOpen_ && catalogueSettled_);
    // The target gets its pixels once the screen has given its size.
    sizeFrame();
    route([this] { return session_->paintAll(); });
}

void WebProgram::startSession(bool stored) {
    SessionOptions options;
    options.extraPlay = stored;
    if (stored) {
        options.stores = {&storedSettings_, &storedRecords_, &storedGame_};
        options.catalogue = catalogue_ ? &*catalogue_ : nullptr;
    }
    // The session before it ends its timers, then the new one.
    session_.reset();
    session_ = std::make_unique<GameSession>(scaledDisplay_, page_, page_,
                                             loadSettings(storedSettings_), options);
    tookUpStored_ = stored;
}

void WebProgram::takeUpStored() {
    storeOpen_ = true;
    takeUpWhenReady();
}

bool WebProgram::takeUpCatalogue(const uint8_t* bytes, size_t size) {
    if (catalogueSettled_) {
        return false;
    }
    catalogue_ = PuzzleCatalogue::read(bytes, size);
    catalogueSettled_ = true;
    takeUpWhenReady();
    return catalogue_.has_value();
}

void WebProgram::takeUpWhenReady() {
    if (!running() || tookUpStored_ || !storeOpen_ || !catalogueSettled_) {
        return;
    }
    route([this] {
        startSession(true);
        return session_->paintAll();
    });
}

void WebProgram::sizeFrame() {
    const Rect frame = scaledDisplay_.scaled({0, 0, session_->width(), session_->height()});
    softwareDisplay_.resetTarget(frame.width(), frame.height());
    frame_.assign(static_cast<size_t>(frame.width()) * static_cast<size_t>(frame.height()) * 4, 0);
}

bool WebProgram::useScale(int32_t scale) {
    if (!running() || scale == scaledDisplay_.scale() || !scaledDisplay_.setScale(scale)) {
        return false;
    }
    sizeFrame();
    route([this] { return session_->paintAll(); });
    return true;
}

template <typename Entry>
void WebProgram::route(Entry entry) {
    if (!running()) {
        return;
    }
    entry();
    // A quit asked for during the message ends the session once its last frame is drawn.
    if (page_.quitAsked()) {
        session_->frame();
        end();
    }
}

template <typename Entry>
void WebProgram::play(Entry entry) {
    if (tookUpStored_) {
        route(entry);
    }
}

Rect WebProgram::frameArea(const Rect& area) {
    const Rect pixels = scaledDisplay_.scaled(area);
    convert(softwareDisplay_.targetPixels(), frame_, pixels);
    return pixels;
}

void WebProgram::end() {
    over_ = true;
    session_->end();
    // The page stops every interval of the session with it.
    page_.ended(page_.quitCode());
}

void WebProgram::mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    play([&] { return session_->mouse(message, wparam, x, y); });
}

void WebProgram::touch(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    play([&] { return session_->touch(message, wparam, x, y); });
}

void WebProgram::pointerLeft() {
    play([this] { return session_->pointerLeft(); });
}

bool WebProgram::key(uint32_t message, uint32_t wparam, uint32_t modifiers) {
    bool taken = false;
    play([&] { taken = session_->key(message, wparam, modifiers); });
    return taken;
}

void WebProgram::tick(uint32_t timerId) {
    route([&] { return session_->timer(timerId); });
}

void WebProgram::animationFrame() {
    route([this] { return session_->frame(); });
}

bool WebProgram::playPuzzleCode(const std::string& code) {
    bool played = false;
    play([&] { played = session_->playPuzzle(code); });
    return played;
}

bool WebProgram::playDay(const std::string& day) {
    bool played = false;
    play([&] { played = session_->playDay(std::string_view(day)); });
    return played;
}

bool WebProgram::openLink(const std::string& link) {
    bool played = false;
    play([&] { played = session_->openLink(link); });
    return played;
}

void WebProgram::resetRecords() {
    play([this] {
        session_->resetRecords();
        // The box stays open and shows the cleared records.
        session_->command(command::Statistics);
    });
}

RecordsImport WebProgram::importRecords() {
    RecordsImport result = RecordsImport::NotStored;
    if (const std::optional<std::string> text = page_.chosenRecordsFile()) {
        play([&] { result = session_->importRecords(*text); });
    }
    return result;
}

void WebProgram::storageChanged() {
    play([this] {
        session_->refreshRecords();
        if (const Records* records = session_->records()) {
            page_.statisticsChanged(statisticsJson(*records, page_.today()));
        }
    });
}

void WebProgram::leave() {
    if (running()) {
        session_->end();
    }
}

void WebProgram::keepGame() {
    if (running()) {
        session_->keepGame();
    }
}

void WebProgram::command(uint16_t id) {
    play([&] { return session_->command(id); });
}

void WebProgram::repaint() {
    route([this] { return session_->paintAll(); });
}

GameSettings WebProgram::settings() const {
    return session_ ? session_->settings() : GameSettings{};
}

}  // namespace kz
