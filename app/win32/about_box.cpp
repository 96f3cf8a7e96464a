#include "app/win32/about_box.h"

#include <shellapi.h>

#include <cstring>

#include "app/common/identity.h"
#include "app/common/settings.h"
#include "app/win32/shell.h"
#include "app/win32/window_geometry.h"
#include "resources/win32/resource.h"

namespace kz {

namespace {

// Where the link is drawn, in client pixels, and the zone that reacts to the mouse. The zone
// has a fixed size, whatever the length of the address.
constexpr int kLinkX = 80;
constexpr int kLinkY = 127;
constexpr int kLinkZoneWidth = 123;
constexpr int kLinkZoneHeight = 13;

HCURSOR arrowCursor = nullptr;
HCURSOR handCursor = nullptr;

bool inLinkZone(LPARAM lParam) {
    const int x = LOWORD(lParam);
    const int y = HIWORD(lParam);
    return x >= kLinkX && x < kLinkX + kLinkZoneWidth && y >= kLinkY &&
           y < kLinkY + kLinkZoneHeight;
}

void drawLink(HDC dc) {
    HFONT font = CreateFontA(8, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             FF_SWISS | DEFAULT_PITCH, "MS Sans Serif");
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previous = SelectObject(dc, font);
    TextOutA(dc, kLinkX, kLinkY, kMakerWebAddress, static_cast<int>(std::strlen(kMakerWebAddress)));
    SelectObject(dc, previous);
    DeleteObject(font);
}

}  // namespace

void showAboutBox(HINSTANCE instance, HWND owner) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutDialogProc, 0);
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            centreOnMainWindow(dialog);
            arrowCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
            handCursor = LoadCursorA(shell().instance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
            return TRUE;
        case WM_PAINT: {
            // Painted inside BeginPaint/EndPaint so that the background erase, which runs in
            // BeginPaint, cannot wipe the link out again.
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(dialog, &paint);
            drawLink(dc);
            EndPaint(dialog, &paint);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 0);
                return TRUE;
            }
            return FALSE;
        case WM_MOUSEMOVE:
            SetCursor(inLinkZone(lParam) ? handCursor : arrowCursor);
            return TRUE;
        case WM_LBUTTONDOWN:
            if (inLinkZone(lParam)) {
                ShellExecuteA(shell().mainWindow, "open", kMakerWebAddress, nullptr, nullptr,
                              SW_SHOW);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

void centreOnMainWindow(HWND dialog) {
    RECT d;
    RECT m;
    GetWindowRect(dialog, &d);
    GetWindowRect(shell().mainWindow, &m);
    const Rect window{d.left, d.top, d.right, d.bottom};
    const Point corner = centredOn(window, Rect{m.left, m.top, m.right, m.bottom});
    MoveWindow(dialog, corner.x, corner.y, window.width(), window.height(), TRUE);
}

}  // namespace kz
