// `ordwell --record` on a private X server with openbox: a session typed and
// clicked through XTest, as another program would, into two Tk windows and a
// Qt button, is recorded until the stop key; the recorded macro, run with
// `ordwell /r` on fresh copies of the same windows, gives each the same text
// and the button the same click.
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "blackbox/ChildProcess.h"
#include "support/AwaitCondition.h"
#include "support/PrivateDisplay.h"

namespace ordwell {
namespace {

using test::ChildProcess;
using test::PrivateDisplay;

constexpr auto kBound = std::chrono::seconds(60);

// What one session typed into each window, and the click.
constexpr const char* kFirst = "Receiver One";
constexpr const char* kSecond = "Receiver Two";
constexpr const char* kButton = "Click Receiver";
const std::string kFirstText = "Say \"Hi\", {World}!";
const std::string kSecondText = "(1+2)^3 ~ 50% [x]";

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// The windows of one session: two Tk windows that report what they receive
// and a Qt button that reports its clicks, opened in this order so that the
// window manager places each copy where the one before was.
class Windows {
public:
    Windows(PrivateDisplay& display, Display* x) : m_display(display), m_x(x) {
        ChildProcess::Options options;
        options.directory = display.Home();
        options.environment = display.Environment();
        options.environment.push_back("QT_QPA_PLATFORM=xcb");
        options.environment.push_back("LC_ALL=C.UTF-8");
        options.noInput = true;
        for (const char* title : {kFirst, kSecond}) {
            m_texts.push_back(std::make_unique<ChildProcess>(
                "/usr/bin/python3", std::vector<std::string>{RECEIVER_SCRIPT, "tk", title}, options));
            EXPECT_TRUE(m_texts.back()->WaitForOutput([](const std::string& out) { return out == "ready\n"; }, kBound))
                << m_texts.back()->Errors();
            EXPECT_TRUE(test::AwaitCondition([&] { return Activate(title); }, kBound));
        }
        m_button = std::make_unique<ChildProcess>(CLICK_RECEIVER_QT, std::vector<std::string>{kButton}, options);
        EXPECT_TRUE(
            m_button->WaitForOutput([](const std::string& out) { return out.find('\n') != std::string::npos; }, kBound))
            << m_button->Errors();
        std::istringstream ready(m_button->Output());
        std::string word;
        ready >> word >> m_buttonWindow;
        EXPECT_TRUE(test::AwaitCondition([&] { return display.NetActiveWindow() == m_buttonWindow; }, kBound));
        const std::vector<int> at = display.RootPosition(m_buttonWindow);
        const std::vector<int> size = display.Geometry(m_buttonWindow);
        if (at.size() == 2 && size.size() == 4) {
            m_centre = {at[0] + size[2] / 2, at[1] + size[3] / 2};
        }
    }

    // What a text window received after its "ready" line.
    std::string Text(int which) const { return m_texts[which]->Output().substr(6); }
    bool AwaitText(int which, const std::string& text) const {
        return m_texts[which]->WaitForOutput([&](const std::string& out) { return out.substr(6) == text; }, kBound);
    }
    // The button's reports after its "ready" line.
    std::string Clicks() const { return m_button->Output().substr(m_button->Output().find('\n') + 1); }
    bool AwaitClicks(const std::string& clicks) const {
        return m_button->WaitForOutput([&](const std::string& out) { return out.substr(out.find('\n') + 1) == clicks; },
                                       kBound);
    }
    const std::vector<int>& Centre() const { return m_centre; }

    // Asks the window manager to activate the window, as a pager does;
    // whether it is the active one.
    bool Activate(const std::string& title) {
        const Window window = Find(DefaultRootWindow(m_x), title);
        if (window == None) {
            return false;
        }
        if (m_display.NetActiveWindow() == window) {
            return true;
        }
        XEvent request{};
        request.xclient.type = ClientMessage;
        request.xclient.window = window;
        request.xclient.message_type = XInternAtom(m_x, "_NET_ACTIVE_WINDOW", False);
        request.xclient.format = 32;
        request.xclient.data.l[0] = 2;
        XSendEvent(m_x, DefaultRootWindow(m_x), False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
        XSync(m_x, False);
        return test::AwaitCondition([&] { return m_display.NetActiveWindow() == window; }, std::chrono::seconds(2));
    }

private:
    Window Find(Window under, const std::string& title) {
        Window root = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_x, under, &root, &parent, &children, &count) == 0) {
            return None;
        }
        Window found = None;
        for (unsigned int i = 0; i < count && found == None; ++i) {
            char* name = nullptr;
            if (XFetchName(m_x, children[i], &name) != 0 && name != nullptr) {
                found = title == name ? children[i] : None;
                XFree(name);
            }
            if (found == None) {
                found = Find(children[i], title);
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
        return found;
    }

    PrivateDisplay& m_display;
    Display* m_x;
    std::vector<std::unique_ptr<ChildProcess>> m_texts;
    std::unique_ptr<ChildProcess> m_button;
    unsigned long m_buttonWindow = 0;
    std::vector<int> m_centre;
};

class X11Recording : public testing::Test {
protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);
        ASSERT_TRUE(display.Ready()) << display.Problem();
        x = XOpenDisplay(display.Name().c_str());
        ASSERT_NE(x, nullptr);
        folder = display.Home() + "/macros";
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        if (x != nullptr) {
            XCloseDisplay(x);
        }
    }

