#pragma once

#include <windows.h>

#include <ddraw.h>

#include <memory>
#include <vector>

#include "display/surface.h"

namespace kz {

class DirectDrawSurface;

// The surface layer on DirectDraw in windowed mode: the target is the primary surface (the
// whole screen, so destination rectangles are screen coordinates), clipped to the main
// window. Offscreen surfaces are filled through GDI from 24-bit bitmap resources. Every
// blit and fill is first cut to the target's own rectangle, so a window partly off the
// screen draws its visible part.
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

    // Restores lost surfaces, refills their pictures and invalidates the window.
    // False when a surface could not be restored.
    bool restoreLostSurfaces();

  private:
    friend class DirectDrawSurface;
    DirectDrawDisplay(HWND window, HINSTANCE instance);
    void forget(DirectDrawSurface* surface);
    bool fillFromBitmap(DirectDrawSurface& surface, HBITMAP bitmap, int32_t width, int32_t height);

    HWND window_;
    HINSTANCE instance_;
    IDirectDraw* directDraw_ = nullptr;
    std::unique_ptr<DirectDrawSurface> primary_;
    std::vector<DirectDrawSurface*> offscreen_;
};

}  // namespace kz
