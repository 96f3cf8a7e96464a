// Entry point, main window and message loop of the Windows program.
#include <windows.h>

#include <memory>

#include "app/common/game_session.h"
#include "app/common/identity.h"
#include "app/win32/direct_draw_display.h"
#include "app/win32/menu_commands.h"
#include "app/win32/registry_settings.h"
#include "app/win32/shell.h"
#include "app/win32/window_geometry.h"
#include "app/win32/window_host.h"
#include "resources/win32/resource.h"

namespace kz {

namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const char* const kWindowClass = "matches";

// The primary surface is the whole screen, so the root draws at the client area's screen
// position.
void followClientArea() {
    POINT origin = {0, 0};
    ClientToScreen(shell().mainWindow, &origin);
    shell().session->moveTo(origin.x, origin.y);
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
    storeSettings(shell().session->settings());
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    GameSession* session = shell().session;
    // Until start-up has built the screen, everything takes the default path.
    if (!session) {
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
        case WM_ENDSESSION:
            // Windows ends the process after this message without a WM_QUIT: the settings
            // are kept now, as at a normal exit.
            if (wParam) {
                saveSettings();
            }
            return 0;
        case WM_MOVE:
            followClientArea();
            shell().display->windowMoved();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            session->paint(Rect{paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                                paint.rcPaint.bottom});
            EndPaint(window, &paint);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            session->key(message, static_cast<uint32_t>(wParam));
            return 0;
        case WM_COMMAND:
            session->command(LOWORD(wParam));
            return 0;
        case WM_TIMER:
            session->timer();
            return 0;
        default:
            break;
    }
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
        session->mouse(message, static_cast<uint32_t>(wParam), LOWORD(lParam), HIWORD(lParam));
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
        showFatalError(nullptr, FatalError::Window);
        return 1;
    }
    HWND window =
        CreateWindowExA(0, kWindowClass, kProgramTitle, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window) {
        showFatalError(nullptr, FatalError::Window);
        return 1;
    }
    shell().mainWindow = window;
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));

    // Lives to the end of the process; the Images below are destroyed before it.
    static std::unique_ptr<DirectDrawDisplay> directDraw;
    directDraw = DirectDrawDisplay::create(window, instance);
    if (!directDraw) {
        showFatalError(window, FatalError::Display);
        return 1;
    }
    shell().display = directDraw.get();

    // The session marks the settings in the menus before it makes the Images. Like the
    // display and the window, its screen ends with the process: it is never torn down, so
    // nothing of it runs after the Images are gone.
    auto* host = new WindowHost(window);
    static MenuCommandShell commandShell;
    // The original's play alone.
    auto& session =
        *new GameSession(*directDraw, *host, commandShell, loadSettings(), SessionOptions{false});
    shell().session = &session;

    fitClientArea(session.width(), session.height());
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
    session.destroyImages();
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
