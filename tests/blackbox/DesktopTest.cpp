// The ordwell program on an X display of the test's own, without a window
// manager and with openbox: boxes come to the front with the focus and give
// it back, and run styles reach a started program's window. The test reads
// the display and types through Xlib and XTest, as a person would look and
// type.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "OrdwellProgram.h"
#include "support/AwaitCondition.h"
#include "support/PrivateDisplay.h"

// Xlib's Bool would hide the test parameter generator of the same name.
#undef Bool

namespace ordwell::test {
namespace {

std::optional<std::vector<unsigned long>> Property(Display* display, Window window, const char* name, Atom type) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 64, False, type, &actual, &format,
                           &count, &after, &data) != Success ||
        data == nullptr) {
        return std::nullopt;
    }
    std::vector<unsigned long> values(reinterpret_cast<unsigned long*>(data),
                                      reinterpret_cast<unsigned long*>(data) + (format == 32 ? count : 0));
    XFree(data);
    return values;
}

// The active window: the window manager's word for it, or the focus.
Window ActiveWindow(Display* display) {
    if (const auto active = Property(display, DefaultRootWindow(display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
        active && !active->empty() && active->front() != None) {
        return active->front();
    }
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

std::string Title(Display* display, Window window) {
    char* name = nullptr;
    if (window == None || window == PointerRoot || XFetchName(display, window, &name) == 0 || name == nullptr) {
        return {};
    }
    std::string title(name);
    XFree(name);
    return title;
}

// Waits, with a generous bound, until the condition holds.
bool Await(const std::function<bool()>& condition) {
    return AwaitCondition(condition, kBound);
}

// Whether the server refuses a grab of the key with the modifiers on the
// root window, as it does while another client holds it (BadAccess); a grab
// made is given up again.
bool GrabRefused(Display* display, KeyCode key, unsigned int modifiers) {
    static bool refused = false;
    refused = false;
    XSync(display, False);
    const auto previous = XSetErrorHandler([](Display*, XErrorEvent* error) {
        refused = refused || error->error_code == BadAccess;
        return 0;
    });
    XGrabKey(display, key, modifiers, DefaultRootWindow(display), True, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    XUngrabKey(display, key, modifiers, DefaultRootWindow(display));
    XSync(display, False);
    XSetErrorHandler(previous);
    return refused;
}

// Finds the top-level window with the title, below the root or in a frame.
Window FindWindowTitled(Display* display, Window under, const std::string& title) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, under, &root, &parent, &children, &count) == 0) {
        return None;
    }
    Window found = None;
    for (unsigned int i = 0; i < count && found == None; ++i) {
        found = Title(display, children[i]) == title ? children[i] : FindWindowTitled(display, children[i], title);
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

class DesktopCommands : public OrdwellProgram, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        m_screen = std::make_unique<PrivateDisplay>(m_dir, GetParam());
        ASSERT_TRUE(m_screen->Ready());
        m_display = XOpenDisplay(m_screen->Name().c_str());
        ASSERT_NE(m_display, nullptr);
        SetEnvironment("DISPLAY", m_screen->Name());
    }
    void TearDown() override {
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }

    // Opens a window of the test's own and makes it the active one.
    Window OpenActiveWindow(const std::string& title) {
        const Window window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 50, 50, 400, 300, 0, 0, 0);
        XStoreName(m_display, window, title.c_str());
        XMapWindow(m_display, window);
        XSync(m_display, False);
        // Shown: by the server, or managed by the window manager.
        EXPECT_TRUE(Await([&] {
            if (GetParam()) {
                const auto clients = Property(m_display, DefaultRootWindow(m_display), "_NET_CLIENT_LIST", XA_WINDOW);
                return clients && std::ranges::find(*clients, window) != clients->end();
            }
            XWindowAttributes attributes{};
            return XGetWindowAttributes(m_display, window, &attributes) != 0 && attributes.map_state == IsViewable;
        }));
        if (GetParam()) {
            XEvent request{};
            request.xclient.type = ClientMessage;
            request.xclient.window = window;
            request.xclient.message_type = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
            request.xclient.format = 32;
            request.xclient.data.l[0] = 2; // as a pager asks
            XSendEvent(m_display, DefaultRootWindow(m_display), False,
                       SubstructureRedirectMask | SubstructureNotifyMask, &request);
        } else {
            XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
        }
        XSync(m_display, False);
        EXPECT_TRUE(Await([&] { return ActiveWindow(m_display) == window; }));
        return window;
    }

    void PressEnter() {
        const KeyCode enter = XKeysymToKeycode(m_display, XK_Return);
        XTestFakeKeyEvent(m_display, enter, True, CurrentTime);
        XTestFakeKeyEvent(m_display, enter, False, CurrentTime);
        XSync(m_display, False);
    }

    // Whether ordwell finds windows on this display: not before it has an
    // X11 window system.
    bool OrdwellSeesWindows() {
        WriteMacro("probe.ow", "If(FindWindow(\"Before\"),WriteToFile(probe.txt,found))\n");
        const Result result = Run({"/r", "probe.ow"});
        return result.status == 0 && ReadFile("probe.txt") == "found";
    }

    std::unique_ptr<PrivateDisplay> m_screen;
    Display* m_display = nullptr;
};

