#include "display/button.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "display/messages.h"
#include "tests/support/holder.h"
#include "tests/support/recording_display.h"

namespace kz {
namespace {

using test::EventRecorder;
using test::RecordingDisplay;

// Lets a test put the Button into any state with a frame no transition sets.
class TestButton : public Button {
  public:
    using Button::Button;
    void force(ButtonState s, int32_t f) {
        state = s;
        frame = f;
    }
};

constexpr int32_t kNormal = 0;
constexpr int32_t kHover = 1;
constexpr int32_t kPressed = 2;
constexpr int32_t kUntouched = 3;  // shown before a transition that sets no frame

using Op = InputResult (Button::*)();

struct Cell {
    const char* op;
    Op call;
    Button::ButtonState from;
    Button::ButtonState to;
    int32_t frame;       // kUntouched when the cell sets none
    ElementEvent event;  // 0 when none is sent
    InputResult result;
};

class ButtonTest : public ::testing::Test {
  protected:
    RecordingDisplay display;
    // Four frames of 62 x 52 so that normal, hover, pressed and "none set" differ.
    Image image{&display, BitmapName::resource(116), 248, 52, 4, 1, 4};
    EventRecorder parent;
    TestButton* button = parent.add<TestButton>(100, 200, &image, kNormal, kHover, kPressed);

