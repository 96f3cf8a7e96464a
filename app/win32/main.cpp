// Entry point, main window and message loop of the Windows program.
#include <windows.h>

#include <memory>

#include "app/common/game_session.h"
#include "app/common/identity.h"
#include "app/win32/direct_draw_display.h"
#include "app/win32/menu_commands.h"
#include "app/win32/registry_settings.h"
#include "app/win32/window_geometry.h"
#include "app/win32/window_host.h"
#include "resources/win32/resource.h"

namespace kz {

namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const char* const kWindowClass = "matches";

// What the window procedure reaches through the main window: the window carries it in its
// user data from the moment start-up has built the session, so the program keeps no global.
struct MainWindow {
    DirectDrawDisplay& display;
    GameSession& session;
};

MainWindow* mainWindowOf(HWND window) {
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The primary surface is the whole screen, so the root draws at the client area's screen
// position.
void followClientArea(HWND window, GameSession& session) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    session.moveTo(origin.x, origin.y);
}

void fitClientArea(HWND window, int32_t width, int32_t height) {
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

void saveSettings(GameSession& session) {
    storeSettings(session.settings());
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* state = mainWindowOf(window);
    // Until start-up has built the screen, everything takes the default path.
    if (!state) {
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    // Every message routed to the session is followed by its frame, which draws what is dirty.
    GameSession* session = &state->session;
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_ENDSESSION:
            // Windows ends the process after this message without a WM_QUIT: the settings
            // are kept now, as at a normal exit.
            if (wParam) {
                saveSettings(*session);
            }
            return 0;
        case WM_MOVE:
            followClientArea(window, *session);
            state->display.windowMoved();
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            session->paint(Rect{paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                                paint.rcPaint.bottom});
            session->frame();
            EndPaint(window, &paint);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            session->key(message, static_cast<uint32_t>(wParam));
            session->frame();
            return 0;
        case WM_COMMAND:
            session->command(LOWORD(wParam));
            session->frame();
            return 0;
        case WM_TIMER:
            session->timer();
            session->frame();
            return 0;
        default:
            break;
    }
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) {
        session->mouse(message, static_cast<uint32_t>(wParam), LOWORD(lParam), HIWORD(lParam));
        session->frame();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int run(HINSTANCE instance, int showCommand) {
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
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));

    // Lives to the end of the loop; the Images below are destroyed before it.
    const std::unique_ptr<DirectDrawDisplay> directDraw =
        DirectDrawDisplay::create(window, instance);
    if (!directDraw) {
        showFatalError(window, FatalError::Display);
        return 1;
    }

    // The session marks the settings in the menus before it makes the Images. Like the
    // window, its screen ends with the process: it is never torn down, so nothing of it runs
    // after the Images are gone.
    auto* host = new WindowHost(window);
    MenuCommandShell commandShell(instance, window);
    // The Windows program plays none of the extra play, and keeps its settings itself.
    auto& session =
        *new GameSession(*directDraw, *host, commandShell, loadSettings(), SessionOptions{});
    MainWindow state{*directDraw, session};
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

    fitClientArea(window, session.width(), session.height());
    followClientArea(window, session);
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    saveSettings(session);
    session.destroyImages();
    // Nothing of the session is to run once the loop's state is gone.
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return static_cast<int>(message.wParam);
}

}  // namespace

}  // namespace kz

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return kz::run(instance, showCommand);
}
