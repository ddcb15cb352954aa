// The window commands and clicks on a headless sway, on native Wayland
// windows of another process (the receiver program), and on an X client of
// sway's Xwayland. What the commands did
// is checked through sway's own IPC and through what the program reports,
// apart from the code under test.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

#include "actions/WindowLookup.h"
#include "platform/wayland/WaylandWindowSystem.h"
#include "support/AwaitCondition.h"
#include "support/PrivateCompositor.h"
#include "support/TestReceiver.h"
#include "support/WaylandMachine.h"

namespace ordwell {
namespace {

using test::PrivateCompositor;
using test::TestReceiver;
using test::WaylandMachine;

constexpr auto kBound = std::chrono::seconds(20);

// Whether a window of the pattern comes within a generous bound.
bool AwaitTitle(WaylandMachine& machine, const std::string& pattern) {
    return test::AwaitCondition([&] { return machine.Find(pattern) != kNoWindow; }, kBound);
}

class WaylandWindows : public testing::Test {
protected:
    void SetUp() override {
        std::signal(SIGPIPE, SIG_IGN);
        if (!PrivateCompositor::Installed()) {
            GTEST_SKIP() << "sway is not installed: the Wayland backend is not tested";
        }
        compositor = std::make_unique<PrivateCompositor>();
        ASSERT_TRUE(compositor->Ready()) << compositor->Problem();
        machine = std::make_unique<WaylandMachine>(compositor->Socket());
        ASSERT_TRUE(machine->Ready());
        receiver = std::make_unique<TestReceiver>(*compositor);
        ASSERT_TRUE(receiver->Ready()) << receiver->Errors();
    }

    // The title of the window sway has given the focus, as sway tells it.
    std::string FocusedTitle() {
        const std::string tree = compositor->Ask({"-t", "get_tree"});
        const std::size_t focused = tree.find("\"focused\": true");
        const std::size_t name = tree.find("\"name\": \"", focused);
        if (focused == std::string::npos || name == std::string::npos) {
            return {};
        }
        const std::size_t begin = name + 9;
        return tree.substr(begin, tree.find('"', begin) - begin);
    }

    std::string TitleOf(WindowId window) { return machine->Windows().Title(window); }

    // Opens a window of the receiver and waits until the compositor lists it.
    bool Open(const std::string& key, const std::string& title, const std::string& options = "") {
        return receiver->Open(key, title, options) && AwaitTitle(*machine, title);
    }

