#include "app/web/web_program.h"

#include "app/common/commands.h"
#include "app/common/touch_aim.h"
#include "app/web/local_storage_settings.h"
#include "app/web/page_extras.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/todays_puzzle.h"

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
      softwareDisplay_(0, 0, std::move(resolver)),
      scaledDisplay_(softwareDisplay_, scale) {}

WebProgram::~WebProgram() {
    // The session's parts stop their timers as they end (a hint, the records' retry), through
    // this program's intervals, which must still be there.
    session_.reset();
    for (const auto& entry : intervals_) {
        page_.stopInterval(entry.second);
    }
}

void WebProgram::start(bool stored) {
    if (session_) {
        return;
    }
    startSession(stored);
    // The target gets its pixels once the screen has given its size.
    sizeFrame();
    route([this] { return session_->paintAll(); });
}

void WebProgram::startSession(bool stored) {
    session_ = std::make_unique<GameSession>(scaledDisplay_, *this, *this,
                                             loadStoredSettings(page_), SessionOptions{stored});
    tookUpStored_ = stored;
}

void WebProgram::takeUpStored() {
    if (!running() || tookUpStored_) {
        return;
    }
    tookUpStored_ = true;
    route([this] {
        session_->takeUpExtraPlay();
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
    // A quit asked for during the message ends the session once its draw is done.
    if (quitRequested_) {
        end();
        return;
    }
    sendAreas();
}

template <typename Entry>
void WebProgram::play(Entry entry) {
    if (tookUpStored_) {
        route(entry);
    }
}

void WebProgram::sendAreas() {
    std::vector<Rect> areas = TouchAim(session_->screen()).layoutAreas();
    if (areas != areas_) {
        areas_ = std::move(areas);
        page_.layoutAreas(areas_);
    }
}

void WebProgram::present(const std::vector<Rect>& areas) {
    for (const Rect& area : areas) {
        const Rect pixels = scaledDisplay_.scaled(area);
        convert(softwareDisplay_.targetPixels(), frame_, pixels);
        page_.present(frame_.data(), softwareDisplay_.width(), softwareDisplay_.height(), pixels);
    }
}

void WebProgram::end() {
    over_ = true;
    session_->end();
    for (const auto& entry : intervals_) {
        page_.stopInterval(entry.second);
    }
    intervals_.clear();
    page_.ended(quitCode_);
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
    // A tick that was already queued when its timer stopped is not the session's.
    if (intervals_.count(timerId) != 0) {
        route([&] { return session_->timer(timerId); });
    }
}

bool WebProgram::playPuzzleCode(const std::string& code) {
    bool played = false;
    play([&] { played = session_->playPuzzle(code); });
    return played;
}

bool WebProgram::openPuzzleLink(const std::string& code) {
    const std::optional<PuzzleOrigin> origin = puzzleFromCode(code);
    if (origin && running() && session_->puzzleInPlay() == puzzleCode(*origin)) {
        return true;
    }
    return playPuzzleCode(code);
}

bool WebProgram::playDay(const std::string& day) {
    const std::optional<CalendarDay> chosen = dayFromText(day);
    bool played = false;
    if (chosen) {
        play([&] { played = session_->playDay(*chosen); });
    }
    return played;
}

bool WebProgram::openDayLink(const std::string& day) {
    const std::optional<CalendarDay> linked = dayFromText(day);
    if (linked && running() && *linked >= kFirstPuzzleDay && *linked <= today() &&
        session_->puzzleInPlay() == puzzleCode(puzzleOfDay(*linked))) {
        return true;
    }
    return playDay(day);
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
    const std::optional<std::string> text = page_.chosenRecordsFile();
    if (text) {
        play([&] { result = session_->importRecords(*text); });
    }
    return result;
}

void WebProgram::storageChanged() {
    play([this] {
        session_->refreshRecords();
        if (const Records* records = session_->records()) {
            page_.statisticsChanged(statisticsJson(*records, today()));
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

uint32_t WebProgram::startTimer(uint32_t id, uint32_t periodMs) {
    // As with a window timer, starting an id that runs replaces it.
    stopTimer(id);
    if (over_) {
        return 0;
    }
    const uint32_t handle = page_.startInterval(id, periodMs);
    if (handle == 0) {
        return 0;
    }
    intervals_[id] = handle;
    return id;
}

void WebProgram::stopTimer(uint32_t id) {
    const auto found = intervals_.find(id);
    if (found != intervals_.end()) {
        page_.stopInterval(found->second);
        intervals_.erase(found);
    }
}

void WebProgram::beep() {
    page_.beep();
}

void WebProgram::quit(int exitCode) {
    if (!quitRequested_) {
        quitRequested_ = true;
        quitCode_ = exitCode;
    }
}

void WebProgram::mark(int, uint16_t commandId) {
    page_.markRadio(commandId);
}

void WebProgram::fatal(FatalError error) {
    page_.showFatal(error);
}

void WebProgram::openHelp(HelpTopic topic) {
    page_.openHelp(topic);
}

void WebProgram::showAbout() {
    page_.showAbout();
}

void WebProgram::settingsChanged(const GameSettings& changed) {
    saveStoredSettings(page_, changed);
}

}  // namespace kz