    InputResult mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
        return button->onMouse(message, wparam, x, y);
    }
    InputResult inside(uint32_t message, uint32_t wparam = 0) {
        return mouse(message, wparam, 130, 220);
    }
    InputResult outside(uint32_t message, uint32_t wparam = 0) {
        return mouse(message, wparam, 10, 10);
    }
};

TEST_F(ButtonTest, StartsNormalWithMouseInput) {
    EXPECT_EQ(button->getState(), Button::Normal);
    EXPECT_EQ(button->getFrame(), 0);
    EXPECT_TRUE(button->isMouseEnabled());
    EXPECT_EQ(button->getWidth(), 62);
    EXPECT_EQ(button->getHeight(), 52);

    // setStateFrames resets the state and leaves the frame shown.
    button->force(Button::Pressed, kUntouched);
    button->setStateFrames(1, 2, 3);
    EXPECT_EQ(button->getState(), Button::Normal);
    EXPECT_EQ(button->getFrame(), kUntouched);
    EXPECT_EQ(button->getHoverFrame(), 2);
}

TEST_F(ButtonTest, EveryTransitionCell) {
    using B = Button;
    const std::vector<Cell> table = {
        {"pressInside", &B::pressInside, B::Normal, B::Pressed, kPressed, B::ButtonDown,
         InputConsumed},
        {"pressInside", &B::pressInside, B::Hover, B::Pressed, kPressed, B::ButtonDown,
         InputConsumed},
        {"pressInside", &B::pressInside, B::Pressed, B::Pressed, kUntouched, B::ButtonDown,
         InputConsumed},
        {"pressInside", &B::pressInside, B::PressedOutside, B::Pressed, kPressed, B::ButtonDown,
         InputConsumed},
        {"releaseInside", &B::releaseInside, B::Normal, B::Hover, kHover, B::ButtonOver,
         InputConsumed},
        {"releaseInside", &B::releaseInside, B::Hover, B::Hover, kUntouched, B::ButtonOver,
         InputConsumed},
        {"releaseInside", &B::releaseInside, B::Pressed, B::Hover, kHover, B::ButtonClick,
         InputConsumed},
        {"releaseInside", &B::releaseInside, B::PressedOutside, B::Hover, kHover, B::ButtonOver,
         InputConsumed},
        {"releaseOutside", &B::releaseOutside, B::Normal, B::Normal, kUntouched, 0, InputIgnored},
        {"releaseOutside", &B::releaseOutside, B::Hover, B::Normal, kNormal, 0, InputIgnored},
        {"releaseOutside", &B::releaseOutside, B::Pressed, B::Normal, kNormal, 0, InputIgnored},
        {"releaseOutside", &B::releaseOutside, B::PressedOutside, B::Normal, kUntouched,
         B::ButtonCancel, InputHandled},
        {"moveInside", &B::moveInside, B::Normal, B::Hover, kHover, B::ButtonOver, InputHandled},
        {"moveInside", &B::moveInside, B::Hover, B::Hover, kUntouched, 0, InputConsumed},
        {"moveInside", &B::moveInside, B::Pressed, B::Hover, kHover, B::ButtonOver, InputHandled},
        {"moveInside", &B::moveInside, B::PressedOutside, B::Hover, kHover, B::ButtonOver,
         InputHandled},
        {"moveOutside", &B::moveOutside, B::Normal, B::Normal, kUntouched, 0, InputIgnored},
        {"moveOutside", &B::moveOutside, B::Hover, B::Normal, kNormal, B::ButtonOut, InputHandled},
        {"moveOutside", &B::moveOutside, B::Pressed, B::Normal, kNormal, 0, InputHandled},
        {"moveOutside", &B::moveOutside, B::PressedOutside, B::Normal, kUntouched, 0, InputHandled},
        {"dragInside", &B::dragInside, B::Normal, B::Normal, kUntouched, 0, InputIgnored},
        {"dragInside", &B::dragInside, B::Hover, B::Pressed, kPressed, 0, InputHandled},
        {"dragInside", &B::dragInside, B::Pressed, B::Pressed, kUntouched, 0, InputHandled},
        {"dragInside", &B::dragInside, B::PressedOutside, B::Pressed, kPressed, B::ButtonDragIn,
         InputConsumed},
        {"dragOutside", &B::dragOutside, B::Normal, B::Normal, kUntouched, 0, InputIgnored},
        {"dragOutside", &B::dragOutside, B::Hover, B::Normal, kNormal, 0, InputIgnored},
        {"dragOutside", &B::dragOutside, B::Pressed, B::PressedOutside, kNormal, B::ButtonDragOut,
         InputHandled},
        {"dragOutside", &B::dragOutside, B::PressedOutside, B::PressedOutside, kUntouched, 0,
         InputIgnored},
    };
    for (const Cell& cell : table) {
        SCOPED_TRACE(std::string(cell.op) + " from state " + std::to_string(cell.from));
        button->force(cell.from, kUntouched);
        parent.events.clear();
        EXPECT_EQ(((*button).*(cell.call))(), cell.result);
        EXPECT_EQ(button->getState(), cell.to);
        EXPECT_EQ(button->getFrame(), cell.frame);
        if (cell.event == 0) {
            EXPECT_TRUE(parent.events.empty());
        } else {
            EXPECT_EQ(parent.codes(), (std::vector<ElementEvent>{cell.event}));
            EXPECT_EQ(parent.senderFrames(), (std::vector<int32_t>{cell.frame}))
                << "the parent sees the new look";
        }
    }
}

TEST_F(ButtonTest, ClickIsPressThenReleaseOverIt) {
    EXPECT_EQ(inside(msg::LeftButtonDown, mouseflag::LeftButton), InputConsumed);
    EXPECT_EQ(button->getFrame(), kPressed);
    EXPECT_EQ(inside(msg::LeftButtonUp), InputConsumed);
    EXPECT_EQ(parent.codes(), (std::vector<ElementEvent>{Button::ButtonDown, Button::ButtonClick}));
    EXPECT_EQ(parent.senderFrames(), (std::vector<int32_t>{kPressed, kHover}));
    EXPECT_EQ(button->getState(), Button::Hover);
}

TEST_F(ButtonTest, DraggingOffAndReleasingCancels) {
    inside(msg::LeftButtonDown, mouseflag::LeftButton);
    EXPECT_EQ(outside(msg::MouseMove, mouseflag::LeftButton), InputHandled);
    EXPECT_EQ(outside(msg::LeftButtonUp), InputHandled);
    EXPECT_EQ(parent.codes(), (std::vector<ElementEvent>{Button::ButtonDown, Button::ButtonDragOut,
                                                         Button::ButtonCancel}));
    EXPECT_EQ(button->getState(), Button::Normal);
    EXPECT_EQ(button->getFrame(), kNormal);
}

TEST_F(ButtonTest, DraggingOffAndBackStillClicks) {
    inside(msg::LeftButtonDown, mouseflag::LeftButton);
    outside(msg::MouseMove, mouseflag::LeftButton);
    EXPECT_EQ(inside(msg::MouseMove, mouseflag::LeftButton), InputConsumed);
    inside(msg::LeftButtonUp);
    EXPECT_EQ(parent.codes(),
              (std::vector<ElementEvent>{Button::ButtonDown, Button::ButtonDragOut,
                                         Button::ButtonDragIn, Button::ButtonClick}));
}

TEST_F(ButtonTest, PressElsewhereDraggedOntoItNeverClicks) {
    EXPECT_EQ(outside(msg::LeftButtonDown, mouseflag::LeftButton), InputIgnored);
    EXPECT_EQ(inside(msg::MouseMove, mouseflag::LeftButton), InputIgnored);
    EXPECT_EQ(button->getState(), Button::Normal);
    EXPECT_EQ(inside(msg::LeftButtonUp), InputConsumed);
    EXPECT_EQ(parent.codes(), (std::vector<ElementEvent>{Button::ButtonOver}));
    EXPECT_EQ(button->getState(), Button::Hover);
}

TEST_F(ButtonTest, HoverInAndOut) {
    EXPECT_EQ(inside(msg::MouseMove), InputHandled);
    EXPECT_EQ(mouse(msg::MouseMove, 0, 101, 201), InputConsumed);
    EXPECT_EQ(mouse(msg::MouseMove, 0, 161, 251), InputConsumed);
    EXPECT_EQ(outside(msg::MouseMove), InputHandled);
    EXPECT_EQ(outside(msg::MouseMove), InputIgnored);
    EXPECT_EQ(parent.codes(), (std::vector<ElementEvent>{Button::ButtonOver, Button::ButtonOut}));
}

TEST_F(ButtonTest, RightAndBottomEdgesAreOutside) {
    EXPECT_EQ(mouse(msg::LeftButtonDown, 1, 162, 200), InputIgnored);  // x + width
    EXPECT_EQ(mouse(msg::LeftButtonDown, 1, 100, 252), InputIgnored);  // y + height
    EXPECT_EQ(mouse(msg::LeftButtonDown, 1, 99, 200), InputIgnored);
    EXPECT_EQ(mouse(msg::LeftButtonDown, 1, 100, 199), InputIgnored);
    EXPECT_TRUE(parent.events.empty());
    EXPECT_EQ(mouse(msg::LeftButtonDown, 1, 100, 200), InputConsumed);  // top-left corner
}

TEST_F(ButtonTest, ReleaseOutsideTheWindowLeavesItPressedUntilTheNextMove) {
    // Pressed, and the release never arrives.
    inside(msg::LeftButtonDown, mouseflag::LeftButton);
    EXPECT_EQ(button->getState(), Button::Pressed);
    parent.events.clear();
    EXPECT_EQ(outside(msg::MouseMove), InputHandled);
    EXPECT_EQ(button->getState(), Button::Normal);
    EXPECT_TRUE(parent.events.empty()) << "back to Normal without an event";

    // Dragged off first, then released outside the window, then moved back over it.
    inside(msg::LeftButtonDown, mouseflag::LeftButton);
    outside(msg::MouseMove, mouseflag::LeftButton);
    EXPECT_EQ(button->getState(), Button::PressedOutside);
    parent.events.clear();
    EXPECT_EQ(inside(msg::MouseMove), InputHandled);
    EXPECT_EQ(button->getState(), Button::Hover);
    EXPECT_EQ(parent.codes(), (std::vector<ElementEvent>{Button::ButtonOver}));
}

TEST_F(ButtonTest, HeldMoveOverAHoveredButtonPressesItSilently) {
    inside(msg::MouseMove);
    parent.events.clear();
    EXPECT_EQ(inside(msg::MouseMove, mouseflag::LeftButton), InputHandled);
    EXPECT_EQ(button->getState(), Button::Pressed);
    inside(msg::LeftButtonUp);
    EXPECT_EQ(parent.codes(), (std::vector<ElementEvent>{Button::ButtonClick}));
}

TEST_F(ButtonTest, OtherMessagesAndHiddenButtonsAreIgnored) {
    for (uint32_t m : {msg::RightButtonDown, msg::RightButtonUp, msg::MiddleButtonDown,
                       msg::MiddleButtonUp, msg::LeftButtonDoubleClick, msg::KeyDown}) {
        EXPECT_EQ(inside(m, mouseflag::LeftButton), InputIgnored);
    }
    EXPECT_EQ(button->getState(), Button::Normal);

    inside(msg::MouseMove);
    button->setVisible(false);
    EXPECT_EQ(inside(msg::LeftButtonDown), InputIgnored);
    EXPECT_EQ(outside(msg::MouseMove), InputIgnored);
    EXPECT_EQ(button->getState(), Button::Hover) << "hiding keeps the state and look";
    EXPECT_EQ(button->getFrame(), kHover);
    button->setVisible(true);
    EXPECT_EQ(button->getState(), Button::Hover);
    EXPECT_EQ(parent.codes(), (std::vector<ElementEvent>{Button::ButtonOver}));
}

TEST_F(ButtonTest, EqualHoverAndPressedFramesInvalidateNothingBetweenThem) {
    EventRecorder root;
    auto* game = root.add<Button>(0, 0, &image, 0, 1, 1);
    game->onMouse(msg::MouseMove, 0, 5, 5);
    ASSERT_TRUE(root.draw(display.target()));
    display.clear();

    game->onMouse(msg::LeftButtonDown, mouseflag::LeftButton, 5, 5);
    EXPECT_EQ(game->getState(), Button::Pressed);
    EXPECT_FALSE(root.isRedrawNeeded());
    game->onMouse(msg::LeftButtonUp, 0, 5, 5);
    EXPECT_FALSE(root.isRedrawNeeded());
    EXPECT_EQ(root.codes(), (std::vector<ElementEvent>{Button::ButtonOver, Button::ButtonDown,
                                                       Button::ButtonClick}));
    game->onMouse(msg::MouseMove, 0, 500, 5);
    EXPECT_TRUE(root.isRedrawNeeded());
    ASSERT_TRUE(root.draw(display.target()));
    ASSERT_EQ(display.calls.size(), 1u);
    EXPECT_EQ(display.calls[0].src, (Rect{0, 0, 62, 52}));
}

TEST_F(ButtonTest, WithoutParentItSendsNothingAndStillWorks) {
    Button lone(nullptr, 0, 0, &image, 0, 1, 2);
    EXPECT_EQ(lone.onMouse(msg::LeftButtonDown, 1, 1, 1), InputConsumed);
    EXPECT_EQ(lone.onMouse(msg::LeftButtonUp, 0, 1, 1), InputConsumed);
    EXPECT_EQ(lone.getState(), Button::Hover);
}

}  // namespace
}  // namespace kz
