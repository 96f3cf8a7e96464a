#include "app/gtk/program.h"

#include <algorithm>
#include <vector>

#include "app/common/commands.h"
#include "app/common/extras_texts.h"
#include "app/common/identity.h"
#include "app/common/records_table.h"
#include "app/gtk/about_box.h"
#include "app/gtk/board_area.h"
#include "app/gtk/clipboard.h"
#include "app/gtk/day_dialog.h"
#include "app/gtk/display_loss.h"
#include "app/gtk/embedded_files.h"
#include "app/gtk/fatal_error_box.h"
#include "app/gtk/program_icon.h"
#include "app/gtk/puzzle_code_dialog.h"
#include "app/gtk/records_transfer.h"
#include "app/gtk/statistics_dialog.h"
#include "puzzle/embedded_catalogue.h"

namespace kz {
namespace {

// The largest set of pictures built in (resources/bitmaps/<scale>x).
constexpr int32_t kLargestArtScale = 3;

std::unique_ptr<SoftwareBitmap> embeddedBitmap(int32_t resourceId, int32_t scale,
                                               const CairoDisplay::Decoder& decode) {
    EmbeddedFile file(EmbeddedFile::bitmapPath(resourceId, scale));
    return file.empty() ? nullptr : decode(file.data(), file.size());
}

}  // namespace

Program::Program()
    : host_([this](uint32_t id) { session_->timer(id); },
            [] {
                if (gtk_main_level() > 0) {
                    gtk_main_quit();
                }
            }),
      translation_(GettextTranslation::defaultFolder()),
      settings_(SettingsFile::defaultPath()),
      records_(RecordsFile::defaultPath()),
      game_(GameFile::defaultPath()),
      help_(HelpPages::defaultDirectories()) {}

Program::~Program() {
    // The session's pictures live on the display's surfaces, and the window shows the
    // display's target: release them in that order.
    quitSignals_.reset();
    if (window_ && frameTick_ != 0) {
        gtk_widget_remove_tick_callback(window_->drawingArea(), frameTick_);
    }
    if (window_) {
        g_signal_handlers_disconnect_by_data(window_->window(), this);
        g_signal_handlers_disconnect_by_data(window_->drawingArea(), this);
    }
    session_.reset();
    scaled_.reset();
    display_.reset();
    window_.reset();
    g_list_free_full(icons_, g_object_unref);
}

bool Program::start() {
    // Delivered by the main loop once it runs, so start-up finishes first.
    quitSignals_ = std::make_unique<QuitSignals>([this](int) { onQuitSignal(); });

    MainWindow::Handlers handlers;
    handlers.mouse = [this](uint32_t m, uint32_t w, int32_t x, int32_t y) {
        session_->mouse(m, w, x, y);
    };
    handlers.pointerLeft = [this] { session_->pointerLeft(); };
    handlers.key = [this](uint32_t m, uint32_t w, uint32_t modifiers) {
        return session_->key(m, w, modifiers);
    };
    handlers.command = [this](uint16_t id) { session_->command(id); };
    handlers.close = [this] { host_.quit(0); };
    window_ = std::make_unique<MainWindow>(std::move(handlers), translation_);
    setBoardName(window_->drawingArea(), translation_.text(N_("Game field")));

    // Every picture lives in the X server (on X11): the program keeps no pixels of its own.
    display_ = std::make_unique<CairoDisplay>(
        [this](int32_t w, int32_t h) { return window_->createSurface(w, h); }, embeddedBitmap,
        [this](cairo_surface_t* surface, const uint32_t* pixels, int32_t w, int32_t h) {
            return window_->writePixels(surface, pixels, w, h);
        });
    // The window is asked for first, so the X server maps it while the target and the
    // pictures are made and sent. Nothing is drawn into it until the main loop runs, and by
    // then the whole screen is on the target: its first frame is complete.
    const int32_t width = GameSession::screenWidth();
    const int32_t height = GameSession::screenHeight();
    window_->show(width, height, settings_.loadAreaSize());
    // On a HiDPI screen the game draws from the pictures of the window's scale, one of
    // their pixels on one of the screen's; once the area has its size, from those that fit
    // it (see fitPicturesToArea).
    const int32_t scale =
        std::clamp(gtk_widget_get_scale_factor(GTK_WIDGET(window_->window())), 1, kLargestArtScale);
    scaled_ = std::make_unique<ScaledDisplay>(*display_, scale);
    if (!display_->makeTarget(width * scale, height * scale)) {
        showFatalError(window_->window(), FatalError::Display);
        return false;
    }
    window_->setPicture(display_->targetSurface(), scale);
    SessionOptions options;
    options.extraPlay = true;
    options.stores = {&settings_, &records_, &game_};
    catalogue_ = embeddedCatalogue();
    options.catalogue = catalogue_ ? &*catalogue_ : nullptr;
    options.translation = &translation_;
    session_ = std::make_unique<GameSession>(*scaled_, host_, *this, settings_.load(), options);
    setBoardFocusHandler(window_->drawingArea(),
                         [this](size_t place, bool press) { session_->focusOn(place, press); });
    // A log-out that takes the X server away ends the program from inside Xlib: the game
    // and its clock are kept first, as at any other end.
    whenTheDisplayIsLost([this] {
        game_.lastWrites();
        session_->end();
        settings_.save(session_->settings());
    });
    // Drawn now rather than at the first tick, so that the window's first frame is complete.
    session_->paintAll();
    session_->frame();
    // A window moved to a screen of another scale, or resized past a whole scale, draws
    // from the pictures that fit it.
    g_signal_connect(window_->window(), "notify::scale-factor", G_CALLBACK(onScaleFactor), this);
    g_signal_connect_after(window_->drawingArea(), "size-allocate", G_CALLBACK(onAreaSized), this);
    fitPicturesToArea();
    // Title bars and task switchers use the small sizes; every icon travels to the X server
    // as a window property, so the large ones are left out. Made once the window is on its
    // way, as a window manager takes a new icon at any time; the dialogs inherit it.
    icons_ = loadProgramIcons(64);
    gtk_window_set_default_icon_list(icons_);
    gtk_window_set_icon_list(window_->window(), icons_);
    return true;
}

void Program::useScale(int32_t scale) {
    scale = std::clamp(scale, 1, kLargestArtScale);
    const int32_t previous = scaled_->scale();
    if (scale == previous || !scaled_->setScale(scale)) {
        return;
    }
    const int32_t width = GameSession::screenWidth();
    const int32_t height = GameSession::screenHeight();
    if (!display_->makeTarget(width * scale, height * scale)) {
        // Too large for the server: the pictures of before, on a target of before.
        scale = previous;
        if (!scaled_->setScale(scale) || !display_->makeTarget(width * scale, height * scale)) {
            showFatalError(window_->window(), FatalError::Display);
            host_.quit(1);
            return;
        }
    }
    window_->setPicture(display_->targetSurface(), scale);
    // The new target is drawn whole at once: a change of size comes in the frame clock's
    // layout phase, after its tick, and the area shows the target in the same frame.
    session_->paintAll();
    session_->frame();
}

void Program::fitPicturesToArea() {
    GtkWidget* area = window_->drawingArea();
    if (gtk_widget_get_allocated_width(area) > 1) {
        useScale(boardFit(area).pictureScale(gtk_widget_get_scale_factor(area), kLargestArtScale));
    } else {
        useScale(gtk_widget_get_scale_factor(area));
    }
}

void Program::onScaleFactor(GObject*, GParamSpec*, gpointer self) {
    static_cast<Program*>(self)->fitPicturesToArea();
}

void Program::onAreaSized(GtkWidget*, GdkRectangle*, gpointer self) {
    static_cast<Program*>(self)->fitPicturesToArea();
}

int Program::run() {
    if (!start()) {
        return 1;
    }
    if (!host_.quitRequested()) {
        gtk_main();
    }
    // A game still running is kept for the next run (or, when it cannot be, counts as left
    // in the records). The settings were stored at each choice, and are once more at the end,
    // over whatever was written behind the program's back.
    game_.lastWrites();
    session_->end();
    settings_.save(session_->settings());
    settings_.saveAreaSize(window_->keptAreaSize());
    return host_.exitCode();
}

void Program::onQuitSignal() {
    if (session_) {
        session_->command(command::Exit);
    } else {
        host_.quit(0);
    }
    // A modal box (About, an error) runs a loop of its own; answering it lets the program
    // reach its end.
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next) {
        if (GTK_IS_DIALOG(w->data) && gtk_widget_get_visible(GTK_WIDGET(w->data))) {
            gtk_dialog_response(GTK_DIALOG(w->data), GTK_RESPONSE_DELETE_EVENT);
        }
    }
    g_list_free(windows);
}

