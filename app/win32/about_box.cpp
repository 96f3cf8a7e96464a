#include "app/win32/about_box.h"

#include <shellapi.h>

#include <cstring>

#include "app/common/identity.h"
#include "app/common/settings.h"
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

// What the box keeps while it is open; it lives in showAboutBox and reaches the dialog
// procedure as the dialog's creation parameter, kept in the dialog's user data.
struct AboutBox {
    HINSTANCE instance;
    HCURSOR arrowCursor = nullptr;
    HCURSOR handCursor = nullptr;
};

AboutBox* aboutBoxOf(HWND dialog) {
    return reinterpret_cast<AboutBox*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

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
    AboutBox box{instance};
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutDialogProc,
                    reinterpret_cast<LPARAM>(&box));
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    AboutBox* box = aboutBoxOf(dialog);
    // The messages before WM_INITDIALOG (the font, the frame) are the dialog manager's.
    if (message != WM_INITDIALOG && !box) {
        return FALSE;
    }
    switch (message) {
        case WM_INITDIALOG:
            box = reinterpret_cast<AboutBox*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            centreOnMainWindow(dialog);
            box->arrowCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
            box->handCursor = LoadCursorA(box->instance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
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
            SetCursor(inLinkZone(lParam) ? box->handCursor : box->arrowCursor);
            return TRUE;
        case WM_LBUTTONDOWN:
            if (inLinkZone(lParam)) {
                ShellExecuteA(GetWindow(dialog, GW_OWNER), "open", kMakerWebAddress, nullptr,
                              nullptr, SW_SHOW);
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
    GetWindowRect(GetWindow(dialog, GW_OWNER), &m);
    const Rect window{d.left, d.top, d.right, d.bottom};
    const Point corner = centredOn(window, Rect{m.left, m.top, m.right, m.bottom});
    MoveWindow(dialog, corner.x, corner.y, window.width(), window.height(), TRUE);
}

}  // namespace kz
