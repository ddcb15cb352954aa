// The simulated desktop is what every command test stands on: its clock,
// its event loop and its transcripts must behave like the real thing.
#include <gtest/gtest.h>

#include "platform/sim/SimulatedDesktop.h"

namespace ordwell {
namespace {

TEST(SimulatedEventPump, AWaitMovesTheClockToEachEventAndNoFurther) {
    SimulatedDesktop sim;
    std::string log;
    const NativeHandle handle = sim.pump.NewHandle();
    EventPump::EventId watch = 0;
    watch = sim.pump.Watch(handle, [&] {
        log += "watch@" + std::to_string(sim.clock.MonotonicMs()) + " ";
        sim.pump.Cancel(watch);
    });
    sim.pump.After(300, [&] { sim.pump.SetReady(handle, true); });
    const EventPump::EventId cancelled = sim.pump.After(100, [&] { log += "cancelled "; });
    sim.pump.Cancel(cancelled);
    EXPECT_TRUE(sim.pump.WaitFor(1000, [&] { return !log.empty(); }));
    EXPECT_EQ(log, "watch@300 ");
    EXPECT_FALSE(sim.pump.WaitFor(1000, [] { return false; }));
    EXPECT_EQ(sim.clock.MonotonicMs(), 1300U);
}

TEST(SimulatedKeyboard, TypesCharactersAsTheUsLayoutDoes) {
    SimulatedKeyboard keyboard;
    const KeyStroke strokes[] = {KeyStroke::Type('a'),   KeyStroke::Type('A'),   KeyStroke::Type('?'),
                                 KeyStroke::Press(0x11), KeyStroke::Type('c'),   KeyStroke::Release(0x11),
                                 KeyStroke::Type(U'é'),  KeyStroke::Press(0x14), KeyStroke::Release(0x14)};
    EXPECT_TRUE(keyboard.Type(strokes));
    EXPECT_EQ(keyboard.Transcript(),
              "A↓ A↑ Shift↓ A↓ A↑ Shift↑ Shift↓ /↓ /↑ Shift↑ Ctrl↓ C↓ C↑ Ctrl↑ é CapsLock↓ CapsLock↑");
    ASSERT_TRUE(keyboard.LockKeys());
    EXPECT_TRUE(keyboard.LockKeys()->capsLock);
    const KeyStroke held[] = {KeyStroke::Press(0x10), KeyStroke::Press(0x12)};
    keyboard.Type(held);
    keyboard.ClearTranscript();
    keyboard.EndText();
    EXPECT_EQ(keyboard.Transcript(), "Shift↑ Alt↑");
    EXPECT_TRUE(keyboard.Held().empty());
}

TEST(SimulatedWindowSystem, KeepsTheStackingOrderAndRecordsWhatWasDone) {
    SimulatedDesktop sim;
    SimulatedWindowSystem& windows = sim.windows;
    const WindowId notepad = windows.Open({.title = "Untitled - Notepad", .width = 100, .height = 100});
    const WindowId calc = windows.Open({.title = "Calc", .x = 50, .y = 50, .width = 100, .height = 100});
    windows.Open({.title = "Hidden", .state = ShowState::Hidden});
    EXPECT_EQ(windows.Titles(), (std::vector<std::string>{"Hidden", "Calc", "Untitled - Notepad"}));
    EXPECT_EQ(windows.TopLevelWindows(WindowScope::Shown).size(), 2U);
    EXPECT_EQ(windows.TopLevelWindows(WindowScope::All).back().title, "Hidden");
    EXPECT_EQ(windows.ActiveWindow(), calc);
    EXPECT_TRUE(windows.Activate(notepad, {}));
    EXPECT_EQ(windows.ActiveWindow(), notepad);
    EXPECT_TRUE(sim.pointer.Click(60, 60, false)); // Notepad is on top now
    EXPECT_TRUE(windows.Show(calc, ShowState::Minimized, {}));
    EXPECT_FALSE(sim.pointer.Click(140, 140, true)); // only the minimized Calc is there
    EXPECT_EQ(windows.Close(calc, CloseMode::Post, {}), CloseOutcome::Posted);
    EXPECT_FALSE(windows.Exists(calc));
    EXPECT_EQ(windows.Close(notepad, CloseMode::Wait, {}), CloseOutcome::Handled);
    EXPECT_EQ(windows.ActiveWindow(), kNoWindow);
    EXPECT_EQ(windows.Transcript(), "activate Untitled - Notepad\n"
                                    "click Untitled - Notepad 60,60\n"
                                    "minimize Calc\n"
                                    "post close Calc\n"
                                    "close Untitled - Notepad\n");
}

TEST(SimulatedWindowSystem, HungProgramsAndRefusedActivationsWaitInSimulatedTime) {
    SimulatedDesktop sim;
    using OnClose = SimulatedWindowSystem::OnClose;
    const WindowId hung = sim.windows.Open({.title = "Hung", .onClose = OnClose::Hangs, .activates = false});
    const WindowId asks = sim.windows.Open({.title = "Editor", .processId = 7, .onClose = OnClose::Asks});
    EXPECT_EQ(sim.windows.Close(asks, CloseMode::Wait, {.ms = 5000, .stopRequested = {}}), CloseOutcome::Handled);
    EXPECT_EQ(sim.windows.TopLevelWindows(WindowScope::Shown).front().title, "Save changes?");
    EXPECT_TRUE(sim.windows.TopLevelWindows(WindowScope::Shown).front().owned);

    EXPECT_EQ(sim.windows.Close(hung, CloseMode::Wait, {.ms = 5000, .stopRequested = {}}), CloseOutcome::NoAnswer);
    EXPECT_EQ(sim.clock.MonotonicMs(), 5000U);
    bool stop = false;
    sim.pump.After(300, [&] { stop = true; });
    EXPECT_FALSE(sim.windows.Activate(hung, {.ms = 2000, .stopRequested = [&] { return stop; }}));
    EXPECT_EQ(sim.clock.MonotonicMs(), 5300U);
    EXPECT_TRUE(sim.windows.Exists(hung));
}

} // namespace
} // namespace ordwell
