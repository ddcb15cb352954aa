#include <gtest/gtest.h>

#include "actions/WindowLookup.h"
#include "platform/sim/SimulatedClock.h"
#include "platform/sim/SimulatedEventPump.h"
#include "platform/sim/SimulatedWindowSystem.h"
#include "shell/WindowListing.h"

namespace ordwell {
namespace {

std::string Program(std::int64_t processId) {
    return processId == 7 ? "gnome-calculator" : "";
}

TEST(WindowListing, ListsWhatAPatternCanFindTopmostFirstAndMarksTheWindowFindWindowUses) {
    SimulatedClock clock;
    SimulatedEventPump pump(clock);
    SimulatedWindowSystem windows(pump);
    windows.Open({.title = "Calculator", .processId = 7});
    windows.Open({.title = "Hidden one"});
    windows.Show(windows.TopLevelWindows(WindowScope::All).front().id, ShowState::Hidden, WaitBound{});
    windows.Open({.title = "Save changes?", .owned = true});
    windows.Open({.title = ""});
    windows.Open({.title = "calculator - notes", .processId = 8});
    bool found = false;
    // Every window a pattern can find, topmost first, the program where known.
    EXPECT_EQ(WindowListing(windows, std::nullopt, Program, found),
              "calculator - notes\nCalculator\t[gnome-calculator]\n");
    // A pattern: those it finds, the one the window commands use marked.
    EXPECT_EQ(WindowListing(windows, "Calc*", Program, found), "* Calculator\t[gnome-calculator]\n");
    EXPECT_TRUE(found);
    EXPECT_EQ(WindowListing(windows, "*alc*", Program, found),
              "* calculator - notes\n  Calculator\t[gnome-calculator]\n");
    EXPECT_EQ(FindWindowByTitle(windows, "*alc*"), windows.TopLevelWindows(WindowScope::Shown).front().id);
    // A window found by its exact title alone is listed by itself.
    EXPECT_EQ(WindowListing(windows, "save changes?", Program, found), "* Save changes?\n");
    EXPECT_EQ(WindowListing(windows, "Nothing*", Program, found), "");
    EXPECT_FALSE(found);
}

} // namespace
} // namespace ordwell
