// The window probe of the Windows end-to-end tests, run under Wine beside the program: it
// tells the monitors as Windows sees them and moves the program's window from another
// process, as a tool that arranges windows does, not through the window manager.
//
//   window-probe monitors   virtual=LEFT,TOP,RIGHT,BOTTOM (the virtual screen), then
//                           monitor=LEFT,TOP,RIGHT,BOTTOM primary=0|1 for each monitor
//   window-probe place X Y  SetWindowPos on the program's window so that its client area's
//                           top-left corner stands at the screen point X, Y, the size kept;
//                           then origin=X,Y where the client area stands
//
// Exit codes: 0 done, 1 bad arguments, 2 no program window, 3 SetWindowPos failed or the
// window did not reach the point within 5 seconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The program's window class.
const char* const kWindowClass = "matches";

void printRect(const char* name, const RECT& r) {
    std::printf("%s=%ld,%ld,%ld,%ld", name, static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right), static_cast<long>(r.bottom));
}

BOOL CALLBACK printMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        printRect("monitor", info.rcMonitor);
        std::printf(" primary=%d\n", (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0);
    }
    return TRUE;
}

int monitors() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT desktop = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    printRect("virtual", desktop);
    std::printf("\n");
    EnumDisplayMonitors(nullptr, nullptr, printMonitor, 0);
    return 0;
}

POINT clientOrigin(HWND window) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

int place(HWND window, int x, int y) {
    RECT frame;
    GetWindowRect(window, &frame);
    const POINT origin = clientOrigin(window);
    // The window's frame keeps its distance from the client area.
    if (!SetWindowPos(window, nullptr, x - (origin.x - frame.left), y - (origin.y - frame.top), 0,
                      0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
        std::printf("error=SetWindowPos failed (%lu)\n", GetLastError());
        return 3;
    }
    // The program's thread moves its window when it takes the request.
    POINT now = clientOrigin(window);
    for (int i = 0; i < 100 && (now.x != x || now.y != y); ++i) {
        Sleep(50);
        now = clientOrigin(window);
    }
    std::printf("origin=%ld,%ld\n", static_cast<long>(now.x), static_cast<long>(now.y));
    return now.x == x && now.y == y ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "monitors") == 0) {
        return monitors();
    }
    if (argc == 4 && std::strcmp(argv[1], "place") == 0) {
        HWND window = FindWindowA(kWindowClass, nullptr);
        if (!window) {
            std::printf("error=no window of class %s\n", kWindowClass);
            return 2;
        }
        return place(window, std::atoi(argv[2]), std::atoi(argv[3]));
    }
    std::fprintf(stderr, "usage: window-probe monitors | place X Y\n");
    return 1;
}