void Program::windowChanged(const WindowState& window) {
    for (const int group : {kFieldSizeGroup, kActionTypeGroup, kDifficultyGroup}) {
        if (const uint16_t marked = window.menu.marked(group)) {
            window_->menuBar().mark(marked);
        }
    }
    for (const uint16_t id : kGreyableCommands) {
        window_->menuBar().setEnabled(id, window.menu.commands.enabled(id));
    }
    // The note in the title: the board stays uncovered and the window keeps its size.
    gtk_window_set_title(window_->window(), window.titleWithNote().c_str());
}

void Program::fatal(FatalError error) {
    showFatalError(window_->window(), error);
}

void Program::present(const std::vector<Rect>& areas) {
    window_->present(areas);
}

void Program::frameWanted() {
    if (frameTick_ == 0) {
        frameTick_ =
            gtk_widget_add_tick_callback(window_->drawingArea(), onFrameTick, this, nullptr);
    }
}

gboolean Program::onFrameTick(GtkWidget*, GdkFrameClock*, gpointer self) {
    // One tick per frame asked for: nothing runs while the game is still.
    auto* program = static_cast<Program*>(self);
    program->frameTick_ = 0;
    program->session_->frame();
    return G_SOURCE_REMOVE;
}

void Program::openHelp(HelpTopic topic) {
    openHelpPage(window_->window(), help_, topic);
}

