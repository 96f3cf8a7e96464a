#include "app/win32/direct_draw_display.h"

#include <algorithm>
#include <optional>

#include "app/win32/lost_surface_retry.h"

namespace kz {

// The core's blit flags are DirectDraw's own, so they pass through unchanged.
static_assert(kBlitWait == DDBLT_WAIT, "blit flag values must match DirectDraw's");
static_assert(kBlitKeySource == DDBLT_KEYSRC, "blit flag values must match DirectDraw's");
static_assert(kBlitColourFill == DDBLT_COLORFILL, "blit flag values must match DirectDraw's");
static_assert(sizeof(Rect) == sizeof(RECT), "Rect is handed to DirectDraw as a RECT");
static_assert(kInvalidRectStatus == DDERR_INVALIDRECT, "the refused-rectangle status");
// The records DirectDraw checks by their dwSize: 108 and 100 bytes in a 32-bit program, more
// in a 64-bit one, whose pointer fields are wider.
constexpr bool kThirtyTwoBit = sizeof(void*) == 4;
static_assert(sizeof(DDSURFACEDESC) == (kThirtyTwoBit ? 108 : 120), "DDSURFACEDESC layout");
static_assert(sizeof(DDBLTFX) == (kThirtyTwoBit ? 100 : 128), "DDBLTFX layout");

// A DirectDraw surface. Offscreen surfaces remember the bitmap they were filled from so the
// picture can be put back after the surface was lost.
class DirectDrawSurface : public Surface {
  public:
    DirectDrawSurface(DirectDrawDisplay* display, IDirectDrawSurface* surface)
        : display_(display), surface_(surface) {}
    ~DirectDrawSurface() override {
        if (display_) {
            display_->forget(this);
        }
        surface_->Release();
    }
    DirectDrawSurface(const DirectDrawSurface&) = delete;
    DirectDrawSurface& operator=(const DirectDrawSurface&) = delete;

    IDirectDrawSurface* get() const { return surface_; }

    BitmapName picture;
    int32_t pictureWidth = 0;
    int32_t pictureHeight = 0;
    bool hasPicture = false;

  private:
    DirectDrawDisplay* display_;  // null for the primary surface
    IDirectDrawSurface* surface_;
};

namespace {

// A bitmap decoded by GDI as a device-independent section.
class GdiBitmap : public Bitmap {
  public:
    GdiBitmap(HBITMAP bitmapHandle, BitmapName bitmapName, int32_t bitmapWidth,
              int32_t bitmapHeight)
        : handle(bitmapHandle),
          name(std::move(bitmapName)),
          width(bitmapWidth),
          height(bitmapHeight) {}
    ~GdiBitmap() override { DeleteObject(handle); }
    GdiBitmap(const GdiBitmap&) = delete;
    GdiBitmap& operator=(const GdiBitmap&) = delete;

