#pragma once

#include <windows.h>

#include <ddraw.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/win32/blit_clipping.h"
#include "display/surface.h"

namespace kz {

class DirectDrawSurface;

// The surface layer on DirectDraw in windowed mode: the target is the primary surface (the
// whole screen, so destination rectangles are screen coordinates), clipped to the main
// window. Offscreen surfaces are filled through GDI from 24-bit bitmap resources.
//
// The window may stand on any monitor, and screen coordinates left of or above the primary
// monitor are negative, so every blit and fill on the screen is cut to the virtual screen
// (all monitors), not to the size the primary surface reports, which is the primary
// monitor's. Windows' primary surface addresses the whole desktop; Wine's addresses the
// primary monitor alone and refuses a rectangle beyond it (DDERR_INVALIDRECT), and Wine's
// OpenGL renderer shows a blit on the primary surface by presenting its own picture of the
// whole client area, which beyond the primary monitor is the one from when that part last
// stood on it. So while the client area reaches beyond the primary surface, every blit and
// fill on the screen, the part on the primary monitor too, is composed in a scratch surface
// and copied to the window's device context with GDI, which draws on every monitor; a move
// onto or off the primary monitor repaints the whole client area the new way. Otherwise a
// blit goes to the primary surface, and a piece of it beyond the primary surface's own
// rectangle (outside the client area) is blitted on its own and drawn through the window
// when refused. Any other failure fails the redraw.
//
// Surfaces can be lost (display mode change, lock screen). The display remembers which
// bitmap filled each offscreen surface, so on loss it restores every surface, reloads the
// pictures, asks the window for a full repaint and retries the failed blit once.
class DirectDrawDisplay : public Display {
  public:
    // Opens the display for the window; null when any DirectDraw step fails.
    static std::unique_ptr<DirectDrawDisplay> create(HWND window, HINSTANCE instance);
    ~DirectDrawDisplay() override;

    Surface* target() override;
    std::unique_ptr<Bitmap> openBitmap(const BitmapName& name, int32_t width,
                                       int32_t height) override;
    std::unique_ptr<Surface> createSurface(int32_t width, int32_t height,
                                           const ColourKey* key) override;
    bool copyBitmap(Surface& surface, const Bitmap& bitmap) override;
    bool blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
              uint32_t flags) override;
    bool fill(Surface& target, const Rect& dst, uint32_t colour) override;

    // The window has moved: after a move onto or off the primary monitor the whole client
    // area is repainted.
    void windowMoved();

    // Restores lost surfaces, refills their pictures and invalidates the window.
    // False when a surface could not be restored.
    bool restoreLostSurfaces();

  private:
    friend class DirectDrawSurface;
    DirectDrawDisplay(HWND window, HINSTANCE instance);
    void forget(DirectDrawSurface* surface);
    bool fillFromBitmap(DirectDrawSurface& surface, HBITMAP bitmap, int32_t width, int32_t height);
    // Draws a blit or fill on the screen piece by piece. blt does one piece on the surface
    // it is given: the primary surface, or the scratch surface for a piece that goes through
    // the window. keyed: key-coloured source pixels leave what is under them.
    using PieceBlt = std::function<HRESULT(IDirectDrawSurface* to, RECT& dst, RECT& src)>;
    bool drawOnScreen(const Rect& dst, const Rect& src, bool keyed, const PieceBlt& blt);
    bool drawThroughWindow(const ClippedBlit& piece, bool keyed, const PieceBlt& blt);
    // The same on an offscreen target, cut to its own rectangle.
    bool drawOnSurface(IDirectDrawSurface* to, const Rect& dst, const Rect& src,
                       const PieceBlt& blt);
    DirectDrawSurface* scratchFor(int32_t width, int32_t height);
    // Whether the client area now lies wholly on the primary surface (see onPrimarySurface),
    // given the primary surface's rectangle and the desktop's; a change since the last
    // answer invalidates the whole client area, to be painted again the new way.
    bool clientOnPrimary(const Rect& primaryBounds, const Rect& desktop);
    HRESULT withRestore(const std::function<HRESULT()>& attempt);

    HWND window_;
    HINSTANCE instance_;
    IDirectDraw* directDraw_ = nullptr;
    std::unique_ptr<DirectDrawSurface> primary_;
    std::vector<DirectDrawSurface*> offscreen_;
    std::unique_ptr<DirectDrawSurface> scratch_;  // made at the first piece drawn through GDI
    bool clientOnPrimary_ = true;                 // the window opens on the primary monitor
};

}  // namespace kz