void Program::showAbout() {
    GdkPixbuf* logo = loadProgramIcon(128);
    runAboutBox(window_->window(), logo);
    if (logo) {
        g_object_unref(logo);
    }
}

void Program::recordsUnsaved(bool unsaved) {
    if (unsaved) {
        window_->showNotice(kRecordsUnsavedText);
        announce(kRecordsUnsavedText);
    } else {
        window_->hideNotice();
    }
}

void Program::copyText(const std::string& text, const std::string& copied) {
    putTextOnClipboard(window_->drawingArea(), text);
    announce(copied);
}

void Program::ask(const Question& question) {
    GtkWindow* parent = window_->window();
    switch (question.kind) {
        case Question::PuzzleCode:
            kz::askPuzzleCode(
                parent, [this](const std::string& code) { return session_->playPuzzle(code); },
                translation_);
            break;
        case Question::Day:
            if (const std::optional<CalendarDay> day =
                    askDay(parent, question.first, question.today, translation_)) {
                session_->playDay(*day);
            }
            break;
        case Question::RecordsFile:
            if (const std::optional<std::string> text = chooseRecordsFile(parent, translation_)) {
                tellRecordsImport(parent, session_->importRecords(*text), translation_);
            }
            break;
        case Question::SaveRecords:
            exportRecordsToFile(parent, question.text, translation_);
            break;
    }
}

void Program::showStatistics(const Records& records, CalendarDay today) {
    runStatisticsDialog(window_->window(), records, today, translation_,
                        [this] { session_->resetRecords(); });
}

void Program::announce(const std::string& text) {
    announceOnBoard(window_->drawingArea(), text);
}

void Program::focusPlacesChanged(const FocusPlaces& places) {
    setBoardPlaces(window_->drawingArea(), places);
    setBoardDescription(window_->drawingArea(), places.description);
}

}  // namespace kz