    std::unique_ptr<PrivateCompositor> compositor;
    std::unique_ptr<WaylandMachine> machine;
    std::unique_ptr<TestReceiver> receiver;
};

TEST_F(WaylandWindows, PatternsFindTheRightWindowAndTheMostRecentlyActivatedOfTwoWins) {
    ASSERT_TRUE(Open("report", "Report - Editor"));
    for (int n = 1; n <= 5; ++n) {
        ASSERT_TRUE(Open("other" + std::to_string(n), "Other window " + std::to_string(n)));
    }
    ASSERT_TRUE(Open("notepad", "Untitled - Notepad"));
    // Found at once after it is shown: every look takes what sway has told.
    ASSERT_TRUE(Open("letter", "Letter - Editor"));
    EXPECT_EQ(TitleOf(machine->Find("*Editor")), "Letter - Editor");

    EXPECT_EQ(TitleOf(machine->Find("*Notepad")), "Untitled - Notepad");
    EXPECT_EQ(TitleOf(machine->Find("untitled - notepad")), "Untitled - Notepad");
    EXPECT_EQ(machine->Find("*Note"), kNoWindow);
    EXPECT_EQ(TitleOf(machine->Find("Other window 3")), "Other window 3");
    // Each window sway focused as it opened: the last one is the upper.
    EXPECT_EQ(TitleOf(machine->Find("Other*")), "Other window 5");

    // Report is activated: now it is the upper of the two.
    EXPECT_TRUE(machine->Line(R"(ActivateWindow("Report*"))"));
    EXPECT_EQ(TitleOf(machine->Find("*Editor")), "Report - Editor");
    EXPECT_EQ(FocusedTitle(), "Report - Editor");
    // Every window is listed, the last activated first; no process ids.
    const std::vector<WindowInfo> windows = machine->Windows().TopLevelWindows(WindowScope::All);
    ASSERT_EQ(windows.size(), 8U);
    EXPECT_EQ(windows.front().title, "Report - Editor");
    EXPECT_EQ(windows.front().processId, 0);
    EXPECT_EQ(machine->Windows().AppId(windows.front().id), "org.ordwell.TestReceiver");

    // Retitled windows are found by their new title.
    receiver->Send("title notepad -- Notes.txt - Notepad");
    ASSERT_TRUE(receiver->Reported("titled notepad"));
    EXPECT_TRUE(AwaitTitle(*machine, "Notes.txt*"));
}

TEST_F(WaylandWindows, ActivateWindowMakesTheWindowActiveAndWindowActiveComparesTheWholeTitle) {
    ASSERT_TRUE(Open("notepad", "Untitled - Notepad"));
    ASSERT_TRUE(Open("calc", "Calc"));
    EXPECT_TRUE(machine->Line(R"(ActivateWindow("*Notepad"))"));
    // sway's word, not the program's: Qt 6.4 on Wayland may miss its own
    // focus-in when the focus moves away and back quickly.
    EXPECT_EQ(FocusedTitle(), "Untitled - Notepad");
    EXPECT_TRUE(machine->Line(R"(WindowActive("Untitled - Notepad"))"));
    EXPECT_FALSE(machine->Line(R"(WindowActive("Untitled*"))"));
    EXPECT_FALSE(machine->Line(R"(WindowActive("Calc"))"));
    EXPECT_FALSE(machine->Line(R"(ActivateWindow("Paint"))"));
    EXPECT_TRUE(machine->Line(R"(ActivateWindow("Calc"))"));
    EXPECT_EQ(FocusedTitle(), "Calc");
    EXPECT_EQ(TitleOf(machine->Windows().ActiveWindow()), "Calc");
}

TEST_F(WaylandWindows, ShowStatesAreAskedForAndAWindowCannotBeHidden) {
    ASSERT_TRUE(Open("notepad", "Untitled - Notepad"));
    const WindowId notepad = machine->Find("Untitled - Notepad");
    ASSERT_NE(notepad, kNoWindow);
    // sway keeps tiled windows as they are (it has no minimized or maximized
    // state to give): the request is made, the wait ends within its bound,
    // and the window was visible before.
    const WaitBound bound{300, {}};
    EXPECT_TRUE(machine->Windows().Show(notepad, ShowState::Minimized, bound));
    EXPECT_TRUE(machine->Windows().Show(notepad, ShowState::Normal, bound));
    EXPECT_FALSE(machine->Windows().Show(notepad, ShowState::Hidden, bound));
    EXPECT_TRUE(machine->Windows().Exists(notepad));
    EXPECT_FALSE(machine->Windows().Show(notepad + 1000, ShowState::Normal, bound));
}

TEST_F(WaylandWindows, CloseWindowWaitsForTheWindowToGoAndQuitProgramDoesNot) {
    ASSERT_TRUE(Open("calc", "Calc"));
    ASSERT_TRUE(Open("paint", "Paint"));
    EXPECT_TRUE(machine->Line(R"(CloseWindow("Calc"))"));
    EXPECT_TRUE(receiver->ReportedAlready("closed calc"));
    EXPECT_EQ(machine->Find("Calc"), kNoWindow);
    EXPECT_TRUE(machine->Line(R"(QuitProgram("Paint"))"));
    EXPECT_TRUE(receiver->Reported("closed paint"));
    EXPECT_FALSE(machine->Line(R"(CloseWindow("Calc"))"));
}

TEST_F(WaylandWindows, ACloseIsHandledByAQuestionOfTheProgramOrByTheWindowClosingMidWait) {
    ASSERT_TRUE(Open("editor", "Report - Editor", "onclose=dialog"));
    const WindowId editor = machine->Find("Report - Editor");
    EXPECT_EQ(machine->Windows().Close(editor, CloseMode::Wait, {5000, {}}), CloseOutcome::Handled);
    EXPECT_TRUE(receiver->Reported("dialog editor"));
    // The question is found by its title (sway 1.7 tells no owners, so a
    // pattern finds it too).
    EXPECT_TRUE(AwaitTitle(*machine, "save changes?"));

    ASSERT_TRUE(Open("stubborn", "Stubborn", "onclose=ignore"));
    const WindowId stubborn = machine->Find("Stubborn");
    EXPECT_EQ(machine->Windows().Close(stubborn, CloseMode::Wait, {300, {}}), CloseOutcome::NoAnswer);
    EXPECT_EQ(machine->Windows().Close(stubborn, CloseMode::Wait, {5000, [] { return true; }}), CloseOutcome::Stopped);
    // It closes of itself in the middle of the wait.
    machine->pump.After(200, [&] { receiver->Send("close stubborn"); });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(machine->Windows().Close(stubborn, CloseMode::Wait, {20000, {}}), CloseOutcome::Handled);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(15));
    EXPECT_FALSE(machine->Windows().Exists(stubborn));
}

TEST_F(WaylandWindows, ClicksLandAtThePointOfTheScreen) {
    ASSERT_TRUE(Open("board", "Board"));
    ASSERT_TRUE(machine->Line(R"(ActivateWindow("Board"))"));
    // The only window fills the output, from 0,0 (the test config draws no borders).
    EXPECT_TRUE(machine->Line("MouseClickScreen(100,200)"));
    EXPECT_TRUE(machine->Line("MouseDblClickScreen(300,50)"));
    EXPECT_TRUE(
        test::AwaitCondition([&] { return receiver->Clicks("board").find("double") != std::string::npos; }, kBound));
    EXPECT_EQ(receiver->Clicks("board"), "press 100 200\npress 300 50\ndouble 300 50\n");
    // Outside the output: no click.
    EXPECT_FALSE(machine->Line("MouseClickScreen(5000,10)"));
    EXPECT_FALSE(machine->Line("MouseClickScreen(-1,10)"));
}

// An X client on sway's Xwayland is in the same list as the native
// windows, and is found and activated the same way.
TEST(WaylandXWayland, AnX11ClientIsListedWithTheNativeWindowsAndCanBeActivated) {
    std::signal(SIGPIPE, SIG_IGN);
    if (!PrivateCompositor::Installed() || ::access("/usr/bin/Xwayland", X_OK) != 0 ||
        ::access("/usr/bin/xterm", X_OK) != 0) {
        GTEST_SKIP() << "sway, Xwayland or xterm is not installed";
    }
    PrivateCompositor compositor("us", true);
    ASSERT_TRUE(compositor.Ready()) << compositor.Problem();
    const std::string display = compositor.X11Display();
    ASSERT_FALSE(display.empty());
    WaylandMachine machine(compositor.Socket());
    ASSERT_TRUE(machine.Ready());
    TestReceiver receiver(compositor);
    ASSERT_TRUE(receiver.Ready()) << receiver.Errors();
    test::ChildProcess::Options options;
    options.noInput = true;
    options.environment = compositor.Environment();
    options.environment.push_back("DISPLAY=" + display);
    const auto xterm = compositor.Start("/usr/bin/xterm", {"-T", "XWayland Target", "-e", "cat"}, options);
    ASSERT_TRUE(AwaitTitle(machine, "XWayland Target")) << xterm->Errors();
    ASSERT_TRUE(receiver.Open("native", "Native Window") && AwaitTitle(machine, "Native Window"));
    const WindowId native = machine.Find("Native Window");
    const WindowId x11 = machine.Find("XWayland Target");
    ASSERT_TRUE(machine.Windows().Activate(native, {20000, {}}));

    std::vector<std::string> titles;
    for (const WindowInfo& window : machine.Windows().TopLevelWindows(WindowScope::Shown)) {
        titles.push_back(window.title);
    }
    // The most recently activated first, whichever kind of client.
    const auto at = [&](const std::string& title) { return std::find(titles.begin(), titles.end(), title); };
    ASSERT_NE(at("XWayland Target"), titles.end());
    EXPECT_LT(at("Native Window"), at("XWayland Target"));
    EXPECT_TRUE(machine.Line(R"(ActivateWindow("XWayland Target"))"));
    EXPECT_EQ(machine.Windows().ActiveWindow(), x11);
    EXPECT_TRUE(machine.Line(R"(WindowActive("XWayland Target"))"));
    EXPECT_TRUE(machine.Line(R"(ActivateWindow("Native Window"))"));
    EXPECT_EQ(machine.Windows().ActiveWindow(), native);
}

} // namespace
} // namespace ordwell
