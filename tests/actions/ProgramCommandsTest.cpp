#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

TEST(ProgramCommands, LaunchesNeedOneOfTheFourStylesInTheirExactCase) {
    TestDesktop desk;
    SimulatedProcesses& processes = desk.Sim().processes;
    processes.AddProgram("/Program Files/Editor/edit.exe");
    EXPECT_TRUE(desk.Line(R"(RunProgram("c:\Program Files\Editor\edit.exe readme.txt"))"));
    EXPECT_TRUE(desk.Line(R"(RunProgram(""c:\My Tools\tool" 'a b' c;d"))"));
    for (const char* style : {"Normal", "Minimized", "Maximized", "Hidden"}) {
        EXPECT_TRUE(desk.Line(std::string("RunProgram(notepad.exe,") + style + ")")) << style;
    }
    // A wrong style starts nothing and keeps the program started last.
    const std::int64_t last = processes.LastId();
    for (const char* line : {"RunProgram(notepad.exe,minimized)", R"(RunProgram(notepad.exe,""))",
                             "RunProgram(notepad.exe,NORMAL)", R"(Print(report.txt,"maximized"))"}) {
        EXPECT_FALSE(desk.Line(line)) << line;
        EXPECT_TRUE(desk.LastRunner().SyntaxFlag()) << line;
    }
    EXPECT_EQ(processes.LastId(), last);
    EXPECT_FALSE(desk.Line("WaitForProgram(0)"));

    // Print takes any count; an empty or missing style is Normal.
    EXPECT_TRUE(desk.Line(R"(Print("c:\docs\report.txt"))"));
    EXPECT_TRUE(desk.Line(R"(Print(report.txt,"",ignored,too))"));
    EXPECT_FALSE(desk.Line("Print()"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    EXPECT_TRUE(desk.Line(R"(RunDOSCommand("dir > list.txt"))"));
    EXPECT_EQ(processes.Transcript(), "open [/Program Files/Editor/edit.exe] readme.txt\n"
                                      "open [/My Tools/tool] 'a b' c;d\n"
                                      "open [notepad.exe]\n"
                                      "open [notepad.exe]\n"
                                      "open [notepad.exe]\n"
                                      "open [notepad.exe]\n"
                                      "print [/docs/report.txt]\n"
                                      "print [report.txt]\n"
                                      "print []\n"
                                      "command dir > list.txt\n");

    processes.SetLaunchesFail(true);
    EXPECT_FALSE(desk.Line("RunProgram(notepad.exe)"));
    EXPECT_FALSE(desk.Line("RunDOSCommand(dir)"));
}

TEST(ProgramCommands, WaitForProgramTimesOutKeepsTheProgramAndWaitsAgain) {
    TestDesktop desk;
    SimulatedDesktop& sim = desk.Sim();
    const std::uint64_t start = sim.clock.MonotonicMs();
    EXPECT_TRUE(desk.Line("WaitForProgram()")); // nothing started yet
    ASSERT_TRUE(desk.Line("RunProgram(notepad.exe)"));
    sim.pump.At(start + 8000, [&] { sim.processes.End(1); });
    EXPECT_FALSE(desk.Line("WaitForProgram(5000)"));
    EXPECT_EQ(sim.clock.MonotonicMs(), start + 5000);
    EXPECT_TRUE(desk.Line("WaitForProgram()"));
    EXPECT_EQ(sim.clock.MonotonicMs(), start + 8000);
    // The ended program is forgotten: the next wait has nothing to wait for.
    EXPECT_TRUE(desk.Line("WaitForProgram()"));
    EXPECT_EQ(sim.clock.MonotonicMs(), start + 8000);

    // -1 and an empty argument wait without a limit, far beyond 2^31 ms.
    for (const char* line : {"WaitForProgram(-1)", R"(WaitForProgram(""))"}) {
        ASSERT_TRUE(desk.Line("RunProgram(notepad.exe)"));
        const std::int64_t id = sim.processes.LastId();
        const std::uint64_t now = sim.clock.MonotonicMs();
        sim.pump.At(now + 5'000'000'000, [&sim, id] { sim.processes.End(id); });
        EXPECT_TRUE(desk.Line(line)) << line;
        EXPECT_EQ(sim.clock.MonotonicMs(), now + 5'000'000'000) << line;
    }

    // A launch that fails forgets the program started before it.
    ASSERT_TRUE(desk.Line("RunProgram(notepad.exe)"));
    sim.processes.SetLaunchesFail(true);
    EXPECT_FALSE(desk.Line("RunProgram(calc.exe)"));
    EXPECT_TRUE(desk.Line("WaitForProgram()"));
    desk.Line("WaitForProgram(1,2)");
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
}

TEST(ProgramCommands, AStopRequestEndsAWaitForAProgramAndTheRun) {
    for (const bool byIcon : {false, true}) {
        TestDesktop desk;
        SimulatedDesktop& sim = desk.Sim();
        const std::uint64_t start = sim.clock.MonotonicMs();
        sim.pump.At(start + 2000, [&] {
            if (byIcon) {
                sim.runIcon.ClickNewest();
            } else {
                sim.stop.Raise();
            }
        });
        const auto runner =
            desk.Run({"RunProgram(notepad.exe)", "WaitForProgram()", R"(WriteToFile(after.txt,"went on"))"});
        EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
        EXPECT_EQ(sim.clock.MonotonicMs(), start + 2000);
        EXPECT_FALSE(std::filesystem::exists(desk.Dir() / "after.txt"));
        EXPECT_FALSE(std::filesystem::exists(desk.Dir() / "macerr.log"));
    }
}

TEST(ProgramCommands, TheStyleGoesToTheFirstWindowTheProgramShows) {
    TestDesktop desk;
    SimulatedDesktop& sim = desk.Sim();
    SimulatedWindowSystem& windows = sim.windows;
    windows.Open({.title = "Other program", .processId = 99});
    const auto showLater = [&](std::uint64_t afterMs, std::string title, bool owned = false) {
        const std::int64_t id = sim.processes.LastId();
        sim.pump.At(sim.clock.MonotonicMs() + afterMs,
                    [&windows, id, title, owned] { windows.Open({.title = title, .owned = owned, .processId = id}); });
    };
    ASSERT_TRUE(desk.Line("RunProgram(editor,Maximized)"));
    showLater(300, "Editor dialog", /*owned=*/true);
    showLater(700, "Editor");
    ASSERT_TRUE(desk.Line("RunProgram(viewer,Minimized)"));
    showLater(5000, "Viewer");
    ASSERT_TRUE(desk.Line("RunProgram(daemon,Hidden)"));
    showLater(100, "Daemon");
    ASSERT_TRUE(desk.Line("RunProgram(plain,Normal)"));
    showLater(100, "Plain");
    ASSERT_TRUE(desk.Line("Delay(6000)"));
    EXPECT_EQ(windows.Transcript(), "hide Daemon\nmaximize Editor\nminimize Viewer\n");

    // A program that shows no window in time keeps its own state.
    ASSERT_TRUE(desk.Line("RunProgram(slow,Minimized)"));
    showLater(40000, "Slow");
    ASSERT_TRUE(desk.Line("Delay(41000)"));
    EXPECT_EQ(windows.Transcript(), "hide Daemon\nmaximize Editor\nminimize Viewer\n");

    // A window system that names no process (Wayland): the first window
    // that was not there when the program started is its window.
    windows.Open({.title = "Old window"});
    ASSERT_TRUE(desk.Line("RunProgram(anonymous,Maximized)"));
    sim.pump.At(sim.clock.MonotonicMs() + 200,
                [&windows] { windows.Open({.title = "Anonymous owned", .owned = true}); });
    sim.pump.At(sim.clock.MonotonicMs() + 400, [&windows] { windows.Open({.title = "Anonymous"}); });
    ASSERT_TRUE(desk.Line("Delay(1000)"));
    EXPECT_EQ(windows.Transcript(), "hide Daemon\nmaximize Editor\nminimize Viewer\nmaximize Anonymous\n");
}

} // namespace
} // namespace ordwell
