#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "display/image.h"
#include "display/rect.h"
#include "display/surface.h"

namespace kz {

// Result of onMouse and onKey.
enum InputResult : int32_t {
    InputIgnored = 0,   // the message did not concern this element
    InputHandled = 1,   // the element reacted; elements below it are asked too
    InputConsumed = 2,  // the element reacted; the dispatch stops here
};

// A code a child passes to its parent's onChildEvent; each sending class defines its own.
using ElementEvent = int32_t;

// Everything on screen: a rectangle placed relative to its parent, optionally showing one
// frame of an Image, with children drawn on top of it in index order.
//
// Changes travel up, drawing travels down: a change marks the element dirty and reports
// its rectangle to the parent, which repaints the area itself (when it paints) and in every
// overlapping sibling; draw() then paints only dirty areas from the bottom up and skips
// subtrees whose needsRedraw is false. All calls between these operations are virtual so
// that an override takes part in every chain.
class Element {
  public:
    Element(Element* newParent, int32_t newX, int32_t newY, Image* newImage);
    virtual ~Element();

    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    virtual void init(Element* newParent, int32_t newX, int32_t newY, Image* newImage);
    virtual void setBaseX(int32_t newBaseX);
    virtual void setBaseY(int32_t newBaseY);
    virtual void setBase(int32_t newBaseX, int32_t newBaseY);
    virtual int32_t getBaseX();
    virtual int32_t getBaseY();
    virtual void setX(int32_t newX);
    virtual void setY(int32_t newY);
    virtual void moveTo(int32_t newX, int32_t newY);
    virtual int32_t getX();
    virtual int32_t getY();
    virtual void moveByX(int32_t dx);
    virtual void moveByY(int32_t dy);
    virtual void moveBy(int32_t dx, int32_t dy);
    virtual void setWidth(int32_t newWidth);
    virtual void setHeight(int32_t newHeight);
    virtual void setSize(int32_t newWidth, int32_t newHeight);
    virtual int32_t getWidth();
    virtual int32_t getHeight();
    virtual void setFrame(int32_t f);
    virtual int32_t getFrame();
    virtual void nextFrame();
    virtual void prevFrame();
    virtual void setVisible(bool newVisible);
    virtual bool isVisible();
    virtual void setLoopFrames(bool loop);
    virtual bool getLoopFrames();
    virtual void setAnimated(bool newAnimated);
    virtual bool isAnimated();
    virtual void animate();
    // r in own coordinates; appends a copy clipped to the element, or drops it.
    virtual void addDirtyRect(const Rect& r);
    virtual void markAllDirty();
    // r in the parent's coordinates: marks that area dirty here and in the subtree.
    virtual void invalidateRect(const Rect& r);
    virtual void invalidateTree();
    // r in the child's coordinates.
    virtual void childRectChanged(Element* child, const Rect& r);
    virtual void childChanged(Element* child);
    virtual void invalidate();
    virtual void clearDirty();
    virtual void onFrameChanged();
    // x, y in the parent's coordinates.
    virtual InputResult onMouse(uint32_t message, uint32_t wparam, int32_t px, int32_t py);
    virtual InputResult onKey(uint32_t message, uint32_t wparam, int64_t lparam);
    virtual void onChildEvent(Element* child, ElementEvent code);
    // Paints the dirty rectangles of the subtree; false as soon as a blit fails.
    virtual bool draw(Surface* target);

    // Read access for owners, derived classes and tests.
    Element* getParent() const { return parent; }
    Image* getImage() const { return image; }
    int32_t getFrameCount() const { return frameCount; }
    const std::vector<Rect>& getDirtyRects() const { return dirtyRects; }
    int32_t getDirtyCount() const { return static_cast<int32_t>(dirtyRects.size()); }
    bool isRedrawNeeded() const { return needsRedraw; }
    int32_t getChildCount() const { return static_cast<int32_t>(children.size()); }
    Element* getChild(int32_t index) const;
    bool getHasImage() const { return hasImage; }
    bool isMouseEnabled() const { return mouseEnabled; }
    bool isKeyEnabled() const { return keyEnabled; }

  protected:
    // Appends a child at the top of the drawing order and returns it.
    template <class T>
    T* addChild(std::unique_ptr<T> child) {
        T* raw = child.get();
        children.push_back(std::move(child));
        return raw;
    }
    // Replaces the children with the given list, index 0 drawn first.
    void setChildren(std::vector<std::unique_ptr<Element>> list);
    // Deletes the children one by one in index order.
    void deleteChildren();
    // The whole element in its own coordinates.
    Rect bounds() const { return {0, 0, width, height}; }
    // Where the element's top-left corner lands on the target surface.
    Point targetOrigin() const { return {x + baseX, y + baseY}; }
    // A child's rectangle in its parent's coordinates, as the child reports it.
    static Rect rectInParent(Element* child);

    Element* parent = nullptr;
    int32_t baseX = 0;
    int32_t baseY = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t frame = 0;
    int32_t frameCount = 0;
    bool visible = true;
    bool animated = false;
    bool loopFrames = false;
    std::vector<Rect> dirtyRects;
    bool needsRedraw = true;
    std::vector<std::unique_ptr<Element>> children;
    Image* image = nullptr;
    bool hasImage = false;
    bool mouseEnabled = false;
    bool keyEnabled = false;
};

}  // namespace kz
