#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "display/rect.h"
#include "display/surface.h"

namespace kz::test {

// A surface that only knows its size and its colour key; its name shows in failure messages.
class RecordingSurface : public Surface {
  public:
    RecordingSurface(std::string surfaceName, int32_t surfaceWidth, int32_t surfaceHeight,
                     bool isKeyed = false, ColourKey colourKey = {})
        : name(std::move(surfaceName)),
          width(surfaceWidth),
          height(surfaceHeight),
          keyed(isKeyed),
          key(colourKey) {}

    std::string name;
    int32_t width;
    int32_t height;
    bool keyed;
    ColourKey key;
};

class RecordingBitmap : public Bitmap {
  public:
    RecordingBitmap(BitmapName bitmapName, int32_t bitmapWidth, int32_t bitmapHeight)
        : name(std::move(bitmapName)), width(bitmapWidth), height(bitmapHeight) {}

    BitmapName name;
    int32_t width;
    int32_t height;
};

// One blit or fill, as the display received it.
struct DrawCall {
    enum Kind { Blit, Fill };
    Kind kind = Blit;
    Surface* target = nullptr;
    Surface* source = nullptr;  // null for a fill
    Rect dst;
    Rect src;  // empty for a fill
    uint32_t flags = 0;
    uint32_t colour = 0;  // fills only
};

// A Display that draws nothing and records every blit and fill in order. Any step can be
// told to fail, so callers' failure paths can be driven.
class RecordingDisplay : public Display {
  public:
    explicit RecordingDisplay(int32_t width = 690, int32_t height = 500)
        : targetSurface("target", width, height) {}

    Surface* target() override { return &targetSurface; }

    std::unique_ptr<Bitmap> openBitmap(const BitmapName& name, int32_t width,
                                       int32_t height) override {
        ++openCount;
        if (failOpen) {
            return nullptr;
        }
        return std::make_unique<RecordingBitmap>(name, width, height);
    }

    std::unique_ptr<Surface> createSurface(int32_t width, int32_t height,
                                           const ColourKey* key) override {
        ++createCount;
        if (failCreate) {
            return nullptr;
        }
        return std::make_unique<RecordingSurface>("surface " + std::to_string(createCount), width,
                                                  height, key != nullptr,
                                                  key != nullptr ? *key : ColourKey{});
    }

    bool copyBitmap(Surface& /*surface*/, const Bitmap& /*bitmap*/) override {
        ++copyCount;
        return !failCopy;
    }

    bool blit(Surface& target, const Rect& dst, Surface& source, const Rect& src,
              uint32_t flags) override {
        DrawCall call;
        call.kind = DrawCall::Blit;
        call.target = &target;
        call.source = &source;
        call.dst = dst;
        call.src = src;
        call.flags = flags;
        return record(call);
    }

    bool fill(Surface& target, const Rect& dst, uint32_t colour) override {
        DrawCall call;
        call.kind = DrawCall::Fill;
        call.target = &target;
        call.dst = dst;
        call.flags = kBlitColourFill | kBlitWait;
        call.colour = colour;
        return record(call);
    }

    // Destination rectangles of the recorded calls, in order.
    std::vector<Rect> dsts() const {
        std::vector<Rect> out;
        for (const DrawCall& c : calls) {
            out.push_back(c.dst);
        }
        return out;
    }

    void clear() { calls.clear(); }

    RecordingSurface targetSurface;
    std::vector<DrawCall> calls;  // blits and fills, failed ones included
    int openCount = 0;
    int createCount = 0;
    int copyCount = 0;
    bool failOpen = false;
    bool failCreate = false;
    bool failCopy = false;
    // The blit or fill with this index in `calls` (counting from 0) fails; -1 for none.
    int failCallIndex = -1;

  private:
    bool record(const DrawCall& call) {
        calls.push_back(call);
        return static_cast<int>(calls.size()) - 1 != failCallIndex;
    }
};

}  // namespace kz::test

// Lets GoogleTest print rectangles and points in failure messages.
namespace kz {
inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const Point& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
}  // namespace kz