    HBITMAP handle;
    BitmapName name;
    int32_t width;
    int32_t height;
};

HBITMAP loadBitmap(HINSTANCE instance, const BitmapName& name, int32_t width, int32_t height) {
    HANDLE image = nullptr;
    if (name.resourceId != 0) {
        image = LoadImageA(instance, MAKEINTRESOURCEA(name.resourceId), IMAGE_BITMAP, width, height,
                           LR_CREATEDIBSECTION);
    }
    if (!image && !name.path.empty()) {
        image = LoadImageA(nullptr, name.path.c_str(), IMAGE_BITMAP, width, height,
                           LR_CREATEDIBSECTION | LR_LOADFROMFILE);
    }
    return static_cast<HBITMAP>(image);
}

RECT toRect(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

// The surface's own rectangle: for the primary surface, the screen. Nothing when the
// surface cannot say, and the blit then goes out unclipped for DirectDraw to judge.
std::optional<Rect> surfaceBounds(IDirectDrawSurface* surface) {
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    if (FAILED(surface->GetSurfaceDesc(&desc)) || (desc.dwFlags & DDSD_WIDTH) == 0 ||
        (desc.dwFlags & DDSD_HEIGHT) == 0) {
        return std::nullopt;
    }
    return Rect{0, 0, static_cast<int32_t>(desc.dwWidth), static_cast<int32_t>(desc.dwHeight)};
}

// Every monitor of the desktop, in screen coordinates; those left of or above the primary
// monitor are negative.
Rect virtualScreen() {
    const int32_t x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int32_t y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return Rect{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

}  // namespace

std::unique_ptr<DirectDrawDisplay> DirectDrawDisplay::create(HWND window, HINSTANCE instance) {
    std::unique_ptr<DirectDrawDisplay> display(new DirectDrawDisplay(window, instance));
    if (FAILED(DirectDrawCreate(nullptr, &display->directDraw_, nullptr))) {
        return nullptr;
    }
    IDirectDraw* dd = display->directDraw_;
    if (FAILED(dd->SetCooperativeLevel(window, DDSCL_NORMAL))) {
        return nullptr;
    }
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface* primary = nullptr;
    if (FAILED(dd->CreateSurface(&desc, &primary, nullptr))) {
        return nullptr;
    }
    display->primary_ = std::make_unique<DirectDrawSurface>(nullptr, primary);
    IDirectDrawClipper* clipper = nullptr;
    if (FAILED(dd->CreateClipper(0, &clipper, nullptr))) {
        return nullptr;
    }
    HRESULT status = clipper->SetHWnd(0, window);
    if (SUCCEEDED(status)) {
        status = primary->SetClipper(clipper);
    }
    // The primary surface holds its own reference to the clipper.
    clipper->Release();
    if (FAILED(status)) {
        return nullptr;
    }
    return display;
}

DirectDrawDisplay::DirectDrawDisplay(HWND window, HINSTANCE instance)
    : window_(window), instance_(instance) {}

DirectDrawDisplay::~DirectDrawDisplay() {
    // Surfaces still alive must not call back into a display that is gone.
    scratch_.reset();
    primary_.reset();
    if (directDraw_) {
        directDraw_->Release();
    }
}

Surface* DirectDrawDisplay::target() {
    return primary_.get();
}

std::unique_ptr<Bitmap> DirectDrawDisplay::openBitmap(const BitmapName& name, int32_t width,
                                                      int32_t height) {
    HBITMAP handle = loadBitmap(instance_, name, width, height);
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<GdiBitmap>(handle, name, width, height);
}

std::unique_ptr<Surface> DirectDrawDisplay::createSurface(int32_t width, int32_t height,
                                                          const ColourKey* key) {
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.dwHeight = static_cast<DWORD>(height);
    desc.dwWidth = static_cast<DWORD>(width);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    if (key) {
        desc.dwFlags |= DDSD_CKSRCBLT;
        desc.ddckCKSrcBlt.dwColorSpaceLowValue = key->low;
        desc.ddckCKSrcBlt.dwColorSpaceHighValue = key->high;
    }
    IDirectDrawSurface* surface = nullptr;
    if (FAILED(directDraw_->CreateSurface(&desc, &surface, nullptr))) {
        return nullptr;
    }
    auto wrapped = std::make_unique<DirectDrawSurface>(this, surface);
    offscreen_.push_back(wrapped.get());
    return wrapped;
}

bool DirectDrawDisplay::copyBitmap(Surface& surface, const Bitmap& bitmap) {
    auto& dds = static_cast<DirectDrawSurface&>(surface);
    const auto& gdi = static_cast<const GdiBitmap&>(bitmap);
    dds.picture = gdi.name;
    dds.pictureWidth = gdi.width;
    dds.pictureHeight = gdi.height;
    dds.hasPicture = true;
    return fillFromBitmap(dds, gdi.handle, gdi.width, gdi.height);
}

bool DirectDrawDisplay::fillFromBitmap(DirectDrawSurface& surface, HBITMAP bitmap, int32_t width,
                                       int32_t height) {
    HDC surfaceDc = nullptr;
    if (FAILED(surface.get()->GetDC(&surfaceDc))) {
        return false;
    }
    bool ok = false;
    HDC memoryDc = CreateCompatibleDC(surfaceDc);
    if (memoryDc) {
        HGDIOBJ previous = SelectObject(memoryDc, bitmap);
        ok = BitBlt(surfaceDc, 0, 0, width, height, memoryDc, 0, 0, SRCCOPY) != 0;
        SelectObject(memoryDc, previous);
        DeleteDC(memoryDc);
    }
    surface.get()->ReleaseDC(surfaceDc);
    return ok;
}

bool DirectDrawDisplay::blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
                             uint32_t flags) {
    IDirectDrawSurface* from = static_cast<DirectDrawSurface&>(source).get();
    const PieceBlt blt = [&](IDirectDrawSurface* to, RECT& d, RECT& s) {
        return to->Blt(&d, from, &s, flags, nullptr);
    };
    if (&target == primary_.get()) {
        return drawOnScreen(dst, src, (flags & DDBLT_KEYSRC) != 0, blt);
    }
    return drawOnSurface(static_cast<DirectDrawSurface&>(target).get(), dst, src, blt);
}

bool DirectDrawDisplay::fill(Surface& target, const Rect& dst, uint32_t colour) {
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = colour;
    const PieceBlt blt = [&](IDirectDrawSurface* to, RECT& d, RECT&) {
        return to->Blt(&d, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
    };
    // A fill has no source; the destination stands in for it so the pieces cut alike.
    if (&target == primary_.get()) {
        return drawOnScreen(dst, dst, false, blt);
    }
    return drawOnSurface(static_cast<DirectDrawSurface&>(target).get(), dst, dst, blt);
}

bool DirectDrawDisplay::drawOnSurface(IDirectDrawSurface* to, const Rect& dst, const Rect& src,
                                      const PieceBlt& blt) {
    ClippedBlit part{dst, src};
    if (const auto bounds = surfaceBounds(to)) {
        const auto clipped = clipBlit(dst, src, *bounds);
        if (!clipped) {
            return true;  // wholly off the surface: nothing to draw
        }
        part = *clipped;
    }
    RECT d = toRect(part.dst);
    RECT s = toRect(part.src);
    return SUCCEEDED(withRestore([&] { return blt(to, d, s); }));
}

bool DirectDrawDisplay::drawOnScreen(const Rect& dst, const Rect& src, bool keyed,
                                     const PieceBlt& blt) {
    IDirectDrawSurface* primary = primary_->get();
    const Rect desktop = virtualScreen();
    const Rect primaryBounds = surfaceBounds(primary).value_or(desktop);
    const Rect onMonitors = desktop.empty() ? primaryBounds : desktop;
    const auto onDesktop = clipBlit(dst, src, onMonitors);
    if (!onDesktop) {
        return true;  // on no monitor: nothing to draw
    }
    if (!clientOnPrimary(primaryBounds, onMonitors)) {
        return drawThroughWindow(*onDesktop, keyed, blt);
    }
    for (const ScreenPart& part : splitAtPrimary(*onDesktop, primaryBounds)) {
        RECT d = toRect(part.blit.dst);
        RECT s = toRect(part.blit.src);
        const HRESULT status = withRestore([&] { return blt(primary, d, s); });
        switch (judgePart(static_cast<int32_t>(status), part.outsidePrimary)) {
            case PartOutcome::Drawn:
                break;
            case PartOutcome::DrawThroughWindow:
                if (!drawThroughWindow(part.blit, keyed, blt)) {
                    return false;
                }
                break;
            case PartOutcome::Failed:
                return false;
        }
    }
    return true;
}

bool DirectDrawDisplay::drawThroughWindow(const ClippedBlit& piece, bool keyed,
                                          const PieceBlt& blt) {
    POINT origin = {0, 0};
    RECT client;
    if (!ClientToScreen(window_, &origin) || !GetClientRect(window_, &client)) {
        return false;
    }
    const Rect clientArea{client.left, client.top, client.right, client.bottom};
    const auto visible = clipBlit(piece.dst, piece.src, clientArea.translated(origin.x, origin.y));
    if (!visible) {
        return true;  // beyond the client area the window shows nothing of it
    }
    const int32_t width = visible->dst.width();
    const int32_t height = visible->dst.height();
    const int32_t x = visible->dst.left - origin.x;
    const int32_t y = visible->dst.top - origin.y;
    DirectDrawSurface* scratch =
        scratchFor(std::max(width, clientArea.width()), std::max(height, clientArea.height()));
    HDC windowDc = scratch ? GetDC(window_) : nullptr;
    if (!windowDc) {
        return false;
    }
    // Copies between the window and the scratch surface's top-left corner; the surface's
    // device context is held only for the copy, since DirectDraw cannot blit meanwhile.
    const auto copy = [&](bool toWindow) {
        HDC scratchDc = nullptr;
        if (FAILED(scratch->get()->GetDC(&scratchDc))) {
            return false;
        }
        const bool copied = toWindow
                                ? BitBlt(windowDc, x, y, width, height, scratchDc, 0, 0, SRCCOPY)
                                : BitBlt(scratchDc, 0, 0, width, height, windowDc, x, y, SRCCOPY);
        scratch->get()->ReleaseDC(scratchDc);
        return copied;
    };
    RECT d = {0, 0, width, height};
    RECT s = toRect(visible->src);
    // A keyed blit leaves the key-coloured pixels as they were: start from the screen's.
    const bool ok = (!keyed || copy(false)) &&
                    SUCCEEDED(withRestore([&] { return blt(scratch->get(), d, s); })) && copy(true);
    ReleaseDC(window_, windowDc);
    return ok;
}

void DirectDrawDisplay::windowMoved() {
    const Rect desktop = virtualScreen();
    const Rect primaryBounds = surfaceBounds(primary_->get()).value_or(desktop);
    clientOnPrimary(primaryBounds, desktop.empty() ? primaryBounds : desktop);
}

bool DirectDrawDisplay::clientOnPrimary(const Rect& primaryBounds, const Rect& desktop) {
    POINT origin = {0, 0};
    RECT client;
    if (!ClientToScreen(window_, &origin) || !GetClientRect(window_, &client)) {
        return clientOnPrimary_;
    }
    const Rect onScreen =
        Rect{client.left, client.top, client.right, client.bottom}.translated(origin.x, origin.y);
    const bool onPrimary = onPrimarySurface(onScreen, desktop, primaryBounds);
    if (onPrimary != clientOnPrimary_) {
        clientOnPrimary_ = onPrimary;
        // Neither way keeps the other's picture: Wine's copy of the window lacks what
        // DirectDraw drew, and the primary surface's presentation lacks what GDI drew.
        InvalidateRect(window_, nullptr, FALSE);
    }
    return onPrimary;
}

DirectDrawSurface* DirectDrawDisplay::scratchFor(int32_t width, int32_t height) {
    if (scratch_) {
        const auto bounds = surfaceBounds(scratch_->get());
        if (bounds && bounds->width() >= width && bounds->height() >= height) {
            return scratch_.get();
        }
        scratch_.reset();
    }
    // Made like every offscreen surface, so a lost scratch surface is restored with them.
    scratch_.reset(
        static_cast<DirectDrawSurface*>(createSurface(width, height, nullptr).release()));
    return scratch_.get();
}

HRESULT DirectDrawDisplay::withRestore(const std::function<HRESULT()>& attempt) {
    return retryAfterRestore(
        attempt, [&] { return restoreLostSurfaces(); }, DDERR_SURFACELOST);
}

bool DirectDrawDisplay::restoreLostSurfaces() {
    bool ok = true;
    IDirectDrawSurface* primary = primary_->get();
    if (primary->IsLost() == DDERR_SURFACELOST && FAILED(primary->Restore())) {
        ok = false;
    }
    for (DirectDrawSurface* surface : offscreen_) {
        if (surface->get()->IsLost() != DDERR_SURFACELOST) {
            continue;
        }
        if (FAILED(surface->get()->Restore())) {
            ok = false;
            continue;
        }
        // A restored surface holds garbage: put its picture back.
        if (surface->hasPicture) {
            HBITMAP bitmap = loadBitmap(instance_, surface->picture, surface->pictureWidth,
                                        surface->pictureHeight);
            if (!bitmap) {
                ok = false;
                continue;
            }
            ok = fillFromBitmap(*surface, bitmap, surface->pictureWidth, surface->pictureHeight) &&
                 ok;
            DeleteObject(bitmap);
        }
    }
    // What was on the screen is gone too; repaint the whole window.
    InvalidateRect(window_, nullptr, FALSE);
    return ok;
}

void DirectDrawDisplay::forget(DirectDrawSurface* surface) {
    offscreen_.erase(std::remove(offscreen_.begin(), offscreen_.end(), surface), offscreen_.end());
}

}  // namespace kz