TEST_P(DesktopCommands, BackendsOnAnXDisplayAreX11AndQt) {
    const Result result = Run({"--backends"});
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output.substr(0, result.output.find("sound: ")),
              "windows: x11 (DISPLAY=" + m_screen->Name() +
                  ")\n"
                  "keyboard: x11 (XTest)\n"
                  "pointer: x11 (XTest, the pointer put back after each click)\n"
                  "boxes: qt (xcb)\n");
    EXPECT_EQ(result.output.find("note: "), std::string::npos) << result.output;
}

// A Wayland session whose compositor cannot serve (here: none answers) falls
// back to its X display, XWayland, and the first window command says so once.
TEST_P(DesktopCommands, AWaylandSessionWithoutACompositorThatServesFallsBackToXWaylandAndSaysSoOnce) {
    SetEnvironment("XDG_RUNTIME_DIR", m_dir.string());
    SetEnvironment("WAYLAND_DISPLAY", "wayland-99");
    OpenActiveWindow("On XWayland");
    const std::string notice = "no Wayland compositor answers at wayland-99: windows, keys and clicks reach only "
                               "XWayland windows, through X11 (DISPLAY=" +
                               m_screen->Name() + "); native Wayland windows are out of reach";

    const Result backends = Run({"--backends"});
    EXPECT_EQ(backends.status, 0) << backends.errors;
    EXPECT_NE(backends.output.find("windows: x11 (DISPLAY=" + m_screen->Name() + ")\n"), std::string::npos)
        << backends.output;
    EXPECT_NE(backends.output.find("boxes: qt (xcb)\n"), std::string::npos) << backends.output;
    EXPECT_NE(backends.output.find("note: " + notice + "\n"), std::string::npos) << backends.output;

    const Result run = RunMacro("If(FindWindow(\"On XWayland\"),WriteLineToFile(results.txt,TRUE))\n"
                                "If(WindowActive(\"On XWayland\"),WriteLineToFile(results.txt,TRUE))\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadFile("results.txt"), "TRUE\r\nTRUE\r\n");
    EXPECT_EQ(run.errors, "ordwell: " + notice + "\n");
}

TEST_P(DesktopCommands, AMessageBoxTakesTheFocusAndEnterAnswersIt) {
    OpenActiveWindow("Before");
    WriteMacro("macro.ow", "MessageBox(\"Hello\")\nWriteToFile(answered.txt,yes)\n");
    auto child = Start({"/r", "macro.ow"});
    EXPECT_TRUE(Await([&] { return Title(m_display, ActiveWindow(m_display)) == "Ordwell"; }))
        << "active: " << Title(m_display, ActiveWindow(m_display)) << child->Errors();
    PressEnter();
    EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
    EXPECT_EQ(ReadFile("answered.txt"), "yes");
}

TEST_P(DesktopCommands, TheWindowActiveBeforeABoxIsActiveAgainAfterIt) {
    const Window before = OpenActiveWindow("Before");
    if (!OrdwellSeesWindows()) {
        GTEST_SKIP() << "ordwell has no X11 window system yet (FindWindow finds no window on the display)";
    }
    ASSERT_TRUE(Await([&] { return ActiveWindow(m_display) == before; }));
    WriteMacro("macro.ow", "MessageBox(\"Hello\")\n");
    auto child = Start({"/r", "macro.ow"});
    ASSERT_TRUE(Await([&] { return Title(m_display, ActiveWindow(m_display)) == "Ordwell"; }));
    PressEnter();
    EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
    EXPECT_TRUE(Await([&] { return ActiveWindow(m_display) == before; }))
        << "active: " << Title(m_display, ActiveWindow(m_display));
}

TEST_P(DesktopCommands, RunProgramMaximizedGivesAMaximizedWindow) {
    if (!GetParam()) {
        GTEST_SKIP() << "a maximized state needs a window manager";
    }
    OpenActiveWindow("Before");
    if (!OrdwellSeesWindows()) {
        GTEST_SKIP() << "ordwell has no X11 window system yet (FindWindow finds no window on the display)";
    }
    WriteMacro("macro.ow", "RunProgram(\"" ORDWELL_TEST_WINDOW " Started\",\"Maximized\")\nDelay(-1)\n");
    auto child = Start({"/r", "macro.ow"});
    Window started = None;
    const Atom vertical = XInternAtom(m_display, "_NET_WM_STATE_MAXIMIZED_VERT", False);
    const Atom horizontal = XInternAtom(m_display, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
    EXPECT_TRUE(Await([&] {
        started = FindWindowTitled(m_display, DefaultRootWindow(m_display), "Started");
        const auto state = Property(m_display, started, "_NET_WM_STATE", XA_ATOM);
        return state && std::ranges::count(*state, vertical) == 1 && std::ranges::count(*state, horizontal) == 1;
    }));
    // The started program outlives the run, and holds the run's output open
    // as long as it lives: it ends first.
    if (const auto pid = Property(m_display, started, "_NET_WM_PID", XA_CARDINAL); pid && pid->size() == 1) {
        ::kill(static_cast<pid_t>(pid->front()), SIGKILL);
    }
    child->Signal(SIGTERM);
    EXPECT_EQ(child->Wait(kBound), 0);
}

// Whether a window with the title is on the screen.
bool ShownWindowTitled(Display* display, const std::string& title) {
    const Window window = FindWindowTitled(display, DefaultRootWindow(display), title);
    XWindowAttributes attributes{};
    return window != None && XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

// SIGTERM and SIGINT end a box that waits for an answer, and the run with it:
// the line after the box does not run.
TEST_P(DesktopCommands, AStopSignalEndsAnOpenBox) {
    const std::pair<const char*, int> cases[] = {
        {"MessageBox(\"Waiting\")", SIGTERM},
        {"MessageBoxOkCancel(\"Waiting\")", SIGINT},
        {"InputBox(\"Waiting\",name)", SIGTERM},
    };
    for (const auto& [box, signal] : cases) {
        SCOPED_TRACE(box);
        std::filesystem::remove(m_dir / "after.txt");
        WriteMacro("macro.ow", std::string("SetCaption(\"Boxed\")\n") + box + "\nWriteToFile(after.txt,yes)\n");
        auto child = Start({"/r", "macro.ow"});
        ASSERT_TRUE(Await([&] { return ShownWindowTitled(m_display, "Boxed"); })) << child->Errors();
        child->Signal(signal);
        EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
        EXPECT_FALSE(std::filesystem::exists(m_dir / "after.txt"));
    }
}

// A stop request that comes while an If tests lets no box open, neither the
// branch's nor a later line's: a box would wait for an answer, and the run
// would not end.
TEST_P(DesktopCommands, NoBoxOpensAfterAStopSignal) {
    WriteMacro("macro.ow", "WriteToFile(testing.txt,yes)\nIf(Delay(-1),MessageBox(\"Then\"),MessageBox(\"Else\"))\n"
                           "MessageBox(\"After\")\n");
    auto child = Start({"/r", "macro.ow"});
    ASSERT_TRUE(Await([&] { return ReadFile("testing.txt") == "yes"; })) << child->Errors();
    child->Signal(SIGTERM);
    EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
}

// The processes of these names whose environment has the folder as HOME:
// started by a program of the test's, as they inherited it.
std::vector<std::string> ProgramsAtHome(const std::filesystem::path& home, const std::vector<std::string>& names) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::string name;
        std::ifstream(entry.path() / "comm") >> name;
        if (std::ranges::find(names, name) == names.end()) {
            continue;
        }
        std::ifstream environ(entry.path() / "environ", std::ios::binary);
        for (std::string variable; std::getline(environ, variable, '\0');) {
            if (variable == "HOME=" + home.string()) {
                found.push_back(name + " " + entry.path().filename().string());
            }
        }
    }
    return found;
}

// With no session bus address, libdbus under Qt would start a session bus
// for the display (dbus-launch and a dbus-daemon) that outlives the run. A
// run leaves none behind, and a program it starts gets the environment as it
// was.
TEST_P(DesktopCommands, ARunLeavesNoSessionBusBehind) {
    SetEnvironment("DBUS_SESSION_BUS_ADDRESS", std::nullopt);
    WriteMacro("macro.ow", "RunProgram(\"/bin/sh -c 'env > env.txt'\")\nWaitForProgram\nSetCaption(\"Boxed\")\n"
                           "MessageBox(\"Hello\")\n");
    auto child = Start({"/r", "macro.ow"});
    ASSERT_TRUE(Await([&] { return ShownWindowTitled(m_display, "Boxed"); })) << child->Errors();
    child->Signal(SIGTERM);
    EXPECT_EQ(child->Wait(kBound), 0) << child->Errors();
    EXPECT_EQ(ProgramsAtHome(m_dir, {"dbus-launch", "dbus-daemon"}), std::vector<std::string>());
    const std::string environment = ReadFile("env.txt");
    EXPECT_NE(environment.find("DISPLAY=" + m_screen->Name()), std::string::npos) << environment;
    EXPECT_EQ(environment.find("DBUS_SESSION_BUS_ADDRESS"), std::string::npos) << environment;
}

// --list-windows lists the windows a pattern can find, topmost first; a
// pattern marks the one the window commands use.
TEST_P(DesktopCommands, ListWindowsListsTheWindowsTopmostFirst) {
    OpenActiveWindow("Before");
    OpenActiveWindow("Lower window");
    OpenActiveWindow("Upper window");
    if (!OrdwellSeesWindows()) {
        GTEST_SKIP() << "ordwell has no X11 window system yet (FindWindow finds no window on the display)";
    }
    const Result all = Run({"--list-windows"});
    EXPECT_EQ(all.status, 0) << all.errors;
    // The test's own windows name no process; the server knows it is this
    // test's, and the listing names the program after a tab.
    const size_t upper = all.output.find("Upper window\t[desktop_tests]\n");
    const size_t lower = all.output.find("Lower window\t[desktop_tests]\n");
    EXPECT_NE(upper, std::string::npos) << all.output;
    EXPECT_NE(lower, std::string::npos) << all.output;
    EXPECT_LT(upper, lower) << all.output;
    const Result some = Run({"--list-windows", "*r window"});
    EXPECT_EQ(some.status, 0) << some.errors;
    EXPECT_EQ(some.output, "* Upper window\t[desktop_tests]\n  Lower window\t[desktop_tests]\n");
    const Result none = Run({"--list-windows", "No such*"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.output, "");
}

// A run style reaches the started program's window however the run goes on:
// as its last line, or before a line that types, the run ends on its own and
// the window has the state; for a program that names its process on its
// window and for one that does not (the server knows its client's process).
TEST_P(DesktopCommands, RunStylesReachTheWindowWhenTheRunEndsRightAfterRunProgram) {
    if (!GetParam()) {
        GTEST_SKIP() << "minimized and maximized states need a window manager";
    }
    OpenActiveWindow("Before");
    const Atom vertical = XInternAtom(m_display, "_NET_WM_STATE_MAXIMIZED_VERT", False);
    const Atom horizontal = XInternAtom(m_display, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
    int n = 0;
    for (const std::string style : {"Hidden", "Minimized", "Maximized"}) {
        for (const std::string program : {ORDWELL_TEST_WINDOW " ", ORDWELL_TEST_WINDOW " --no-pid "}) {
            for (const std::string next : {"", "SendKeys(\"x\")\n"}) {
                const std::string title = "Started" + std::to_string(++n);
                const std::string what = style + " " + program + "then \"" + next + "\"";
                WriteMacro("macro.ow", "RunProgram(\"" + program + title + "\",\"" + style + "\")\n" + next);
                auto child = Start({"/r", "macro.ow"});
                EXPECT_EQ(child->Wait(kBound), 0) << what << child->Errors();
                Window started = None;
                EXPECT_TRUE(Await([&] {
                    started = FindWindowTitled(m_display, DefaultRootWindow(m_display), title);
                    if (started == None) {
                        return false;
                    }
                    if (style == "Maximized") {
                        const auto state = Property(m_display, started, "_NET_WM_STATE", XA_ATOM);
                        return state && std::ranges::count(*state, vertical) == 1 &&
                               std::ranges::count(*state, horizontal) == 1;
                    }
                    XWindowAttributes attributes{};
                    const auto wmState =
                        Property(m_display, started, "WM_STATE", XInternAtom(m_display, "WM_STATE", False));
                    const bool unmapped = XGetWindowAttributes(m_display, started, &attributes) != 0 &&
                                          attributes.map_state != IsViewable;
                    // ICCCM: iconic; hidden is withdrawn, or without WM_STATE at all.
                    if (style == "Minimized") {
                        return unmapped && wmState && !wmState->empty() && wmState->front() == 3;
                    }
                    return unmapped && (!wmState || wmState->empty() || wmState->front() == 0);
                })) << what
                    << " window " << started << " viewable " <<
                    [&] {
                        XWindowAttributes attributes{};
                        return XGetWindowAttributes(m_display, started, &attributes) != 0 ? attributes.map_state : -1;
                    }();
                if (started != None) {
                    XKillClient(m_display, started);
                    XSync(m_display, False);
                }
            }
        }
    }
}

// A run's output is the macro's and the program's own: Qt has nothing to say
// on it, not even where the environment lacks XDG_RUNTIME_DIR, as under sudo
// or cron (the programs of these tests run without it).
TEST_P(DesktopCommands, ARunOnADisplayPrintsOnlyWhatTheMacroSays) {
    WriteMacro("empty.ow", "");
    const Result empty = Run({"/r", "empty.ow"});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.output, "");
    EXPECT_EQ(empty.errors, "");
    WriteMacro("window.ow", "FindWindow(\"No such window\")\nWriteToFile(done.txt,yes)\n");
    const Result window = Run({"/r", "window.ow"});
    EXPECT_EQ(window.status, 0);
    EXPECT_EQ(window.errors, "");
    EXPECT_EQ(ReadFile("done.txt"), "yes");
}

// Closing a window without a close request ends its program: never by way
// of a window nobody sees (the program's helper window, which takes no close
// request) nor of a window of ordwell's own (Qt's selection owner, hidden).
TEST_P(DesktopCommands, CloseWindowEndsNoProgramThroughAHiddenWindow) {
    OpenActiveWindow("Before");
    if (!OrdwellSeesWindows()) {
        GTEST_SKIP() << "ordwell has no X11 window system yet (FindWindow finds no window on the display)";
    }
    ChildProcess program(ORDWELL_TEST_WINDOW, {"Main", "Helper"}, ProgramOptions());
    const Window root = DefaultRootWindow(m_display);
    ASSERT_TRUE(Await([&] {
        return FindWindowTitled(m_display, root, "Main") != None && FindWindowTitled(m_display, root, "Helper") != None;
    }));
    std::string macro;
    for (const std::string line :
         {"CloseWindow(\"Helper\")", "QuitProgram(\"Helper\")", "CloseWindow(\"Qt Selection Owner for ordwell\")",
          "QuitProgram(\"Qt Selection Owner for ordwell\")"}) {
        macro += "If(" + line + ",WriteLineToFile(results.txt,TRUE),WriteLineToFile(results.txt,FALSE))\n";
    }
    const Result result = RunMacro(macro);
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(ReadFile("results.txt"), "FALSE\r\nFALSE\r\nFALSE\r\nFALSE\r\n");
    // Ordwell's requests were done when its connection closed.
    XSync(m_display, False);
    EXPECT_NE(FindWindowTitled(m_display, root, "Main"), None);
    EXPECT_NE(FindWindowTitled(m_display, root, "Helper"), None);
    program.Signal(SIGKILL);
    program.Wait(kBound);
}

// `ordwell --hotkeys` grabs the combinations of its table and runs a macro
// as its own run when its keys are pressed anywhere; a second press while it
// runs starts no second copy; at its end the keys are free again.
TEST_P(DesktopCommands, HotkeysRunTheirMacroOnceAtATimeAndAreGivenUpAtTheEnd) {
    const std::string hotkeys = R"(HKEY_CURRENT_USER\Software\Halvane\Ordwell\Hotkeys)";
    const Result table = RunMacro("WriteToRegistry(\"" + hotkeys + "\",Count,1)\n" + "WriteToRegistry(\"" + hotkeys +
                                  "\",Key1,\"^%h\")\n" + "WriteToRegistry(\"" + hotkeys + "\",Macro1,\"" +
                                  (m_dir / "hot.ow").string() + "\")\n");
    ASSERT_EQ(table.status, 0) << table.errors;
    // Writes one line a run, then waits until the test lets it end.
    const std::string runs = (m_dir / "runs.txt").string();
    WriteMacro("hot.ow", "WriteLineToFile(" + runs + ",ran)\n:Wait\nIf(FileExist(" + (m_dir / "done.txt").string() +
                             "),GoTo(Done),Delay(20))\nGoTo(Wait)\n:Done\nWriteLineToFile(" + runs + ",end)\n");
    auto resident = Start({"--hotkeys"});
    ASSERT_TRUE(resident->WaitForOutput(
        [](const std::string& output) { return output.find("ordwell: 1 hotkeys ready\n") != std::string::npos; },
        kBound))
        << resident->Output() << resident->Errors();
    EXPECT_NE(resident->Output().find("ordwell: Ctrl+Alt+H runs " + (m_dir / "hot.ow").string() + "\n"),
              std::string::npos);

    const KeyCode h = XKeysymToKeycode(m_display, XK_h);
    const KeyCode control = XKeysymToKeycode(m_display, XK_Control_L);
    const KeyCode alt = XKeysymToKeycode(m_display, XK_Alt_L);
    const auto press = [&] {
        for (const KeyCode key : {control, alt, h}) {
            XTestFakeKeyEvent(m_display, key, True, CurrentTime);
        }
        for (const KeyCode key : {h, alt, control}) {
            XTestFakeKeyEvent(m_display, key, False, CurrentTime);
        }
        XSync(m_display, False);
    };
    press();
    ASSERT_TRUE(Await([&] { return ReadFile("runs.txt") == "ran\r\n"; })) << resident->Errors();
    press(); // while the first run goes on
    // Pumping the output takes in the errors too.
    EXPECT_TRUE(resident->WaitForOutput(
        [&](const std::string&) { return resident->Errors().find("hot.ow still runs") != std::string::npos; }, kBound))
        << resident->Errors();
    WriteFile("done.txt", "");
    ASSERT_TRUE(Await([&] { return ReadFile("runs.txt") == "ran\r\nend\r\n"; })) << ReadFile("runs.txt");
    // Once the first run has ended, the key starts the macro again (pressed
    // until the resident has seen the end: once it runs, presses start none).
    std::filesystem::remove(m_dir / "done.txt");
    EXPECT_TRUE(Await([&] {
        press();
        return ReadFile("runs.txt") == "ran\r\nend\r\nran\r\n";
    })) << resident->Errors();
    WriteFile("done.txt", "");
    EXPECT_TRUE(Await([&] { return ReadFile("runs.txt") == "ran\r\nend\r\nran\r\nend\r\n"; })) << ReadFile("runs.txt");

    resident->Signal(SIGTERM);
    EXPECT_EQ(resident->Wait(kBound), 0) << resident->Errors();
    // The combination is free: a grab of the test's own is not refused.
    EXPECT_FALSE(GrabRefused(m_display, h, ControlMask | Mod1Mask));
}

// A change of the hotkey table in the store reaches a running
// `ordwell --hotkeys`: the new combination runs the new macro, and the old
// combination is given up, free for any program again.
TEST_P(DesktopCommands, HotkeysTakeOnAChangedTableWhileTheyRun) {
    const std::string hotkeys = R"(HKEY_CURRENT_USER\Software\Halvane\Ordwell\Hotkeys)";
    const auto writeTable = [&](const std::string& key, const std::string& macro) {
        const Result table = RunMacro("WriteToRegistry(\"" + hotkeys + "\",Count,1)\n" + "WriteToRegistry(\"" +
                                      hotkeys + "\",Key1,\"" + key + "\")\n" + "WriteToRegistry(\"" + hotkeys +
                                      "\",Macro1,\"" + (m_dir / macro).string() + "\")\n");
        EXPECT_EQ(table.status, 0) << table.errors;
    };
    const std::string runs = (m_dir / "runs.txt").string();
    WriteMacro("old.ow", "WriteLineToFile(" + runs + ",old)\n");
    WriteMacro("new.ow", "WriteLineToFile(" + runs + ",new)\n");
    writeTable("^%h", "old.ow");
    auto resident = Start({"--hotkeys"});
    ASSERT_TRUE(resident->WaitForOutput(
        [](const std::string& output) { return output.find("ordwell: 1 hotkeys ready\n") != std::string::npos; },
        kBound))
        << resident->Output() << resident->Errors();

    writeTable("^%j", "new.ow");
    const std::string taken = "ordwell: Ctrl+Alt+J runs " + (m_dir / "new.ow").string() + "\n";
    ASSERT_TRUE(resident->WaitForOutput(
        [&](const std::string& output) {
            return output.find(taken) != std::string::npos &&
                   output.find("ready\n", output.find(taken)) != std::string::npos;
        },
        kBound))
        << resident->Output() << resident->Errors();

    const KeyCode control = XKeysymToKeycode(m_display, XK_Control_L);
    const KeyCode alt = XKeysymToKeycode(m_display, XK_Alt_L);
    const auto press = [&](KeySym keysym) {
        const KeyCode key = XKeysymToKeycode(m_display, keysym);
        for (const KeyCode down : {control, alt, key}) {
            XTestFakeKeyEvent(m_display, down, True, CurrentTime);
        }
        for (const KeyCode up : {key, alt, control}) {
            XTestFakeKeyEvent(m_display, up, False, CurrentTime);
        }
        XSync(m_display, False);
    };
    press(XK_j);
    ASSERT_TRUE(Await([&] { return ReadFile("runs.txt") == "new\r\n"; })) << resident->Errors();
    // Ctrl+Alt+J is the resident's now, Ctrl+Alt+H nobody's: a grab of the
    // test's own is refused for the one and not the other, and pressing
    // Ctrl+Alt+H (before Ctrl+Alt+J again) runs nothing.
    EXPECT_TRUE(GrabRefused(m_display, XKeysymToKeycode(m_display, XK_j), ControlMask | Mod1Mask));
    EXPECT_FALSE(GrabRefused(m_display, XKeysymToKeycode(m_display, XK_h), ControlMask | Mod1Mask));
    press(XK_h);
    // Pressed until the resident has seen the first run end (until then a
    // press starts none).
    EXPECT_TRUE(Await([&] {
        press(XK_j);
        return ReadFile("runs.txt").starts_with("new\r\nnew\r\n");
    })) << ReadFile("runs.txt");
    EXPECT_EQ(ReadFile("runs.txt").find("old"), std::string::npos);

    resident->Signal(SIGTERM);
    EXPECT_EQ(resident->Wait(kBound), 0) << resident->Errors();
}

INSTANTIATE_TEST_SUITE_P(WindowManager, DesktopCommands, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& param) {
                             return param.param ? "Openbox" : "NoWindowManager";
                         });

} // namespace
} // namespace ordwell::test
