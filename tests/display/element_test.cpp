#include "display/element.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/backdrop.h"
#include "display/image.h"
#include "display/messages.h"
#include "tests/support/holder.h"
#include "tests/support/recording_display.h"

namespace kz {
namespace {

using test::DrawCall;
using test::Holder;
using test::RecordingDisplay;

// Answers every mouse message with a fixed result and remembers what it was asked.
class Probe : public Holder {
  public:
    Probe(Element* owner, int32_t atX, int32_t atY, InputResult fixedAnswer,
          std::vector<int>* askedLog, int probeId)
        : Holder(owner, atX, atY, nullptr), answer(fixedAnswer), asked(askedLog), id(probeId) {}

    InputResult onMouse(uint32_t, uint32_t, int32_t px, int32_t py) override {
        asked->push_back(id);
        lastX = px;
        lastY = py;
        return answer;
    }
    InputResult onKey(uint32_t, uint32_t, int64_t) override {
        asked->push_back(id);
        return answer;
    }

    InputResult answer;
    std::vector<int>* asked;
    int id;
    int32_t lastX = 0;
    int32_t lastY = 0;
};

class ElementTest : public ::testing::Test {
  protected:
    RecordingDisplay display;
    // Matchstick-like pictures: felt 100 x 100, vertical stick 8 frames of 15 x 80,
    // a two-frame button 62 x 52.
    Image felt{&display, BitmapName::resource(102), 100, 100, 1, 1, 1};
    Image stick{&display, BitmapName::resource(104), 120, 80, 8, 1, 8};
    Image button{&display, BitmapName::resource(116), 124, 52, 2, 1, 2};
    Image square{&display, BitmapName::resource(1), 20, 20, 1, 1, 1};

