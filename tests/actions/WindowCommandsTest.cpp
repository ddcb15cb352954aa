// The window commands on the simulated desktop: the title pattern pass with
// its quirks, the two lookup steps, and what each command does and answers.
#include <gtest/gtest.h>

#include "actions/TitleCase.h"
#include "actions/TitlePattern.h"
#include "actions/WindowLookup.h"
#include "support/TestDesktop.h"
#include "text/Utf8.h"

namespace ordwell {
namespace {

using test::TestDesktop;
using OnClose = SimulatedWindowSystem::OnClose;

struct PatternCase {
    std::string title;
    std::string pattern;
    bool matches; // the pattern step
    bool found;   // FindWindowByTitle, the exact-title step included
};

// A title of 300 characters whose tail lies beyond the 254 characters an
// older lookup compared.
const std::string kLongTitle = std::string(280, 'x') + " - Long Report";

const PatternCase kPatternCases[] = {
    // A star with a stop character swallows up to the first stop and no further.
    {"Untitled - Notepad", "*Notepad", true, true},
    {"Untitled - Notepad", "Untitled*", true, true},
    {"Untitled - Notepad", "*Note", false, false},
    {"abcabc", "*c", false, false},
    {"abcabc", "*cabc", true, true},
    {"Notepad", "N*ad", true, true},
    {"Notepad", "*a", false, false},
    // Case counts in the pattern step; the exact-title step ignores it.
    {"Notepad", "notepad", false, true},
    {"Notepad", "NOTEPAD", false, true},
    {"Notepad", "notepa", false, false},
    // The element reached last is not compared when the title ends.
    {"Notepad", "Notepadx", true, true},
    {"Calc", "Calc*x", true, true},
    {"Notepad", "Notepadxy", false, false},
    {"Calc", "????", true, true},
    {"Calc", "?????", true, true},
    {"Calc", "??????", false, false},
    {"Calc", "Cal", false, false},
    // A star whose stop never comes swallows the whole title.
    {"Calc", "*x", true, true},
    {"Calc", "*xy", false, false},
    {"Calc", "*", true, true},
    {"Calc", "Calc*", true, true},
    // The character after a star is literal, even * or ?.
    {"a*b", "a**b", true, true},
    {"a?c", "*?c", true, true},
    {"abc", "*?c", false, false},
    {"What?", "What?", true, true},
    {"Why", "Wh??", true, true},
    // An empty pattern never matches, and names no window.
    {"Calc", "", false, false},
    // A character is a whole UTF-8 sequence.
    {"Café", "Caf?", true, true},
    {"Café", "Caf??", true, true},
    {"Café", "Caf???", false, false},
    {"Cãfé", "C*é", true, true},
    {"Ελληνικά", "Ελλ*", true, true},
    {"Ελληνικά", "ΕΛΛΗΝΙΚΆ", false, true},
    {"ÉTÉ à Paris", "été À PARIS", false, true},
    {"Мир", "мир", false, true},
    {"Straße", "STRASSE", false, false},
    // The whole title takes part, however long.
    {kLongTitle, "*Long Report", true, true},
    {kLongTitle, "*R", false, false},
    {kLongTitle, "x*-*Long*Report", true, true},
    {kLongTitle, std::string(280, 'X') + " - LONG REPORT", false, true},
    {std::string(253, 'a') + "é", "*é", true, true},
};

TEST(TitlePattern, EveryRowMatchesAndIsFoundAsTheTableSays) {
    for (const PatternCase& row : kPatternCases) {
        SCOPED_TRACE("title \"" + row.title + "\", pattern \"" + row.pattern + "\"");
        EXPECT_EQ(MatchTitlePattern(row.title, row.pattern), row.matches);
        TestDesktop desk;
        desk.Sim().windows.Open({.title = ""});
        const WindowId window = desk.Sim().windows.Open({.title = row.title});
        EXPECT_EQ(FindWindowByTitle(desk.Sim().windows, row.pattern), row.found ? window : kNoWindow);
    }
}

TEST(TitlePattern, AnEmptyTitleMatchesPatternsNoLongerThanTheFirstElement) {
    EXPECT_TRUE(MatchTitlePattern("", "a"));
    EXPECT_TRUE(MatchTitlePattern("", "*"));
    EXPECT_TRUE(MatchTitlePattern("", "*x"));
    EXPECT_FALSE(MatchTitlePattern("", "ab"));
    EXPECT_FALSE(MatchTitlePattern("", ""));
}

TEST(TitlePattern, StrayBytesAreCharactersOfTheirOwn) {
    EXPECT_EQ(CountUtf8Chars("\xC3"), 1U);         // cut sequence
    EXPECT_EQ(CountUtf8Chars("\xC0\xAF"), 2U);     // overlong
    EXPECT_EQ(CountUtf8Chars("\xED\xA0\x80"), 3U); // surrogate
    EXPECT_EQ(CountUtf8Chars("a\xF0\x9F\x98\x80z"), 3U);
    EXPECT_TRUE(MatchTitlePattern("x\xFFy", "x?y"));
    EXPECT_FALSE(MatchTitlePattern("x\xFE", "x\xFF"));
    EXPECT_FALSE(SameTitleIgnoringCase("\xC3", "\xE3"));
    EXPECT_FALSE(SameTitleIgnoringCase("ab", "abc"));
    EXPECT_TRUE(SameTitleIgnoringCase("ŁÓDŹ ΣΟΦΊΑ", "łódź σοφία"));
}

TEST(WindowLookup, PatternsSeeOnlyTitledVisibleUnownedWindowsTopmostFirst) {
    TestDesktop desk;
    SimulatedWindowSystem& windows = desk.Sim().windows;
    const WindowId lower = windows.Open({.title = "Report - Editor"});
    const WindowId upper = windows.Open({.title = "Letter - Editor"});
    const WindowId minimized = windows.Open({.title = "Minimized - Viewer", .state = ShowState::Minimized});
    const WindowId hidden = windows.Open({.title = "Hidden Tool", .state = ShowState::Hidden});
    const WindowId owned = windows.Open({.title = "Find - Editor", .owned = true});
    windows.Open({.title = ""});

    EXPECT_EQ(FindWindowByTitle(windows, "*Editor"), upper);
    EXPECT_EQ(FindWindowByTitle(windows, "Rep*"), lower);
    EXPECT_EQ(FindWindowByTitle(windows, "Min*"), minimized);
    // Hidden and owned windows only by their exact title, in any case.
    EXPECT_EQ(FindWindowByTitle(windows, "Hidden*"), kNoWindow);
    EXPECT_EQ(FindWindowByTitle(windows, "hidden tool"), hidden);
    EXPECT_EQ(FindWindowByTitle(windows, "Find*"), kNoWindow);
    EXPECT_EQ(FindWindowByTitle(windows, "Find - Editor"), owned);

    EXPECT_EQ(PickableWindowTitles(windows),
              (std::vector<std::string>{"Minimized - Viewer", "Letter - Editor", "Report - Editor"}));
    windows.Open({.title = "Report - Editor"});
    EXPECT_EQ(PickableWindowTitles(windows).size(), 4U); // duplicates stay
}

TEST(WindowCommands, FindWindowAndWindowActive) {
    TestDesktop desk;
    SimulatedWindowSystem& windows = desk.Sim().windows;
    EXPECT_FALSE(desk.Line(R"(WindowActive("Untitled - Notepad"))"));
    windows.Open({.title = "Untitled - Notepad"});
    EXPECT_TRUE(desk.Line(R"(FindWindow("*Notepad"))"));
    EXPECT_FALSE(desk.Line(R"(FindWindow("*Note"))"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    EXPECT_TRUE(desk.Line(R"(WindowActive("Untitled - Notepad"))"));
    // The whole title, exactly: no patterns, no other case, no prefix.
    EXPECT_FALSE(desk.Line(R"(WindowActive("Untitled*"))"));
    EXPECT_FALSE(desk.Line(R"(WindowActive("untitled - notepad"))"));
    windows.Open({.title = "Untitled - Notepad (2)"});
    EXPECT_FALSE(desk.Line(R"(WindowActive("Untitled - Notepad"))"));
    EXPECT_TRUE(desk.Line(R"#(WindowActive("Untitled - Notepad (2)"))#"));
    desk.Line(R"(FindWindow("a","b"))");
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(windows.Transcript(), "");
}

TEST(WindowCommands, ActivateWindowRestoresAMinimizedWindowFirst) {
    TestDesktop desk;
    SimulatedWindowSystem& windows = desk.Sim().windows;
    const WindowId notepad = windows.Open({.title = "Untitled - Notepad", .state = ShowState::Minimized});
    windows.Open({.title = "Calc"});
    EXPECT_TRUE(desk.Line(R"(ActivateWindow("*Notepad"))"));
    EXPECT_EQ(windows.ActiveWindow(), notepad);
    EXPECT_EQ(windows.StateOf(notepad), ShowState::Normal);
    EXPECT_TRUE(desk.Line(R"(ActivateWindow("Calc"))"));
    EXPECT_FALSE(desk.Line(R"(ActivateWindow("Paint"))"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    desk.Line("ActivateWindow()");
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(windows.Transcript(), "restore Untitled - Notepad\n"
                                    "activate Untitled - Notepad\n"
                                    "activate Calc\n");
}

TEST(WindowCommands, AnActivationTheWindowManagerRefusesIsFalseAfterTheBound) {
    TestDesktop desk;
    desk.Sim().windows.Open({.title = "Kiosk", .activates = false});
    desk.Sim().windows.Open({.title = "Calc"});
    EXPECT_FALSE(desk.Line(R"(ActivateWindow("Kiosk"))"));
    EXPECT_EQ(desk.Sim().clock.MonotonicMs(), 2000U);
    EXPECT_TRUE(desk.Line(R"(WindowActive("Calc"))"));
}

TEST(WindowCommands, CloseWindowWaitsForTheAnswerAndQuitProgramDoesNot) {
    TestDesktop desk;
    SimulatedWindowSystem& windows = desk.Sim().windows;
    const WindowId editor = windows.Open({.title = "Report - Editor", .processId = 4, .onClose = OnClose::Asks});
    windows.Open({.title = "Untitled - Notepad"});
    windows.Open({.title = "Calc"});
    EXPECT_TRUE(desk.Line(R"(CloseWindow("*Notepad"))"));
    EXPECT_FALSE(desk.Line(R"(FindWindow("*Notepad"))"));
    // A program that asks first has answered: the question is up, the window stays.
    EXPECT_TRUE(desk.Line(R"(CloseWindow("Report*"))"));
    EXPECT_TRUE(windows.Exists(editor));
    EXPECT_TRUE(desk.Line(R"(FindWindow("Save changes?"))"));
    EXPECT_TRUE(desk.Line(R"(QuitProgram("Calc"))"));
    EXPECT_FALSE(desk.Line(R"(QuitProgram("Paint"))"));
    EXPECT_FALSE(desk.Line(R"(CloseWindow("Paint"))"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(windows.Transcript(), "close Untitled - Notepad\n"
                                    "close Report - Editor\n"
                                    "post close Calc\n");
    EXPECT_EQ(desk.Sim().clock.MonotonicMs(), 0U);
}

TEST(WindowCommands, AHungProgramHoldsCloseWindowOnlyUntilTheBoundOrAStop) {
    TestDesktop desk;
    desk.Sim().windows.Open({.title = "Hung", .onClose = OnClose::Hangs});
    // The request was delivered: TRUE, as for a program that refuses.
    EXPECT_TRUE(desk.Line(R"(CloseWindow("Hung"))"));
    EXPECT_EQ(desk.Sim().clock.MonotonicMs(), 5000U);

    CMacroRunner runner(desk.GetEngine(),
                        std::vector<std::string>{R"(CloseWindow("Hung"))", R"(LogToFile("after.log","went on"))"});
    desk.Sim().pump.After(700, [&] { runner.RequestStop(); });
    runner.Run();
    EXPECT_EQ(runner.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Sim().clock.MonotonicMs(), 5700U);
    EXPECT_EQ(desk.ReadFile("after.log"), "");
}

TEST(WindowCommands, ShowStatesAnswerWhetherTheWindowWasVisible) {
    TestDesktop desk;
    SimulatedWindowSystem& windows = desk.Sim().windows;
    const WindowId hidden = windows.Open({.title = "Hidden Tool", .state = ShowState::Hidden});
    const WindowId notepad = windows.Open({.title = "Untitled - Notepad"});
    EXPECT_TRUE(desk.Line(R"(MaximizeWindow("*Notepad"))"));
    EXPECT_EQ(windows.StateOf(notepad), ShowState::Maximized);
    EXPECT_TRUE(desk.Line(R"(NormalizeWindow("*Notepad"))"));
    EXPECT_TRUE(desk.Line(R"(MinimizeWindow("*Notepad"))"));
    // A minimized window still counts as visible.
    EXPECT_TRUE(desk.Line(R"(MinimizeWindow("*Notepad"))"));
    EXPECT_EQ(windows.StateOf(notepad), ShowState::Minimized);
    // A hidden window, named by its exact title, is shown maximized: FALSE, it was not visible.
    EXPECT_FALSE(desk.Line(R"(MaximizeWindow("HIDDEN TOOL"))"));
    EXPECT_EQ(windows.StateOf(hidden), ShowState::Maximized);
    EXPECT_FALSE(desk.Line(R"(NormalizeWindow("Paint"))"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    desk.Line(R"(MinimizeWindow("a","b"))");
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(windows.Transcript(), "maximize Untitled - Notepad\n"
                                    "restore Untitled - Notepad\n"
                                    "minimize Untitled - Notepad\n"
                                    "minimize Untitled - Notepad\n"
                                    "maximize Hidden Tool\n");
}

TEST(WindowCommands, WithoutATitleTheActiveWindowIsMeant) {
    TestDesktop desk;
    SimulatedWindowSystem& windows = desk.Sim().windows;
    EXPECT_FALSE(desk.Line("MinimizeWindow()"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    const WindowId calc = windows.Open({.title = "Calc"});
    const WindowId notepad = windows.Open({.title = "Untitled - Notepad"});
    EXPECT_TRUE(desk.Line("MaximizeWindow()"));
    EXPECT_EQ(windows.StateOf(notepad), ShowState::Maximized);
    EXPECT_TRUE(desk.Line("MinimizeWindow()"));
    EXPECT_EQ(windows.StateOf(notepad), ShowState::Minimized);
    // The next window on screen became the active one.
    EXPECT_TRUE(desk.Line("MinimizeWindow()"));
    EXPECT_EQ(windows.StateOf(calc), ShowState::Minimized);
    EXPECT_FALSE(desk.Line("NormalizeWindow()"));
}

} // namespace
} // namespace ordwell
