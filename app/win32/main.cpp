// Entry point, main window and message loop of the Windows program.
#include <windows.h>

#include <array>
#include <memory>

#include "app/common/commands.h"
#include "app/common/identity.h"
#include "app/common/settings.h"
#include "app/win32/direct_draw_display.h"
#include "app/win32/menu_commands.h"
#include "app/win32/registry_settings.h"
#include "app/win32/shell.h"
#include "app/win32/window_geometry.h"
#include "app/win32/window_host.h"
#include "display/image.h"
#include "resources/win32/resource.h"
#include "screen/game_screen.h"
#include "screen/image_table.h"

namespace kz {

namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const char* const kWindowClass = "matches";
const char* const kFailureText = "An unexpected error occurs, the program will now exit.";

DirectDrawDisplay* display = nullptr;
// Once a paint failure has been reported nothing is drawn again: the program is ending, and
// every further paint or timer message would otherwise open another box.
bool paintFailed = false;

void showFailure(HWND owner, const char* caption) {
    MessageBoxA(owner, kFailureText, caption, MB_OK | MB_ICONWARNING);
}

// Draws what is dirty; a failed blit ends the program with exit code 1 once the loop sees it.
void redrawScreen() {
    if (paintFailed) {
        return;
    }
    if (!shell().screen->draw(display->target())) {
        paintFailed = true;
        showFailure(shell().mainWindow, "Paint Error");
        PostQuitMessage(1);
    }
}

// The primary surface is the whole screen, so the root draws at the client area's screen
// position.
void followClientArea() {
    POINT origin = {0, 0};
    ClientToScreen(shell().mainWindow, &origin);
    shell().screen->setBaseX(origin.x);
    shell().screen->setBaseY(origin.y);
}

void fitClientArea(int32_t width, int32_t height) {
    HWND window = shell().mainWindow;
    RECT wanted = {0, 0, width, height};
    AdjustWindowRect(&wanted, kWindowStyle, TRUE);
    const WindowSize outer{wanted.right - wanted.left, wanted.bottom - wanted.top};
    RECT frame;
    GetWindowRect(window, &frame);
    MoveWindow(window, frame.left, frame.top, outer.width, outer.height, TRUE);
    RECT client;
    GetClientRect(window, &client);
    const WindowSize grown = growForClientArea(
        outer, Rect{client.left, client.top, client.right, client.bottom}, width, height);
    if (!(grown == outer)) {
        MoveWindow(window, frame.left, frame.top, grown.width, grown.height, TRUE);
    }
}

void saveSettings() {
    storeSettings(shell().screen->getFieldSize(), shell().screen->getActionType());
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    GameScreen* screen = shell().screen;
    // Until start-up has built the screen, everything takes the default path.
    if (!screen) {
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_MOVE:
            followClientArea();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            screen->invalidateRect(Rect{paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                                        paint.rcPaint.bottom});
            redrawScreen();
            EndPaint(window, &paint);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            screen->onKey(message, static_cast<uint32_t>(wParam), static_cast<int64_t>(lParam));
            redrawScreen();
            return 0;
        case WM_COMMAND:
            onMenuCommand(LOWORD(wParam));
            redrawScreen();
            return 0;
        case WM_TIMER:
            screen->onTimer();
            redrawScreen();
            return 0;
        default:
            break;
    }
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
        screen->onMouse(message, static_cast<uint32_t>(wParam), LOWORD(lParam), HIWORD(lParam));
        redrawScreen();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int run(HINSTANCE instance, int showCommand) {
    shell().instance = instance;

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExA(&windowClass)) {
        showFailure(nullptr, "Window Error");
        return 1;
    }
    HWND window =
        CreateWindowExA(0, kWindowClass, kProgramTitle, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window) {
        showFailure(nullptr, "Window Error");
        return 1;
    }
    shell().mainWindow = window;
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));

    // Lives to the end of the process; the Images below are destroyed before it.
    static std::unique_ptr<DirectDrawDisplay> directDraw;
    directDraw = DirectDrawDisplay::create(window, instance);
    if (!directDraw) {
        showFailure(window, "Direct Draw Error");
        return 1;
    }
    display = directDraw.get();
    setActiveDisplay(display);

    int32_t fieldSize = kDefaultFieldSize;
    int32_t actionType = kDefaultActionType;
    loadSettings(GetMenu(window), &fieldSize, &actionType);

    std::array<std::unique_ptr<Image>, kImageCount> images;
    for (size_t i = 0; i < kImageTable.size(); ++i) {
        const ImageInfo& info = kImageTable[i];
        images[i] = std::make_unique<Image>(BitmapName::resource(info.resourceId), info.width,
                                            info.height, info.columns, info.rows, info.frameCount);
    }
    std::array<Image*, kImageCount> screenImages{};
    for (size_t i = 0; i < kScreenImageOrder.size(); ++i) {
        for (size_t j = 0; j < kImageTable.size(); ++j) {
            if (kImageTable[j].resourceId == kScreenImageOrder[i]) {
                screenImages[i] = images[j].get();
            }
        }
    }

    // Like the display and the window, the screen ends with the process: it is never torn
    // down, so nothing of it runs after the Images are gone.
    auto* host = new WindowHost(window);
    auto& screen = *new GameScreen(nullptr, 0, 0, screenImages, *host);
    screen.setFieldSize(fieldSize);
    screen.setActionType(static_cast<ActionType>(actionType));
    shell().screen = &screen;

    fitClientArea(screen.getWidth(), screen.getHeight());
    followClientArea();
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    saveSettings();
    for (auto& image : images) {
        image.reset();
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

Shell& shell() {
    static Shell state;
    return state;
}

}  // namespace kz

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return kz::run(instance, showCommand);
}
