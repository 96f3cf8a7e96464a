#include "display/element.h"

#include <utility>

namespace kz {

Element::Element(Element* newParent, int32_t newX, int32_t newY, Image* newImage) {
    init(newParent, newX, newY, newImage);
}

Element::~Element() {
    deleteChildren();
    clearDirty();
}

void Element::deleteChildren() {
    for (auto& child : children) {
        child.reset();
    }
    children.clear();
}

void Element::setChildren(std::vector<std::unique_ptr<Element>> list) {
    deleteChildren();
    children = std::move(list);
}

Element* Element::getChild(int32_t index) const {
    if (index < 0 || index >= getChildCount()) {
        return nullptr;
    }
    return children[static_cast<size_t>(index)].get();
}

void Element::init(Element* newParent, int32_t newX, int32_t newY, Image* newImage) {
    if (newParent != nullptr) {
        baseX = newParent->getX() + newParent->getBaseX();
        baseY = newParent->getY() + newParent->getBaseY();
    } else {
        baseX = 0;
        baseY = 0;
    }
    parent = newParent;
    x = newX;
    y = newY;
    frame = 0;
    visible = true;
    animated = false;
    loopFrames = false;
    image = newImage;
    if (image != nullptr) {
        width = image->getFrameWidth();
        height = image->getFrameHeight();
        frameCount = image->getFrameCount();
        image->load();  // a failed load shows up as a failed blit
        hasImage = true;
    } else {
        width = 0;
        height = 0;
        frameCount = 0;
        hasImage = false;
    }
    needsRedraw = true;
    dirtyRects.clear();
    markAllDirty();
    mouseEnabled = false;
    keyEnabled = false;
}

void Element::setBaseX(int32_t newBaseX) {
    baseX = newBaseX;
    for (auto& child : children) {
        child->setBaseX(baseX + x);
    }
}

void Element::setBaseY(int32_t newBaseY) {
    baseY = newBaseY;
    for (auto& child : children) {
        child->setBaseY(baseY + y);
    }
}

void Element::setBase(int32_t newBaseX, int32_t newBaseY) {
    baseX = newBaseX;
    baseY = newBaseY;
    for (auto& child : children) {
        child->setBase(baseX + x, baseY + y);
    }
}

int32_t Element::getBaseX() {
    return baseX;
}

int32_t Element::getBaseY() {
    return baseY;
}

void Element::setX(int32_t newX) {
    invalidate();
    x = newX;
    invalidate();
    for (auto& child : children) {
        child->setBaseX(baseX + x);
    }
}

void Element::setY(int32_t newY) {
    invalidate();
    y = newY;
    invalidate();
    for (auto& child : children) {
        child->setBaseY(baseY + y);
    }
}

void Element::moveTo(int32_t newX, int32_t newY) {
    invalidate();
    x = newX;
    y = newY;
    invalidate();
    for (auto& child : children) {
        child->setBase(baseX + x, baseY + y);
    }
}

int32_t Element::getX() {
    return x;
}

int32_t Element::getY() {
    return y;
}

void Element::moveByX(int32_t dx) {
    setX(x + dx);
}

void Element::moveByY(int32_t dy) {
    setY(y + dy);
}

void Element::moveBy(int32_t dx, int32_t dy) {
    moveTo(x + dx, y + dy);
}

void Element::setWidth(int32_t newWidth) {
    width = newWidth;
    invalidate();
}

void Element::setHeight(int32_t newHeight) {
    height = newHeight;
    invalidate();
}

void Element::setSize(int32_t newWidth, int32_t newHeight) {
    width = newWidth;
    height = newHeight;
    invalidate();
}

int32_t Element::getWidth() {
    return width;
}

int32_t Element::getHeight() {
    return height;
}

void Element::setFrame(int32_t f) {
    // Compared as requested, before clamping: asking again for an out-of-range frame
    // invalidates again.
    if (f == frame) {
        return;
    }
    const int32_t n = frameCount;
    if (n <= 0) {
        return;  // nothing to select from: the frame stays as it is
    }
    if (f >= n) {
        frame = loopFrames ? f % n : n - 1;
    } else if (f < 0) {
        frame = loopFrames ? (n - 1) - ((-(f + 1)) % n) : 0;
    } else {
        frame = f;
    }
    invalidate();
    onFrameChanged();
}

int32_t Element::getFrame() {
    return frame;
}

void Element::nextFrame() {
    setFrame(frame + 1);
}

void Element::prevFrame() {
    setFrame(frame - 1);
}

void Element::setVisible(bool newVisible) {
    if (newVisible == visible) {
        return;
    }
    // Invalidating on both sides: hiding repaints the area left behind while still
    // visible, showing repaints it once visible.
    invalidate();
    visible = newVisible;
    invalidate();
}

bool Element::isVisible() {
    return visible;
}

void Element::setLoopFrames(bool loop) {
    loopFrames = loop;
}

bool Element::getLoopFrames() {
    return loopFrames;
}

void Element::setAnimated(bool newAnimated) {
    animated = newAnimated;
}

bool Element::isAnimated() {
    return animated;
}

void Element::animate() {
    if (animated) {
        nextFrame();
    }
}

void Element::addDirtyRect(const Rect& r) {
    if (!visible || !hasImage) {
        return;
    }
    // Dropped only when wholly outside: a rectangle of no width inside the element is kept,
    // so this is not the same as an empty intersection.
    if (r.left >= width || r.top >= height || r.right <= 0 || r.bottom <= 0) {
        return;
    }
    dirtyRects.push_back(r.intersected(bounds()));
}

void Element::markAllDirty() {
    if (!visible || !hasImage) {
        return;
    }
    dirtyRects.assign(1, bounds());
}

void Element::invalidateRect(const Rect& r) {
    if (!visible) {
        return;
    }
    const Rect own = r.translated(-x, -y);
    // A rectangle that only touches the left or top edge still reaches the element (and its
    // children), unlike an intersection, which would be empty there.
    if (own.left >= width || own.top >= height || own.right < 0 || own.bottom < 0) {
        return;
    }
    needsRedraw = true;
    addDirtyRect(own);
    for (auto& child : children) {
        child->invalidateRect(own);
    }
}

void Element::invalidateTree() {
    if (!visible) {
        return;
    }
    needsRedraw = true;
    markAllDirty();
    for (auto& child : children) {
        child->invalidateTree();
    }
}

void Element::childRectChanged(Element* child, const Rect& r) {
    if (!visible) {
        return;
    }
    needsRedraw = true;
    const Rect own = r.translated(child->getX(), child->getY());
    addDirtyRect(own);
    for (auto& other : children) {
        if (other.get() != child) {
            other->invalidateRect(own);
        }
    }
    if (parent != nullptr) {
        parent->childRectChanged(this, own);
    }
}

void Element::childChanged(Element* child) {
    if (!visible) {
        return;
    }
    needsRedraw = true;
    const Rect r = rectInParent(child);
    addDirtyRect(r);
    for (auto& other : children) {
        if (other.get() != child) {
            other->invalidateRect(r);
        }
    }
    if (parent != nullptr) {
        parent->childRectChanged(this, r);
    }
}

void Element::invalidate() {
    if (!visible) {
        return;
    }
    needsRedraw = true;
    markAllDirty();
    for (auto& child : children) {
        child->invalidateTree();
    }
    if (parent != nullptr) {
        parent->childChanged(this);
    }
}

void Element::clearDirty() {
    dirtyRects.clear();
}

void Element::onFrameChanged() {}

Rect Element::rectInParent(Element* child) {
    return Rect{0, 0, child->getWidth(), child->getHeight()}.translated(child->getX(),
                                                                        child->getY());
}

InputResult Element::onMouse(uint32_t message, uint32_t wparam, int32_t px, int32_t py) {
    if (!visible || !mouseEnabled || children.empty()) {
        return InputIgnored;
    }
    const int32_t ownX = px - x;
    const int32_t ownY = py - y;
    InputResult result = InputIgnored;
    for (size_t i = children.size(); i-- > 0;) {
        result = children[i]->onMouse(message, wparam, ownX, ownY);
        if (result == InputConsumed) {
            return result;
        }
    }
    return result;
}

InputResult Element::onKey(uint32_t message, uint32_t wparam, int64_t lparam) {
    if (!visible || !keyEnabled || children.empty()) {
        return InputIgnored;
    }
    InputResult result = InputIgnored;
    for (size_t i = children.size(); i-- > 0;) {
        result = children[i]->onKey(message, wparam, lparam);
        if (result == InputConsumed) {
            return result;
        }
    }
    return result;
}

void Element::onChildEvent(Element* /*child*/, ElementEvent /*code*/) {}

bool Element::draw(Surface* target) {
    if (!visible || !needsRedraw) {
        return true;
    }
    needsRedraw = false;
    if (hasImage && !dirtyRects.empty()) {
        if (image == nullptr) {
            return false;  // claims to paint but has nothing to paint with
        }
        const Rect frameArea = image->frameRect(frame);
        const Point origin = targetOrigin();
        for (const Rect& r : dirtyRects) {
            const Rect src = r.translated(frameArea.left, frameArea.top);
            const Rect dst = r.translated(origin.x, origin.y);
            if (!image->blit(target, dst, src)) {
                return false;
            }
        }
        clearDirty();
    }
    for (auto& child : children) {
        if (!child->draw(target)) {
            return false;
        }
    }
    return true;
}

}  // namespace kz
