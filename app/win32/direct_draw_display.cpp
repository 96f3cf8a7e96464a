#include "app/win32/direct_draw_display.h"

#include <algorithm>
#include <optional>

#include "app/win32/blit_clipping.h"
#include "app/win32/lost_surface_retry.h"

namespace kz {

// The core's blit flags are DirectDraw's own, so they pass through unchanged.
static_assert(kBlitWait == DDBLT_WAIT, "blit flag values must match DirectDraw's");
static_assert(kBlitKeySource == DDBLT_KEYSRC, "blit flag values must match DirectDraw's");
static_assert(kBlitColourFill == DDBLT_COLORFILL, "blit flag values must match DirectDraw's");
static_assert(sizeof(Rect) == sizeof(RECT), "Rect is handed to DirectDraw as a RECT");
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
    IDirectDrawSurface* to = static_cast<DirectDrawSurface&>(target).get();
    IDirectDrawSurface* from = static_cast<DirectDrawSurface&>(source).get();
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
    const HRESULT status =
        retryAfterRestore([&] { return to->Blt(&d, from, &s, flags, nullptr); },
                          [&] { return restoreLostSurfaces(); }, DDERR_SURFACELOST);
    return SUCCEEDED(status);
}

bool DirectDrawDisplay::fill(Surface& target, const Rect& dst, uint32_t colour) {
    IDirectDrawSurface* to = static_cast<DirectDrawSurface&>(target).get();
    Rect part = dst;
    if (const auto bounds = surfaceBounds(to)) {
        const auto clipped = clipFill(dst, *bounds);
        if (!clipped) {
            return true;  // wholly off the surface: nothing to fill
        }
        part = *clipped;
    }
    RECT d = toRect(part);
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = colour;
    const HRESULT status = retryAfterRestore(
        [&] { return to->Blt(&d, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects); },
        [&] { return restoreLostSurfaces(); }, DDERR_SURFACELOST);
    return SUCCEEDED(status);
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
