#include <gtest/gtest.h>

#include "app/gtk/input_translation.h"
#include "display/messages.h"

namespace kz {
namespace {

TEST(GtkInputTranslation, ButtonsBecomeTheirMessagesWithTheStateAfterTheEvent) {
    struct Case {
        GdkEventType type;
        guint button;
        guint stateBefore;
        uint32_t message;
        uint32_t wparam;
    };
    const Case cases[] = {
        {GDK_BUTTON_PRESS, 1, 0, msg::LeftButtonDown, mouseflag::LeftButton},
        {GDK_BUTTON_RELEASE, 1, GDK_BUTTON1_MASK, msg::LeftButtonUp, 0},
        {GDK_BUTTON_PRESS, 2, 0, msg::MiddleButtonDown, mouseflag::MiddleButton},
        {GDK_BUTTON_RELEASE, 2, GDK_BUTTON2_MASK, msg::MiddleButtonUp, 0},
        {GDK_BUTTON_PRESS, 3, 0, msg::RightButtonDown, mouseflag::RightButton},
        {GDK_BUTTON_RELEASE, 3, GDK_BUTTON3_MASK, msg::RightButtonUp, 0},
        // The left button still held while another one goes up or down.
        {GDK_BUTTON_PRESS, 3, GDK_BUTTON1_MASK, msg::RightButtonDown,
         mouseflag::LeftButton | mouseflag::RightButton},
        {GDK_BUTTON_RELEASE, 3, GDK_BUTTON1_MASK | GDK_BUTTON3_MASK, msg::RightButtonUp,
         mouseflag::LeftButton},
        {GDK_BUTTON_PRESS, 1, GDK_SHIFT_MASK | GDK_CONTROL_MASK, msg::LeftButtonDown,
         mouseflag::LeftButton | mouseflag::Shift | mouseflag::Control},
    };
    for (const Case& c : cases) {
        std::optional<TranslatedMouse> m = translateButton(c.type, c.button, c.stateBefore);
        ASSERT_TRUE(m.has_value()) << c.button;
        EXPECT_EQ(m->message, c.message) << c.button;
        EXPECT_EQ(m->wparam, c.wparam) << c.button;
    }
}

TEST(GtkInputTranslation, DoubleClicksAndOtherButtonsGiveNoMessage) {
    // A quick second click already arrived as a press of its own.
    EXPECT_FALSE(translateButton(GDK_2BUTTON_PRESS, 1, GDK_BUTTON1_MASK).has_value());
    EXPECT_FALSE(translateButton(GDK_3BUTTON_PRESS, 1, GDK_BUTTON1_MASK).has_value());
    for (guint button : {0u, 4u, 5u, 8u, 9u}) {
        EXPECT_FALSE(translateButton(GDK_BUTTON_PRESS, button, 0).has_value()) << button;
        EXPECT_FALSE(translateButton(GDK_BUTTON_RELEASE, button, 0).has_value()) << button;
    }
}

TEST(GtkInputTranslation, MotionCarriesTheHeldLeftButton) {
    EXPECT_EQ(translateMotion(0).message, msg::MouseMove);
    EXPECT_EQ(translateMotion(0).wparam, 0u);
    EXPECT_EQ(translateMotion(GDK_BUTTON1_MASK).wparam, mouseflag::LeftButton);
    // Lock and Alt have no mouse flag.
    EXPECT_EQ(translateMotion(GDK_LOCK_MASK | GDK_MOD1_MASK).wparam, 0u);
}

TEST(GtkInputTranslation, KeysBecomeKeyMessagesWithVirtualKeyCodes) {
    std::optional<TranslatedKey> down = translateKey(GDK_KEY_PRESS, GDK_KEY_w);
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->message, msg::KeyDown);
    EXPECT_EQ(down->wparam, uint32_t{'W'});

    std::optional<TranslatedKey> up = translateKey(GDK_KEY_RELEASE, GDK_KEY_W);
    ASSERT_TRUE(up.has_value());
    EXPECT_EQ(up->message, msg::KeyUp);
    EXPECT_EQ(up->wparam, uint32_t{'W'});

    EXPECT_FALSE(translateKey(GDK_BUTTON_PRESS, GDK_KEY_w).has_value());
}

TEST(GtkInputTranslation, VirtualKeyCodes) {
    EXPECT_EQ(virtualKeyFor(GDK_KEY_a), 0x41u);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_Z), 0x5Au);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_0), 0x30u);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_F1), 0x70u);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_F12), 0x7Bu);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_Escape), 0x1Bu);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_Return), 0x0Du);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_Left), 0x25u);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_Down), 0x28u);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_Control_L), 0x11u);
    EXPECT_EQ(virtualKeyFor(GDK_KEY_eacute), 0u);
}

}  // namespace
}  // namespace kz