    ChildProcess::Options OrdwellOptions() const {
        ChildProcess::Options options;
        options.directory = folder;
        options.environment = display.Environment();
        options.noInput = true;
        return options;
    }

    // Presses and releases a key through XTest, `delayMs` after the one
    // before as the server counts.
    void Key(KeySym keysym, bool shift = false, unsigned long delayMs = 0) {
        const KeyCode code = XKeysymToKeycode(x, keysym);
        const KeyCode shiftKey = XKeysymToKeycode(x, XK_Shift_L);
        if (shift) {
            XTestFakeKeyEvent(x, shiftKey, True, delayMs);
            delayMs = 0;
        }
        XTestFakeKeyEvent(x, code, True, delayMs);
        XTestFakeKeyEvent(x, code, False, 0);
        if (shift) {
            XTestFakeKeyEvent(x, shiftKey, False, 0);
        }
        XSync(x, False);
    }
    // Types ASCII text key by key, with Shift where the layout needs it.
    void Type(const std::string& text) {
        for (const char c : text) {
            const auto keysym = static_cast<KeySym>(static_cast<unsigned char>(c));
            const KeyCode code = XKeysymToKeycode(x, keysym);
            Key(keysym, XkbKeycodeToKeysym(x, code, 0, 0) != keysym);
        }
    }

    PrivateDisplay display{PrivateDisplay::Manager::Openbox};
    Display* x = nullptr;
    std::string folder;
};

TEST_F(X11Recording, ARecordedSessionPlayedBackOnFreshWindowsDoesWhatWasDone) {
    const std::string firstExpected = kFirstText + "\r\x01";
    const std::string secondExpected = kSecondText;
    std::string lines;
    std::vector<int> centre;
    {
        Windows windows(display, x);
        ASSERT_EQ(windows.Centre().size(), 2U);
        centre = windows.Centre();
        // A recording adds to the file: what it held stays, and the new lines
        // end as its lines do.
        std::ofstream(folder + "/recorded.ow", std::ios::binary) << "// Recorded:";
        ChildProcess recorder(ORDWELL_EXECUTABLE, {"--record", "recorded.ow"}, OrdwellOptions());
        ASSERT_TRUE(recorder.WaitForOutput(
            [&](const std::string&) { return recorder.Errors().find("press Pause to stop") != std::string::npos; },
            kBound))
            << recorder.Errors();

        ASSERT_TRUE(windows.Activate(kFirst));
        Type(kFirstText);
        Key(XK_Return);
        const KeyCode control = XKeysymToKeycode(x, XK_Control_L);
        XTestFakeKeyEvent(x, control, True, 0);
        Key(XK_a);
        XTestFakeKeyEvent(x, control, False, 0);
        XSync(x, False);
        ASSERT_TRUE(windows.AwaitText(0, firstExpected)) << windows.Text(0);

        ASSERT_TRUE(windows.Activate(kSecond));
        Type(kSecondText);
        ASSERT_TRUE(windows.AwaitText(1, secondExpected)) << windows.Text(1);

        // The click comes 1.5 s after the last key, as the server counts: a
        // pause the recording is to keep.
        XTestFakeMotionEvent(x, DefaultScreen(x), windows.Centre()[0], windows.Centre()[1], 0);
        XTestFakeButtonEvent(x, Button1, True, 1500);
        XTestFakeButtonEvent(x, Button1, False, 0);
        XSync(x, False);
        ASSERT_TRUE(windows.AwaitClicks("click\n")) << windows.Clicks();

        Key(XK_Pause);
        ASSERT_EQ(recorder.Wait(kBound), 0) << recorder.Errors();
        lines = ReadAll(folder + "/recorded.ow");
        std::cout << "Recorded lines:\n" << lines;
    }
    EXPECT_TRUE(lines.starts_with("// Recorded:\nActivateWindow(")) << lines;
    EXPECT_NE(lines.find("ActivateWindow(\"Receiver One\")\nSendKeys(\"Say {\"}Hi{\"}, {{}World{}}!~\")\n"
                         "SendKeys(\"^a\")\nActivateWindow(\"Receiver Two\")\n"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("SendKeys(\"{(}1{+}2{)}{^}3 {~} 50{%} [x]\")\nDelay(1"), std::string::npos) << lines;
    // Neither the stop key nor the window the last click activated.
    EXPECT_EQ(lines.find("Pause"), std::string::npos) << lines;
    EXPECT_EQ(lines.find(kButton), std::string::npos) << lines;
    EXPECT_TRUE(
        lines.ends_with("\nMouseClickScreen(" + std::to_string(centre[0]) + "," + std::to_string(centre[1]) + ")\n"))
        << lines;

    {
        ChildProcess check(ORDWELL_EXECUTABLE, {"--check", "recorded.ow"}, OrdwellOptions());
        EXPECT_EQ(check.Wait(kBound), 0) << check.Output() << check.Errors();
    }
    // Played back on fresh windows, with the user's pointer elsewhere.
    Windows windows(display, x);
    display.MovePointer(3, 4);
    ChildProcess player(ORDWELL_EXECUTABLE, {"/r", "recorded.ow"}, OrdwellOptions());
    EXPECT_EQ(player.Wait(kBound), 0) << player.Errors();
    EXPECT_TRUE(windows.AwaitText(0, firstExpected)) << windows.Text(0);
    EXPECT_TRUE(windows.AwaitText(1, secondExpected)) << windows.Text(1);
    EXPECT_TRUE(windows.AwaitClicks("click\n")) << windows.Clicks();
}

} // namespace
} // namespace ordwell
