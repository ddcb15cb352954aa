#include "platform/linux/BackendChoice.h"

#include <gtest/gtest.h>

namespace ordwell {
namespace {

using Desktop = BackendChoice::Desktop;

// A build with every backend, on a machine where nothing is named yet.
DesktopFindings FullBuild() {
    DesktopFindings found;
    found.x11Built = true;
    found.qtBuilt = true;
    return found;
}

DesktopFindings WithX11(DesktopFindings found, bool answers = true) {
    found.x11Display = ":1";
    found.x11Answers = answers;
    return found;
}

DesktopFindings WithWayland(DesktopFindings found, WaylandAnswer answer) {
    found.waylandDisplay = "wayland-1";
    found.wayland = answer;
    if (answer == WaylandAnswer::LacksProtocols) {
        found.waylandLacks = "zwp_virtual_keyboard_manager_v1";
    }
    return found;
}

TEST(BackendChoice, NoDisplayMeansTheConsoleAndNoWindowsWithNothingToSay) {
    const BackendChoice none = ChooseBackends(FullBuild());
    EXPECT_EQ(none.desktop, Desktop::None);
    EXPECT_FALSE(none.qt);
    EXPECT_EQ(none.desktopReason, "no display");
    EXPECT_EQ(none.notice, "");

    const BackendChoice silent = ChooseBackends(WithX11(FullBuild(), false));
    EXPECT_EQ(silent.desktop, Desktop::None);
    EXPECT_FALSE(silent.qt);
    EXPECT_EQ(silent.desktopReason, "the X display :1 does not answer");
    EXPECT_EQ(silent.notice, "");
}

TEST(BackendChoice, AnXDisplayServesWindowsAndQtOnXcb) {
    const BackendChoice x11 = ChooseBackends(WithX11(FullBuild()));
    EXPECT_EQ(x11.desktop, Desktop::X11);
    EXPECT_EQ(x11.desktopReason, "DISPLAY=:1");
    EXPECT_TRUE(x11.qt);
    EXPECT_EQ(x11.qtPlatform, "xcb");
    EXPECT_EQ(x11.notice, "");

    // The user's choice of Qt platform is left alone.
    DesktopFindings chosen = WithX11(FullBuild());
    chosen.qtPlatform = "offscreen";
    EXPECT_EQ(ChooseBackends(chosen).qtPlatform, "");

    // Without Qt in the build, the X display still serves the windows.
    DesktopFindings headless = WithX11(FullBuild());
    headless.qtBuilt = false;
    EXPECT_EQ(ChooseBackends(headless).desktop, Desktop::X11);
    EXPECT_FALSE(ChooseBackends(headless).qt);
}

TEST(BackendChoice, AWaylandCompositorWithTheProtocolsComesFirst) {
    const BackendChoice wayland = ChooseBackends(WithWayland(WithX11(FullBuild()), WaylandAnswer::Offers));
    EXPECT_EQ(wayland.desktop, Desktop::Wayland);
    EXPECT_EQ(wayland.desktopReason, "WAYLAND_DISPLAY=wayland-1");
    EXPECT_TRUE(wayland.qt);
    EXPECT_EQ(wayland.qtPlatform, ""); // both kinds answer: Qt picks
    EXPECT_EQ(wayland.notice, "");

    const BackendChoice alone = ChooseBackends(WithWayland(FullBuild(), WaylandAnswer::Offers));
    EXPECT_EQ(alone.desktop, Desktop::Wayland);
    EXPECT_EQ(alone.qtPlatform, "wayland");
}

// A Wayland session the backend cannot serve falls back to XWayland, and says
// so once; with no X display either, the commands find no windows.
TEST(BackendChoice, AWaylandSessionWithoutTheProtocolsSaysWhatItLacksAndWhatServesInstead) {
    const BackendChoice xwayland = ChooseBackends(WithWayland(WithX11(FullBuild()), WaylandAnswer::LacksProtocols));
    EXPECT_EQ(xwayland.desktop, Desktop::X11);
    EXPECT_TRUE(xwayland.qt);
    EXPECT_EQ(xwayland.qtPlatform, ""); // Qt may still run natively
    EXPECT_EQ(xwayland.notice,
              "the Wayland compositor at wayland-1 lacks zwp_virtual_keyboard_manager_v1: windows, keys and clicks "
              "reach only XWayland windows, through X11 (DISPLAY=:1); native Wayland windows are out of reach");

    const BackendChoice notBuilt = ChooseBackends(WithWayland(WithX11(FullBuild()), WaylandAnswer::NotBuilt));
    EXPECT_EQ(notBuilt.desktop, Desktop::X11);
    EXPECT_EQ(notBuilt.notice.rfind("this build has no Wayland backend for the compositor at wayland-1: ", 0), 0U);

    const BackendChoice lacking = ChooseBackends(WithWayland(FullBuild(), WaylandAnswer::LacksProtocols));
    EXPECT_EQ(lacking.desktop, Desktop::None);
    EXPECT_TRUE(lacking.qt);
    EXPECT_EQ(lacking.qtPlatform, "wayland");
    EXPECT_EQ(lacking.desktopReason, "the Wayland compositor at wayland-1 lacks zwp_virtual_keyboard_manager_v1");
    EXPECT_EQ(lacking.notice, "the Wayland compositor at wayland-1 lacks zwp_virtual_keyboard_manager_v1, and no X "
                              "display is named (DISPLAY): window, key and click commands find no windows and answer "
                              "FALSE");

    const BackendChoice silent = ChooseBackends(WithWayland(FullBuild(), WaylandAnswer::Silent));
    EXPECT_EQ(silent.desktop, Desktop::None);
    EXPECT_FALSE(silent.qt);
    EXPECT_EQ(silent.desktopReason, "no Wayland compositor answers at wayland-1");
    EXPECT_EQ(silent.notice, "no Wayland compositor answers at wayland-1, and no X display is named (DISPLAY): "
                             "window, key and click commands find no windows and answer FALSE");

    const BackendChoice noX11 = ChooseBackends(WithWayland(WithX11(FullBuild(), false), WaylandAnswer::Silent));
    EXPECT_NE(noX11.notice.find(", and the X display :1 does not answer: "), std::string::npos);
}

TEST(BackendChoice, ABuildWithoutX11OrQtUsesWhatItHas) {
    DesktopFindings found = WithX11(FullBuild(), false);
    found.x11Built = false;
    found.qtBuilt = false;
    const BackendChoice choice = ChooseBackends(found);
    EXPECT_EQ(choice.desktop, Desktop::None);
    EXPECT_FALSE(choice.qt);
    EXPECT_EQ(choice.desktopReason, "this build has no X11 backend");
}

} // namespace
} // namespace ordwell