    // Draws everything pending so that a test starts from a clean tree.
    void settle(Element& root) {
        ASSERT_TRUE(root.draw(display.target()));
        display.clear();
    }
};

TEST_F(ElementTest, InitTakesSizeFromTheImageAndStartsWhollyDirty) {
    Holder root(nullptr, 0, 0, nullptr);
    root.moveTo(30, 40);
    auto* e = root.add<Holder>(5, 6, &button);
    EXPECT_EQ(e->getBaseX(), 30);
    EXPECT_EQ(e->getBaseY(), 40);
    EXPECT_EQ(e->getWidth(), 62);
    EXPECT_EQ(e->getHeight(), 52);
    EXPECT_EQ(e->getFrameCount(), 2);
    EXPECT_EQ(e->getFrame(), 0);
    EXPECT_TRUE(e->isVisible());
    EXPECT_TRUE(e->isRedrawNeeded());
    EXPECT_TRUE(e->getHasImage());
    EXPECT_FALSE(e->isMouseEnabled());
    EXPECT_FALSE(e->isKeyEnabled());
    EXPECT_EQ(e->getDirtyRects(), (std::vector<Rect>{{0, 0, 62, 52}}));
    EXPECT_NE(button.getSurface(), nullptr) << "init loads the image";

    EXPECT_FALSE(root.getHasImage());
    EXPECT_TRUE(root.getDirtyRects().empty());
    EXPECT_EQ(root.getWidth(), 0);
}

TEST_F(ElementTest, DrawTakesTheSourceFromTheFrameGrid) {
    // Element at (10, 5) whose parent's top-left is at (100, 200), frame 1 of a 2-column
    // image with 62 x 52 frames, dirty rectangle (3, 4, 20, 30).
    Holder root(nullptr, 0, 0, nullptr);
    auto* e = root.add<Holder>(10, 5, &button);
    root.setBase(100, 200);
    e->setFrame(1);
    e->clearDirty();
    e->addDirtyRect({3, 4, 20, 30});

    ASSERT_TRUE(root.draw(display.target()));
    ASSERT_EQ(display.calls.size(), 1u);
    const DrawCall& call = display.calls[0];
    EXPECT_EQ(call.kind, DrawCall::Blit);
    EXPECT_EQ(call.src, (Rect{65, 4, 82, 30}));
    EXPECT_EQ(call.dst, (Rect{113, 209, 130, 235}));
    EXPECT_EQ(call.target, display.target());
    EXPECT_EQ(call.source, button.getSurface());
    EXPECT_EQ(call.flags, 0x1000000u);
    EXPECT_TRUE(e->getDirtyRects().empty());
    EXPECT_FALSE(e->isRedrawNeeded());

    // Nothing changed since: an idle draw blits nothing.
    display.clear();
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_TRUE(display.calls.empty());
}

TEST_F(ElementTest, ChangeTravelsUpAndRepaintsTheFeltUnderIt) {
    // Root without image; Backdrop (felt) at index 0; a container without image at
    // (100, 50) at index 1 holding a 15 x 80 stick S at (10, 20).
    Holder root(nullptr, 0, 0, nullptr);
    root.setSize(690, 500);
    auto* backdrop = root.add<Backdrop>(0, 0, 690, 500, &felt);
    auto* container = root.add<Holder>(100, 50, nullptr);
    auto* s = container->add<Holder>(10, 20, &stick);
    settle(root);

    s->setFrame(2);
    EXPECT_EQ(s->getDirtyRects(), (std::vector<Rect>{{0, 0, 15, 80}}));
    EXPECT_TRUE(container->getDirtyRects().empty());
    EXPECT_TRUE(root.getDirtyRects().empty());
    EXPECT_EQ(backdrop->getDirtyRects(), (std::vector<Rect>{{110, 70, 125, 150}}));
    EXPECT_TRUE(container->isRedrawNeeded());
    EXPECT_TRUE(root.isRedrawNeeded());
    EXPECT_TRUE(backdrop->isRedrawNeeded());

    // The felt strip first (cut at the tile edge at y = 100), then S whole on top.
    ASSERT_TRUE(root.draw(display.target()));
    ASSERT_EQ(display.calls.size(), 3u);
    EXPECT_EQ(display.calls[0].dst, (Rect{110, 70, 125, 100}));
    EXPECT_EQ(display.calls[0].src, (Rect{10, 70, 25, 100}));
    EXPECT_EQ(display.calls[1].dst, (Rect{110, 100, 125, 150}));
    EXPECT_EQ(display.calls[1].src, (Rect{10, 0, 25, 50}));
    EXPECT_EQ(display.calls[2].dst, (Rect{110, 70, 125, 150}));
    EXPECT_EQ(display.calls[2].src, (Rect{30, 0, 45, 80}));
    EXPECT_EQ(display.calls[2].source, stick.getSurface());
}

TEST_F(ElementTest, ChangeRepaintsOverlappingSiblingsAndPaintingAncestors) {
    // A painting parent with two overlapping painting children: changing the lower one
    // dirties the parent and the upper one over the shared area.
    Holder root(nullptr, 0, 0, nullptr);
    root.setSize(200, 200);
    auto* panel = root.add<Holder>(10, 10, &felt);
    auto* lower = panel->add<Holder>(0, 0, &square);
    auto* upper = panel->add<Holder>(10, 5, &square);
    auto* apart = panel->add<Holder>(60, 60, &square);
    settle(root);

    lower->moveTo(5, 0);
    // Old and new rectangles of `lower`, in panel coordinates, in that order.
    EXPECT_EQ(panel->getDirtyRects(), (std::vector<Rect>{{0, 0, 20, 20}, {5, 0, 25, 20}}));
    // The same areas in `upper`'s coordinates, clipped to it.
    EXPECT_EQ(upper->getDirtyRects(), (std::vector<Rect>{{0, 0, 10, 15}, {0, 0, 15, 15}}));
    EXPECT_TRUE(apart->getDirtyRects().empty());
    EXPECT_FALSE(apart->isRedrawNeeded());
    EXPECT_EQ(lower->getDirtyRects(), (std::vector<Rect>{{0, 0, 20, 20}}));
    EXPECT_EQ(lower->getBaseX(), 10);

    // Painter's order: panel's two rectangles, lower whole, upper's two pieces.
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_EQ(display.dsts(), (std::vector<Rect>{{10, 10, 30, 30},
                                                 {15, 10, 35, 30},
                                                 {15, 10, 35, 30},
                                                 {20, 15, 30, 30},
                                                 {20, 15, 35, 30}}));
}

TEST_F(ElementTest, MovingAContainerMovesTheBaseOfItsSubtree) {
    Holder root(nullptr, 0, 0, nullptr);
    auto* container = root.add<Holder>(100, 50, nullptr);
    auto* inner = container->add<Holder>(7, 8, nullptr);
    auto* leaf = inner->add<Holder>(1, 2, &square);

    container->moveBy(-40, 10);
    EXPECT_EQ(container->getX(), 60);
    EXPECT_EQ(inner->getBaseX(), 60);
    EXPECT_EQ(inner->getBaseY(), 60);
    EXPECT_EQ(leaf->getBaseX(), 67);
    EXPECT_EQ(leaf->getBaseY(), 68);

    root.setBaseX(1000);
    root.setBaseY(2000);
    container->moveByY(2);
    EXPECT_EQ(leaf->getBaseX(), 1067);
    EXPECT_EQ(leaf->getBaseY(), 2070);
}

TEST_F(ElementTest, AddDirtyRectClipsToTheElementOrDrops) {
    Holder e(nullptr, 0, 0, &square);  // 20 x 20
    e.clearDirty();
    e.addDirtyRect({-5, -5, 10, 10});
    e.addDirtyRect({25, 0, 30, 10});
    e.addDirtyRect({0, 0, 0, 10});
    e.addDirtyRect({5, 5, 40, 40});
    e.addDirtyRect({0, 20, 5, 30});
    e.addDirtyRect({0, -9, 5, 0});
    e.addDirtyRect({5, 5, 40, 40});  // never merged or de-duplicated
    EXPECT_EQ(e.getDirtyRects(),
              (std::vector<Rect>{{0, 0, 10, 10}, {5, 5, 20, 20}, {5, 5, 20, 20}}));

    e.markAllDirty();
    EXPECT_EQ(e.getDirtyRects(), (std::vector<Rect>{{0, 0, 20, 20}}));
    EXPECT_EQ(e.getDirtyCount(), 1);

    Holder container(nullptr, 0, 0, nullptr);
    container.setSize(20, 20);
    container.addDirtyRect({0, 0, 5, 5});
    container.markAllDirty();
    EXPECT_TRUE(container.getDirtyRects().empty());
}

// A child's report reaches addDirtyRect without invalidateRect's test in front of it: a
// rectangle that only touches an edge of the parent from outside is dropped there.
TEST_F(ElementTest, ChildRectsTouchingAnEdgeFromOutsideAreDropped) {
    Holder e(nullptr, 0, 0, &square);  // 20 x 20
    struct Case {
        int32_t x;
        int32_t y;
        const char* edge;
    };
    for (const Case& c :
         {Case{20, 0, "right"}, Case{0, 20, "bottom"}, Case{-5, 0, "left"}, Case{0, -5, "top"}}) {
        auto* child = e.add<Holder>(c.x, c.y, &square);
        e.clearDirty();
        e.childRectChanged(child, {0, 0, 5, 5});
        EXPECT_TRUE(e.getDirtyRects().empty()) << c.edge;
        EXPECT_TRUE(e.isRedrawNeeded()) << c.edge;
    }
    // One pixel further in is kept, cut to the element.
    auto* inside = e.add<Holder>(19, -4, &square);
    e.clearDirty();
    e.childRectChanged(inside, {0, 0, 5, 5});
    EXPECT_EQ(e.getDirtyRects(), (std::vector<Rect>{{19, 0, 20, 1}}));
}

TEST_F(ElementTest, InvalidateRectTouchingTheLeftEdgeFlagsButKeepsNothing) {
    Holder root(nullptr, 0, 0, nullptr);
    root.setSize(200, 200);
    auto* e = root.add<Holder>(50, 0, &square);
    auto* child = e->add<Holder>(0, 0, &square);
    settle(root);

    e->invalidateRect({30, 0, 50, 10});  // translated: (-20, 0, 0, 10)
    EXPECT_TRUE(e->isRedrawNeeded());
    EXPECT_TRUE(e->getDirtyRects().empty());
    EXPECT_TRUE(child->isRedrawNeeded()) << "the children are visited";
    EXPECT_TRUE(child->getDirtyRects().empty());

    // invalidateRect goes down only, so the root was never flagged: draw e itself.
    settle(*e);
    e->invalidateRect({30, 0, 49, 10});  // translated right edge -1: outside
    EXPECT_FALSE(e->isRedrawNeeded());
    EXPECT_FALSE(child->isRedrawNeeded());
    e->invalidateRect({70, 0, 80, 10});  // translated left edge 20 == width: outside
    EXPECT_FALSE(e->isRedrawNeeded());

    e->invalidateRect({55, 3, 60, 30});
    EXPECT_EQ(e->getDirtyRects(), (std::vector<Rect>{{5, 3, 10, 20}}));
    EXPECT_EQ(child->getDirtyRects(), (std::vector<Rect>{{5, 3, 10, 20}}));
}

TEST_F(ElementTest, PureContainerPassesInvalidationOnWithoutKeepingIt) {
    Holder root(nullptr, 0, 0, &felt);
    auto* container = root.add<Holder>(10, 10, nullptr);
    container->setSize(50, 50);
    auto* leaf = container->add<Holder>(5, 5, &square);
    settle(root);

    container->invalidateRect({20, 20, 30, 30});
    EXPECT_TRUE(container->getDirtyRects().empty());
    EXPECT_EQ(leaf->getDirtyRects(), (std::vector<Rect>{{5, 5, 15, 15}}));

    container->invalidate();
    EXPECT_TRUE(container->getDirtyRects().empty());
    EXPECT_EQ(root.getDirtyRects(), (std::vector<Rect>{{10, 10, 60, 60}}));
    EXPECT_EQ(leaf->getDirtyRects(), (std::vector<Rect>{{0, 0, 20, 20}}));
}

TEST_F(ElementTest, SetFrameClampsOrWraps) {
    Holder e(nullptr, 0, 0, &stick);  // 8 frames
    e.setFrame(3);
    settle(e);

    e.setFrame(3);
    EXPECT_FALSE(e.isRedrawNeeded()) << "the frame shown: nothing happens";
    e.setFrame(8);
    EXPECT_EQ(e.getFrame(), 7);
    e.setFrame(-1);
    EXPECT_EQ(e.getFrame(), 0);
    e.setFrame(12);
    e.nextFrame();
    EXPECT_EQ(e.getFrame(), 7);
    settle(e);
    e.nextFrame();  // stores 7 again and still repaints
    EXPECT_EQ(e.getFrame(), 7);
    EXPECT_TRUE(e.isRedrawNeeded());

    e.setLoopFrames(true);
    EXPECT_TRUE(e.getLoopFrames());
    e.setFrame(8);
    EXPECT_EQ(e.getFrame(), 0);
    e.setFrame(-1);
    EXPECT_EQ(e.getFrame(), 7);
    e.setFrame(-2);
    EXPECT_EQ(e.getFrame(), 6);
    e.setFrame(-8);
    EXPECT_EQ(e.getFrame(), 0);
    e.setFrame(-9);
    EXPECT_EQ(e.getFrame(), 7);
    e.setFrame(19);
    EXPECT_EQ(e.getFrame(), 3);
    e.prevFrame();
    EXPECT_EQ(e.getFrame(), 2);
}

TEST_F(ElementTest, SetFrameWithoutFramesLeavesTheFrame) {
    Holder root(nullptr, 0, 0, nullptr);
    auto* container = root.add<Holder>(0, 0, nullptr);
    container->setSize(10, 10);
    settle(root);
    container->setFrame(5);
    container->nextFrame();
    container->setLoopFrames(true);
    container->setFrame(-3);
    EXPECT_EQ(container->getFrame(), 0);
    EXPECT_FALSE(root.isRedrawNeeded());
}

TEST_F(ElementTest, HidingRepaintsTheAreaLeftBehindAndShowingRepaintsTheElement) {
    Holder root(nullptr, 0, 0, nullptr);
    root.setSize(300, 300);
    auto* backdrop = root.add<Backdrop>(0, 0, 300, 300, &felt);
    auto* e = root.add<Holder>(40, 30, &square);
    settle(root);

    e->setVisible(true);
    EXPECT_FALSE(root.isRedrawNeeded()) << "already visible: nothing happens";

    e->setVisible(false);
    EXPECT_FALSE(e->isVisible());
    EXPECT_EQ(backdrop->getDirtyRects(), (std::vector<Rect>{{40, 30, 60, 50}}));
    EXPECT_TRUE(root.isRedrawNeeded());
    ASSERT_TRUE(root.draw(display.target()));
    ASSERT_EQ(display.calls.size(), 1u);
    EXPECT_EQ(display.calls[0].source, felt.getSurface());
    EXPECT_EQ(display.calls[0].dst, (Rect{40, 30, 60, 50}));
    display.clear();

    // While hidden it gains no rectangles and ignores invalidation.
    e->invalidate();
    e->invalidateRect({40, 30, 50, 40});
    e->moveTo(100, 100);
    EXPECT_FALSE(root.isRedrawNeeded());
    EXPECT_TRUE(e->draw(display.target()));
    EXPECT_TRUE(display.calls.empty());

    e->setVisible(true);
    EXPECT_EQ(backdrop->getDirtyRects(), (std::vector<Rect>{{100, 100, 120, 120}}));
    EXPECT_EQ(e->getDirtyRects(), (std::vector<Rect>{{0, 0, 20, 20}}));
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_EQ(display.dsts(), (std::vector<Rect>{{100, 100, 120, 120}, {100, 100, 120, 120}}));
}

TEST_F(ElementTest, InvisibleSubtreeIsNeitherDrawnNorAskedForInput) {
    std::vector<int> asked;
    Holder root(nullptr, 0, 0, nullptr);
    root.enableMouse();
    root.enableKeys();
    root.setSize(100, 100);
    auto* group = root.add<Holder>(0, 0, &square);
    group->enableMouse();
    group->enableKeys();
    group->add<Probe>(0, 0, InputConsumed, &asked, 1);
    auto* leaf = group->add<Holder>(0, 0, &square);

    group->setVisible(false);
    EXPECT_EQ(root.onMouse(msg::MouseMove, 0, 5, 5), InputIgnored);
    EXPECT_EQ(root.onKey(msg::KeyDown, 0, 0), InputIgnored);
    EXPECT_TRUE(asked.empty());
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_TRUE(display.calls.empty());

    group->invalidateTree();
    EXPECT_EQ(leaf->getDirtyRects(), (std::vector<Rect>{{0, 0, 20, 20}}))
        << "keeps what it had, gains nothing";
    group->setVisible(true);
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_EQ(display.calls.size(), 2u);
    EXPECT_EQ(root.onMouse(msg::MouseMove, 0, 5, 5), InputConsumed);
}

TEST_F(ElementTest, SkippedSubtreeKeepsItsRectanglesUntilFlagged) {
    Holder root(nullptr, 0, 0, nullptr);
    auto* leaf = root.add<Holder>(0, 0, &square);
    settle(root);

    leaf->addDirtyRect({0, 0, 5, 5});  // no flag set anywhere
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_TRUE(display.calls.empty());
    EXPECT_EQ(leaf->getDirtyCount(), 1);

    root.invalidateTree();
    ASSERT_TRUE(root.draw(display.target()));
    EXPECT_EQ(display.dsts(), (std::vector<Rect>{{0, 0, 20, 20}}));
}

TEST_F(ElementTest, FailedBlitStopsTheDrawAtOnce) {
    Holder root(nullptr, 0, 0, nullptr);
    auto* first = root.add<Holder>(0, 0, &square);
    auto* second = root.add<Holder>(30, 0, &square);
    auto* third = root.add<Holder>(60, 0, &square);
    second->addDirtyRect({1, 1, 2, 2});

    display.failCallIndex = 1;  // second's first rectangle
    EXPECT_FALSE(root.draw(display.target()));
    EXPECT_EQ(display.calls.size(), 2u);
    EXPECT_TRUE(first->getDirtyRects().empty());
    EXPECT_EQ(second->getDirtyCount(), 2) << "the failing element's list is kept";
    EXPECT_FALSE(second->isRedrawNeeded());
    EXPECT_EQ(third->getDirtyCount(), 1);
    EXPECT_TRUE(third->isRedrawNeeded()) << "later siblings are not drawn";
}

TEST_F(ElementTest, BlitFromAnUnloadedImageFails) {
    display.failOpen = true;
    Image broken{&display, BitmapName::resource(999), 20, 20, 1, 1, 1};
    Holder e(nullptr, 0, 0, &broken);
    EXPECT_EQ(broken.getSurface(), nullptr);
    EXPECT_FALSE(e.draw(display.target()));
}

TEST_F(ElementTest, MouseDispatchAsksFromTheTopAndStopsAtConsumed) {
    std::vector<int> asked;
    Holder root(nullptr, 0, 0, nullptr);
    auto* parent = root.add<Holder>(10, 20, nullptr);
    parent->add<Probe>(0, 0, InputHandled, &asked, 0);
    parent->add<Probe>(0, 0, InputIgnored, &asked, 1);
    auto* top = parent->add<Probe>(0, 0, InputConsumed, &asked, 2);

    EXPECT_EQ(parent->onMouse(msg::MouseMove, 0, 50, 60), InputIgnored);
    EXPECT_TRUE(asked.empty()) << "mouse input off: no child is asked";

    parent->enableMouse();
    EXPECT_EQ(parent->onMouse(msg::MouseMove, 0, 50, 60), InputConsumed);
    EXPECT_EQ(asked, (std::vector<int>{2}));
    EXPECT_EQ(top->lastX, 40);
    EXPECT_EQ(top->lastY, 40);

    asked.clear();
    std::vector<int> asked2;
    Holder other(nullptr, 0, 0, nullptr);
    other.enableMouse();
    other.add<Probe>(0, 0, InputIgnored, &asked2, 0);
    other.add<Probe>(0, 0, InputHandled, &asked2, 1);
    other.add<Probe>(0, 0, InputHandled, &asked2, 2);
    EXPECT_EQ(other.onMouse(msg::LeftButtonDown, 1, 0, 0), InputIgnored) << "the result of index 0";
    EXPECT_EQ(asked2, (std::vector<int>{2, 1, 0}));

    Holder empty(nullptr, 0, 0, nullptr);
    empty.enableMouse();
    EXPECT_EQ(empty.onMouse(msg::MouseMove, 0, 0, 0), InputIgnored);
}

TEST_F(ElementTest, KeysReachNoChildUnlessEnabled) {
    std::vector<int> asked;
    Holder root(nullptr, 0, 0, nullptr);
    root.add<Probe>(0, 0, InputHandled, &asked, 0);
    EXPECT_EQ(root.onKey(msg::KeyDown, 'A', 0), InputIgnored);
    EXPECT_TRUE(asked.empty());
    root.enableKeys();
    EXPECT_EQ(root.onKey(msg::KeyDown, 'A', 0), InputHandled);
    EXPECT_EQ(asked, (std::vector<int>{0}));
}

TEST_F(ElementTest, DestructorDeletesChildrenInIndexOrder) {
    static std::vector<int> deleted;
    deleted.clear();
    struct Tracked : Holder {
        Tracked(Element* owner, int trackedId) : Holder(owner, 0, 0, nullptr), id(trackedId) {}
        ~Tracked() override { deleted.push_back(id); }
        int id;
    };
    {
        auto root = std::make_unique<Holder>(nullptr, 0, 0, nullptr);
        auto* a = root->add<Tracked>(1);
        a->add<Tracked>(11);
        root->add<Tracked>(2);
    }
    EXPECT_EQ(deleted, (std::vector<int>{1, 11, 2}));
}

}  // namespace
}  // namespace kz
