// The window commands on a real X display: a private Xvfb, with the openbox
// window manager and without any, and windows of another process (the test
// windows program). What the commands did is checked through the test's own
// X connection, apart from the code under test.
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string_view>
#include <xcb/xcb.h>

#include "actions/WindowLookup.h"
#include "engine/MacroRunner.h"
#include "platform/x11/X11Keyboard.h"
#include "support/PrivateDisplay.h"
#include "support/TestWindows.h"
#include "support/X11Machine.h"

namespace ordwell {
namespace {

using test::PrivateDisplay;
using test::TestWindows;
using test::X11Machine;

class X11Windows : public testing::TestWithParam<PrivateDisplay::Manager> {
protected:
    void SetUp() override {
        // A program that died must fail a test, not end the test run.
        std::signal(SIGPIPE, SIG_IGN);
        ASSERT_TRUE(display.Ready()) << display.Problem();
        machine = std::make_unique<X11Machine>(display.Name());
        program = std::make_unique<TestWindows>(display);
    }

    bool WithManager() const { return GetParam() == PrivateDisplay::Manager::Openbox; }

    PrivateDisplay display{GetParam()};
    std::unique_ptr<X11Machine> machine;
    std::unique_ptr<TestWindows> program;
};

TEST_P(X11Windows, PatternsFindTheRightWindowAmongManyAndTheUpperOfTwoWins) {
    const unsigned long report = program->Open("report", "Report - Editor");
    ASSERT_NE(report, 0U) << program->Output() << program->Errors();
    std::vector<unsigned long> others;
    for (int n = 1; n <= 8; ++n) {
        others.push_back(program->Open("other" + std::to_string(n), "Other window " + std::to_string(n)));
    }
    const unsigned long notepad = program->Open("notepad", "Untitled - Notepad");
    const unsigned long letter = program->Open("letter", "Letter - Editor");
    const unsigned long cafe = program->Open("cafe", "Café Latin", "legacy");
    const unsigned long longTitle = program->Open("long", std::string(280, 'x') + " - Long Report");
    ASSERT_NE(longTitle, 0U);

    EXPECT_EQ(machine->Find("*Notepad"), notepad);
    EXPECT_EQ(machine->Find("Untitled*"), notepad);
    EXPECT_EQ(machine->Find("*Note"), kNoWindow);
    EXPECT_EQ(machine->Find("Other window 5"), others[4]);
    EXPECT_EQ(machine->Find("Other*"), others[7]);
    EXPECT_EQ(machine->Find("*Editor"), letter);
    EXPECT_EQ(machine->Find("Caf? Latin"), cafe); // WM_NAME in Latin-1
    EXPECT_EQ(machine->Find("*Long Report"), longTitle);
    EXPECT_EQ(machine->Find("untitled - notepad"), notepad);

    // Report comes on top: now it is the upper of the two.
    EXPECT_TRUE(machine->Line(R"(ActivateWindow("Report*"))"));
    EXPECT_EQ(machine->Find("*Editor"), report);
}

TEST_P(X11Windows, HiddenUntitledAndOwnedWindowsAreFoundOnlyByTheirExactTitle) {
    const unsigned long editor = program->Open("editor", "Report - Editor");
    const unsigned long hidden = program->Open("hidden", "Hidden Tool", "hidden");
    const unsigned long owned = program->Open("find", "Find - Editor", "owner=editor");
    ASSERT_NE(program->Open("untitled", ""), 0U); // topmost, and never found by a pattern
    ASSERT_NE(owned, 0U);

    EXPECT_EQ(machine->Find("*"), editor);
    EXPECT_EQ(machine->Find("Hidden*"), kNoWindow);
    EXPECT_EQ(machine->Find("HIDDEN TOOL"), hidden);
    EXPECT_EQ(machine->Find("Find*"), kNoWindow);
    EXPECT_EQ(machine->Find("find - editor"), owned);
    EXPECT_EQ(machine->Find(""), kNoWindow);
    EXPECT_EQ(PickableWindowTitles(machine->Windows()), std::vector<std::string>{"Report - Editor"});
    EXPECT_TRUE(display.Exists(hidden));
    EXPECT_FALSE(display.Viewable(hidden));
}

TEST_P(X11Windows, ActivateWindowMakesTheWindowActiveAndWindowActiveComparesTheWholeTitle) {
    const unsigned long notepad = program->Open("notepad", "Untitled - Notepad");
    const unsigned long calc = program->Open("calc", "Calc");
    EXPECT_TRUE(machine->Line(R"(ActivateWindow("Calc"))"));
    EXPECT_EQ(display.FocusWindow(), calc);
    EXPECT_TRUE(machine->Line(R"(ActivateWindow("*Notepad"))"));
    EXPECT_EQ(display.FocusWindow(), notepad);
    if (WithManager()) {
        EXPECT_EQ(display.NetActiveWindow(), notepad);
    }
    EXPECT_TRUE(program->Reported("focus notepad"));
    EXPECT_TRUE(machine->Line(R"(WindowActive("Untitled - Notepad"))"));
    EXPECT_FALSE(machine->Line(R"(WindowActive("Untitled - Note"))"));
    EXPECT_FALSE(machine->Line(R"(WindowActive("Untitled*"))"));
    EXPECT_FALSE(machine->Line(R"(WindowActive("Calc"))"));
    EXPECT_FALSE(machine->Line(R"(ActivateWindow("Paint"))"));

    // A minimized window comes back first.
    EXPECT_TRUE(machine->Line(R"(MinimizeWindow("Calc"))"));
    EXPECT_TRUE(machine->Line(R"(ActivateWindow("Calc"))"));
    EXPECT_EQ(display.WmState(calc), 1);
    EXPECT_TRUE(display.Viewable(calc));
    EXPECT_EQ(display.FocusWindow(), calc);
    EXPECT_TRUE(machine->Line(R"(WindowActive("Calc"))"));
}

TEST_P(X11Windows, ShowStatesChangeTheWindowsStateAndAnswerWhetherItWasVisible) {
    const unsigned long notepad = program->Open("notepad", "Untitled - Notepad");
    const std::vector<int> normal = display.Geometry(notepad);
    const auto maximized = [&](unsigned long window) {
        return display.HasNetState(window, "_NET_WM_STATE_MAXIMIZED_VERT") &&
               display.HasNetState(window, "_NET_WM_STATE_MAXIMIZED_HORZ");
    };
    EXPECT_TRUE(machine->Line(R"(MaximizeWindow("*Notepad"))"));
    EXPECT_TRUE(maximized(notepad));
    EXPECT_EQ(display.WmState(notepad), 1);
    if (!WithManager()) {
        EXPECT_EQ(display.Geometry(notepad), (std::vector<int>{0, 0, 1280, 1024}));
    }
    EXPECT_TRUE(machine->Line(R"(NormalizeWindow("*Notepad"))"));
    EXPECT_FALSE(maximized(notepad));
    if (!WithManager()) { // a window manager puts the place back after the state
        EXPECT_EQ(display.Geometry(notepad), normal);
    }

    EXPECT_TRUE(machine->Line(R"(MinimizeWindow("*Notepad"))"));
    EXPECT_EQ(display.WmState(notepad), 3);
    EXPECT_FALSE(display.Viewable(notepad));
    EXPECT_TRUE(machine->Line(R"(FindWindow("*Notepad"))")); // minimized windows count as visible
    EXPECT_TRUE(machine->Line(R"(MinimizeWindow("*Notepad"))"));
    EXPECT_TRUE(machine->Line(R"(NormalizeWindow("*Notepad"))"));
    EXPECT_EQ(display.WmState(notepad), 1);
    EXPECT_TRUE(display.Viewable(notepad));

    // A hidden window named by its exact title is shown maximized: FALSE, it was not visible.
    const unsigned long hidden = program->Open("hidden", "Hidden Tool", "hidden");
    EXPECT_FALSE(machine->Line(R"(MaximizeWindow("Hidden Tool"))"));
    EXPECT_TRUE(display.Viewable(hidden));
    EXPECT_TRUE(maximized(hidden));
    EXPECT_FALSE(machine->Line(R"(NormalizeWindow("Paint"))"));
}

TEST_P(X11Windows, MinimizeWindowWithoutATitleActsOnTheActiveWindow) {
    const unsigned long notepad = program->Open("notepad", "Untitled - Notepad");
    const unsigned long calc = program->Open("calc", "Calc");
    ASSERT_TRUE(machine->Line(R"(ActivateWindow("Calc"))"));
    EXPECT_TRUE(machine->Line("MinimizeWindow()"));
    EXPECT_EQ(display.WmState(calc), 3);
    EXPECT_TRUE(display.Viewable(notepad));
    ASSERT_TRUE(machine->Line(R"(ActivateWindow("*Notepad"))"));
    EXPECT_TRUE(machine->Line("MaximizeWindow()"));
    EXPECT_TRUE(display.HasNetState(notepad, "_NET_WM_STATE_MAXIMIZED_HORZ"));
}

TEST_P(X11Windows, CloseWindowAndQuitProgramCloseAWindowOfAnotherProcess) {
    const unsigned long notepad = program->Open("notepad", "Untitled - Notepad");
    const unsigned long calc = program->Open("calc", "Calc");
    EXPECT_TRUE(machine->Line(R"(CloseWindow("*Notepad"))"));
    // It waited: the window is gone by now (the program may not have said so yet).
    EXPECT_FALSE(display.Exists(notepad));
    EXPECT_TRUE(program->ReportedAlready("delete notepad"));
    EXPECT_FALSE(machine->Line(R"(FindWindow("*Notepad"))"));

    EXPECT_TRUE(machine->Line(R"(QuitProgram("Calc"))"));
    EXPECT_TRUE(program->Reported("closed calc"));
    EXPECT_FALSE(display.Exists(calc));
    EXPECT_FALSE(machine->Line(R"(QuitProgram("Calc"))"));
    EXPECT_FALSE(machine->Line(R"(CloseWindow("Calc"))"));
}

TEST_P(X11Windows, NoWindowOfThisProcessIsClosedByIt) {
    // A window of this process on a connection of its own (not the
    // backend's), which says nothing of its process and takes close requests.
    xcb_connection_t* own = xcb_connect(display.Name().c_str(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(own), 0);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(own)).data;
    const xcb_window_t window = xcb_generate_id(own);
    xcb_create_window(own, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 100, 100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, 0, nullptr);
    constexpr std::string_view title = "Own Window";
    xcb_change_property(own, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, title.size(),
                        title.data());
    const auto atom = [own](std::string_view name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            own, xcb_intern_atom(own, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr);
        const xcb_atom_t value = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return value;
    };
    const xcb_atom_t closeRequest = atom("WM_DELETE_WINDOW");
    xcb_change_property(own, XCB_PROP_MODE_REPLACE, window, atom("WM_PROTOCOLS"), XCB_ATOM_ATOM, 32, 1, &closeRequest);
    std::free(xcb_get_input_focus_reply(own, xcb_get_input_focus(own), nullptr)); // done by the server
    ASSERT_NE(machine->Find("Own Window"), kNoWindow);
    EXPECT_FALSE(machine->Line(R"(CloseWindow("Own Window"))"));
    EXPECT_FALSE(machine->Line(R"(QuitProgram("Own Window"))"));
    EXPECT_TRUE(display.Exists(window));
    xcb_disconnect(own);
}

TEST_P(X11Windows, CloseWindowReturnsOnceTheProgramAnswersWithAQuestion) {
    // One program answers pings, the other does not: either way its question is its answer.
    program->Open("report", "Report - Editor", "onclose=dialog");
    program->Open("letter", "Letter - Editor", "onclose=dialog ping");
    EXPECT_TRUE(machine->Line(R"(CloseWindow("Report*"))"));
    EXPECT_TRUE(program->ReportedAlready("dialog report"));
    EXPECT_NE(machine->Find("Save changes?"), kNoWindow);
    EXPECT_TRUE(machine->Line(R"(CloseWindow("Letter*"))"));
    EXPECT_TRUE(program->ReportedAlready("dialog letter"));
    EXPECT_TRUE(program->Reported("ping letter"));
    EXPECT_TRUE(machine->Line(R"(FindWindow("Letter - Editor"))"));
}

TEST_P(X11Windows, AHungProgramHoldsACloseOnlyUntilTheBoundOrAStop) {
    const unsigned long hung = program->Open("hung", "Hung Program", "onclose=hang");
    EXPECT_EQ(machine->Windows().Close(hung, CloseMode::Wait, {.ms = 300, .stopRequested = {}}),
              CloseOutcome::NoAnswer);
    ASSERT_TRUE(program->Reported("hung hung"));
    // Ten minutes of bound, and a stop after a moment: the stop ends it.
    bool stop = false;
    machine->pump.After(100, [&] { stop = true; });
    EXPECT_EQ(machine->Windows().Close(hung, CloseMode::Wait, {.ms = 600000, .stopRequested = [&] { return stop; }}),
              CloseOutcome::Stopped);

    // The command ends the run at once on a stop too.
    CMacroRunner runner(machine->GetEngine(), std::vector<std::string>{R"(CloseWindow("Hung*"))", "Beep()"});
    machine->pump.After(100, [&] { runner.RequestStop(); });
    runner.Run();
    EXPECT_EQ(runner.Outcome(), RunOutcome::Stopped);
    EXPECT_TRUE(display.Exists(hung));
}

TEST_P(X11Windows, SendKeysToWindowTypesIntoTheWindowItActivated) {
    program->Open("notepad", "Untitled - Notepad");
    program->Open("calc", "Calc");
    // A window manager gives a new window the focus a moment after it is
    // shown; keys typed before then would follow the focus there.
    if (WithManager()) {
        ASSERT_TRUE(program->Reported("focus calc"));
    }
    EXPECT_TRUE(machine->Line(R"(SendKeysToWindow("*Notepad","Grüße~"))"));
    EXPECT_EQ(program->Text("notepad"), "Grüße\r");
    EXPECT_EQ(program->Text("calc"), "");
    EXPECT_TRUE(machine->Line(R"k(SendKeysToWindow("Calc","+(x)"))k"));
    EXPECT_EQ(program->Text("calc"), "X");
    EXPECT_FALSE(machine->Line(R"(SendKeysToWindow("Paint","y"))"));
    EXPECT_EQ(program->Text("notepad"), "Grüße\r");
    machine->Keyboard().RestoreSpareKeys();
}

// The ordwell program on the display: its own backends find and activate
// the window.
TEST_P(X11Windows, TheProgramFindsAndActivatesWindowsOnTheDisplay) {
    const unsigned long target = program->Open("target", "Target window");
    program->Open("other", "Other window");
    const std::filesystem::path dir = std::filesystem::path(display.Home()) / "run";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "macro.ow") << "If(FindWindow(\"Target*\"),LogToFile(\"found.log\",\"found\"))\r\n"
                                       "ActivateWindow(\"Target window\")\r\n"
                                       "If(WindowActive(\"Target window\"),LogToFile(\"found.log\",\"active\"))\r\n";
    test::ChildProcess::Options options;
    options.directory = dir;
    options.environment = display.Environment();
    test::ChildProcess ordwell(ORDWELL_EXECUTABLE, {"/r", "macro.ow"}, options);
    EXPECT_EQ(ordwell.Wait(std::chrono::seconds(60)), 0) << ordwell.Errors();
    std::ifstream log(dir / "found.log");
    std::string first;
    std::string second;
    std::getline(log, first);
    std::getline(log, second);
    EXPECT_NE(first.find(" found"), std::string::npos);
    EXPECT_NE(second.find(" active"), std::string::npos);
    EXPECT_EQ(display.FocusWindow(), target);
}

INSTANTIATE_TEST_SUITE_P(X11, X11Windows,
                         testing::Values(PrivateDisplay::Manager::Absent, PrivateDisplay::Manager::Openbox),
                         [](const testing::TestParamInfo<PrivateDisplay::Manager>& row) {
                             return row.param == PrivateDisplay::Manager::Openbox ? "Openbox" : "NoWindowManager";
                         });

} // namespace
} // namespace ordwell
