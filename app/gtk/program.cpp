#include "app/gtk/program.h"

#include <cstdio>
#include <cstdlib>

#include "app/common/commands.h"
#include "app/gtk/about_box.h"
#include "app/gtk/embedded_files.h"
#include "app/gtk/fatal_error.h"
#include "app/gtk/program_icon.h"

namespace kz {
namespace {

// The screen's size with the pictures of this program: a 5 x 5 field of 80 + 15 pixel
// cells and its closing row of sticks, plus 200 for the side panels; 500 high.
constexpr int32_t kScreenWidth = 690;
constexpr int32_t kScreenHeight = 500;

std::vector<uint8_t> embeddedBitmap(int32_t resourceId) {
    EmbeddedFile file(EmbeddedFile::bitmapPath(resourceId));
    return std::vector<uint8_t>(file.data(), file.data() + file.size());
}

}  // namespace

Program::Program()
    : host_([this](uint32_t) { onTick(); },
            [] {
                if (gtk_main_level() > 0) {
                    gtk_main_quit();
                }
            }),
      settings_(SettingsStore::defaultPath()),
      help_(HelpPages::defaultDirectories()) {
    // A test hook: prints the menu marks and the drawing area's place on the screen.
    const char* debug = std::getenv("KZ_DEBUG_PRINT_STATE");
    printState_ = debug && *debug && std::string(debug) != "0";
}

Program::~Program() {
    // The screen borrows the pictures, the pictures live on the display's surfaces, and
    // the display draws into the window's pixels: release them in that order.
    screen_.reset();
    images_.clear();
    if (activeDisplay() == display_.get()) {
        setActiveDisplay(nullptr);
    }
    display_.reset();
    window_.reset();
    g_list_free_full(icons_, g_object_unref);
}

bool Program::start() {
    // Title bars and task switchers use the small sizes; every icon travels to the X server
    // as a window property, so the large ones are left out.
    icons_ = loadProgramIcons(64);
    gtk_window_set_default_icon_list(icons_);

    MainWindow::Handlers handlers;
    handlers.mouse = [this](uint32_t m, uint32_t w, int32_t x, int32_t y) { onMouse(m, w, x, y); };
    handlers.key = [this](uint32_t m, uint32_t w, int64_t l) { onKey(m, w, l); };
    handlers.command = [this](uint16_t id) { onMenuCommand(id); };
    handlers.close = [this] { host_.quit(0); };
    handlers.firstShown = [this] { onFirstShown(); };
    window_ = std::make_unique<MainWindow>(std::move(handlers));

    uint32_t* pixels = window_->createPixels(kScreenWidth, kScreenHeight);
    if (!pixels) {
        showFatalError(window_->window(), FatalError::Display);
        return false;
    }
    display_ =
        std::make_unique<SoftwareDisplay>(pixels, kScreenWidth, kScreenHeight, embeddedBitmap);
    setActiveDisplay(display_.get());

    GameSettings settings = settings_.load();
    window_->menuBar().markFieldSize(settings.fieldSize);
    window_->menuBar().markActionType(settings.actionType);

    for (const ImageInfo& info : kImageTable) {
        images_.push_back(std::make_unique<Image>(BitmapName::resource(info.resourceId), info.width,
                                                  info.height, info.columns, info.rows,
                                                  info.frameCount));
    }
    std::array<Image*, kImageCount> screenImages{};
    for (size_t i = 0; i < kScreenImageOrder.size(); ++i) {
        for (size_t j = 0; j < kImageTable.size(); ++j) {
            if (kImageTable[j].resourceId == kScreenImageOrder[i]) {
                screenImages[i] = images_[j].get();
            }
        }
    }
    screen_ = std::make_unique<GameScreen>(nullptr, 0, 0, screenImages, host_);
    screen_->setFieldSize(settings.fieldSize);
    screen_->setActionType(static_cast<ActionType>(settings.actionType));
    if (screen_->getWidth() != kScreenWidth || screen_->getHeight() != kScreenHeight) {
        // The target is made before the screen that gives its size; they must agree.
        showFatalError(window_->window(), FatalError::Display);
        return false;
    }

    // The whole screen is drawn once before the window appears, so its first frame is
    // complete.
    screen_->invalidateRect(Rect{0, 0, kScreenWidth, kScreenHeight});
    redraw();
    window_->show();
    return true;
}

int Program::run() {
    if (!start()) {
        return 1;
    }
    if (!host_.quitRequested()) {
        gtk_main();
    }
    GameSettings settings{screen_->getFieldSize(), screen_->getActionType()};
    settings_.save(settings);
    if (printState_) {
        printState("exit");
    }
    return host_.exitCode();
}

void Program::redraw() {
    if (failed_) {
        return;
    }
    window_->beginDrawing();
    if (!screen_->draw(display_->target())) {
        failed_ = true;
        window_->present(display_->takeWrittenRects());
        showFatalError(window_->window(), FatalError::Paint);
        host_.quit(1);
        return;
    }
    window_->present(display_->takeWrittenRects());
}

void Program::onMouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
    if (failed_) {
        return;
    }
    screen_->onMouse(message, wparam, x, y);
    redraw();
}

void Program::onKey(uint32_t message, uint32_t wparam, int64_t lparam) {
    if (failed_) {
        return;
    }
    screen_->onKey(message, wparam, lparam);
    redraw();
}

void Program::onTick() {
    if (failed_) {
        return;
    }
    screen_->onTimer();
    redraw();
}

void Program::onMenuCommand(uint16_t id) {
    if (failed_) {
        return;
    }
    if (id == command::Exit) {
        host_.quit(0);
    } else if (std::optional<int32_t> size = fieldSizeForCommand(id)) {
        screen_->setFieldSize(*size);
        window_->menuBar().markFieldSize(*size);
    } else if (std::optional<int32_t> type = actionTypeForCommand(id)) {
        screen_->setActionType(static_cast<ActionType>(*type));
        window_->menuBar().markActionType(*type);
    } else if (id == command::HelpContents) {
        openHelpPage(window_->window(), help_, HelpPage::Contents);
    } else if (id == command::HelpSearch) {
        openHelpPage(window_->window(), help_, HelpPage::Search);
    } else if (id == command::HelpIndex) {
        openHelpPage(window_->window(), help_, HelpPage::Index);
    } else if (id == command::About) {
        GdkPixbuf* logo = loadProgramIcon(128);
        runAboutBox(window_->window(), logo);
        if (logo) {
            g_object_unref(logo);
        }
    }
    if (printState_) {
        printState("command");
    }
    redraw();
}

void Program::onFirstShown() {
    if (printState_) {
        printState("shown");
    }
}

void Program::printState(const char* when) const {
    int x = 0;
    int y = 0;
    GtkWidget* area = window_->drawingArea();
    if (GdkWindow* w = gtk_widget_get_window(area)) {
        gdk_window_get_origin(w, &x, &y);
    }
    GtkAllocation a;
    gtk_widget_get_allocation(area, &a);
    std::printf(
        "%s field-size-mark=%u action-type-mark=%u field-size=%d action-type=%d "
        "area=%d,%d,%dx%d scale=%d\n",
        when, window_->menuBar().markedFieldSizeCommand(),
        window_->menuBar().markedActionTypeCommand(), screen_->getFieldSize(),
        screen_->getActionType(), x, y, a.width, a.height, gtk_widget_get_scale_factor(area));
    std::fflush(stdout);
}

}  // namespace kz
