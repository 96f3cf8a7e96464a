#include <gtest/gtest.h>

#include "app/gtk/display_failure.h"

namespace kz {
namespace {

TEST(DisplayFailure, NamesEachDisplayTriedAndItsVariable) {
    DisplayEnvironment env;
    env.xDisplay = ":7";
    EXPECT_EQ(displayFailureMessage(env),
              "cannot open a display; tried the default Wayland display (WAYLAND_DISPLAY is not "
              "set) and the X display \":7\" (DISPLAY)");

    // Only WAYLAND_DISPLAY set: the message must not speak of DISPLAY alone.
    env.xDisplay = nullptr;
    env.waylandDisplay = "wayland-3";
    EXPECT_EQ(displayFailureMessage(env),
              "cannot open a display; tried the Wayland display \"wayland-3\" (WAYLAND_DISPLAY) "
              "and no X display (DISPLAY is not set)");

    env.xDisplay = "";
    env.waylandDisplay = "";
    EXPECT_EQ(displayFailureMessage(env),
              "cannot open a display; tried the default Wayland display (WAYLAND_DISPLAY is not "
              "set) and no X display (DISPLAY is not set)");
}

TEST(DisplayFailure, FollowsGdkBackendAndWhatGtkWasBuiltWith) {
    DisplayEnvironment env;
    env.waylandDisplay = "wayland-0";
    env.xDisplay = ":1";
    env.backends = "x11";
    EXPECT_EQ(
        displayFailureMessage(env),
        "cannot open a display; tried the X display \":1\" (DISPLAY), as GDK_BACKEND=x11 asks");
    env.backends = " wayland , x11";
    EXPECT_NE(displayFailureMessage(env).find("\"wayland-0\""), std::string::npos);
    env.backends = "*";
    EXPECT_NE(displayFailureMessage(env).find("\":1\""), std::string::npos);
    env.backends = "broadway";
    EXPECT_EQ(displayFailureMessage(env),
              "cannot open a display: GDK_BACKEND=broadway names no display this program can use "
              "(wayland, x11)");
    env.backends = nullptr;
    env.waylandBuiltIn = false;
    EXPECT_EQ(displayFailureMessage(env),
              "cannot open a display; tried the X display \":1\" (DISPLAY)");
}

}  // namespace
}  // namespace kz
