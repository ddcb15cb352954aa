// The send commands, mouse clicks and Caps Lock on the simulated desktop.
#include <cstdlib>
#include <gtest/gtest.h>

#include "engine/MacroRunner.h"
#include "input/EnvironmentReferences.h"
#include "input/SendKeysText.h"
#include "platform/Dialogs.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

class InputCommands : public testing::Test {
protected:
    SimulatedKeyboard& Keys() { return desk.Sim().keyboard; }
    SimulatedWindowSystem& Windows() { return desk.Sim().windows; }

    // The events the text produces when sent directly, for comparison.
    std::string EventsOf(std::string_view text) {
        Keys().ClearTranscript();
        CMacroRunner runner(desk.GetEngine(), std::vector<std::string>{});
        SendKeysText(runner, text);
        std::string events = Keys().Transcript();
        Keys().ClearTranscript();
        return events;
    }

    // The events of the lines so far, and clears them.
    std::string Events() {
        std::string events = Keys().Transcript();
        Keys().ClearTranscript();
        return events;
    }

    // The lines so far produced the events of the text sent directly.
    void ExpectTyped(const std::string& text) {
        const std::string typed = Events();
        EXPECT_EQ(typed, EventsOf(text));
    }

    TestDesktop desk;
};

TEST_F(InputCommands, SendKeysTypesIntoTheActiveWindow) {
    EXPECT_TRUE(desk.Line(R"(SendKeys("This is a test~"))"));
    ExpectTyped("This is a test~");
    EXPECT_TRUE(desk.Line(R"(SendKeys("ab)cd"))")); // a stray ")" ends the text, silently
    EXPECT_EQ(Events(), "A↓ A↑ B↓ B↑");
    EXPECT_TRUE(desk.Line(R"(SendKeys("{tab"))"));
    EXPECT_EQ(Events(), "");
    desk.Line("SendKeys()");
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());

    // Nothing can be typed: the line says so.
    Keys().SetUnreachable(true);
    EXPECT_FALSE(desk.Line(R"(SendKeys("abc"))"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
}

TEST_F(InputCommands, SendKeysToWindowTypesOnlyOnceTheWindowIsActive) {
    Windows().Open({.title = "Untitled - Notepad"});
    Windows().Open({.title = "Calc"});
    EXPECT_FALSE(desk.Line(R"(SendKeysToWindow("Paint","abc"))"));
    EXPECT_EQ(Events(), "");
    EXPECT_TRUE(desk.Line(R"(SendKeysToWindow("*Notepad","ab"))"));
    EXPECT_EQ(Events(), "A↓ A↑ B↓ B↑");
    EXPECT_EQ(Windows().Transcript(), "activate Untitled - Notepad\n");

    // A window that never becomes active gets nothing.
    Windows().Open({.title = "Stubborn", .activates = false});
    EXPECT_FALSE(desk.Line(R"(SendKeysToWindow("Stubborn","ab"))"));
    EXPECT_EQ(Events(), "");
}

TEST_F(InputCommands, SendKeysFromFileTypesEachLineWithoutItsLineEnd) {
    desk.WriteFile("keys.txt", "abc\r\n\r\ndef~\n");
    EXPECT_TRUE(desk.Line(R"(SendKeysFromFile("keys.txt"))"));
    ExpectTyped("abcdef~");
    EXPECT_TRUE(desk.Line(R"(SendKeysFromFile("missing.txt"))"));
    EXPECT_TRUE(desk.Line(R"(SendKeysFromFile("."))")); // a directory
    EXPECT_EQ(Events(), "");
    // Each line is a text of its own: an error ends only its line.
    desk.WriteFile("broken.txt", "a{b\ncd\n");
    EXPECT_TRUE(desk.Line(R"(SendKeysFromFile("broken.txt"))"));
    EXPECT_EQ(Events(), "A↓ A↑ C↓ C↑ D↓ D↑");
}

TEST_F(InputCommands, SendInputTypesTheLastEntryOfAnInputBoxOfTheRun) {
    Windows().Open({.title = "Untitled - Notepad"});
    desk.Sim().dialogs.ScriptAnswer(kAnswerOk, "Ann+");
    const auto runner = desk.Run({"SendInput()", "InputBox(Name?)", "SendInput()", R"(SendInputToWindow("Paint"))",
                                  R"(SendInputToWindow("*Notepad"))"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    // The entry is SendKeys text too: its "+" holds Shift around nothing.
    const std::string typed = Events();
    const std::string entry = EventsOf("Ann+");
    EXPECT_EQ(typed, entry + " " + entry);
}

TEST_F(InputCommands, SendEnvironmentExpandsReferencesOfAnyLength) {
    ::setenv("ORDWELL_TEST_NAME", "Ann", 1);
    const std::string longValue(5000, 'x');
    ::setenv("ORDWELL_TEST_LONG", longValue.c_str(), 1);
    ::unsetenv("ORDWELL_TEST_UNSET");

    EXPECT_TRUE(desk.Line(R"(SendEnvironment("Hi %ORDWELL_TEST_NAME%!"))"));
    ExpectTyped("Hi Ann!");
    // Far longer than the text it came from, and all of it typed.
    EXPECT_TRUE(desk.Line(R"(SendEnvironment("%ORDWELL_TEST_LONG%."))"));
    ExpectTyped(longValue + ".");
    // A variable that is not set stays, and its "%" holds Alt around the next item.
    EXPECT_TRUE(desk.Line(R"(SendEnvironment("%ORDWELL_TEST_UNSET%a"))"));
    ExpectTyped("%ORDWELL_TEST_UNSET%a");

    const auto lookup = [](const std::string& name) -> std::optional<std::string> {
        if (name == "A") {
            return "1";
        }
        if (name == "EMPTY") {
            return "";
        }
        return std::nullopt;
    };
    constexpr std::size_t kAny = 1000;
    EXPECT_EQ(ExpandEnvironmentReferences("%A%-%EMPTY%-%B%-%A%", lookup, kAny), "1--%B%-1");
    EXPECT_EQ(ExpandEnvironmentReferences("%B%A%", lookup, kAny), "%B1");
    EXPECT_EQ(ExpandEnvironmentReferences("100%% %A", lookup, kAny), "100%% %A");
    EXPECT_EQ(ExpandEnvironmentReferences("", lookup, kAny), "");
    // Up to the limit, whatever makes it longer: a value, a reference left
    // as written, the text after the last reference.
    EXPECT_EQ(ExpandEnvironmentReferences("%A%%A%", lookup, 2), "11");
    EXPECT_EQ(ExpandEnvironmentReferences("%A%%A%", lookup, 1), std::nullopt);
    EXPECT_EQ(ExpandEnvironmentReferences("%B%", lookup, 2), std::nullopt);
    EXPECT_EQ(ExpandEnvironmentReferences("%A%xy", lookup, 2), std::nullopt);
    ::unsetenv("ORDWELL_TEST_NAME");
    ::unsetenv("ORDWELL_TEST_LONG");
}

TEST_F(InputCommands, SendNowTypesTheTimeInTheFormat) {
    desk.Sim().clock.SetNow(TestDesktop::LocalTime(1998, 1, 22, 9, 5, 0));
    EXPECT_TRUE(desk.Line(R"(SendNow("%H%M"))"));
    ExpectTyped("0905");
    EXPECT_TRUE(desk.Line(R"(SendNow("%m/%d/%y at %H:%M"))"));
    ExpectTyped("01/22/98 at 09:05");
    EXPECT_TRUE(desk.Line(R"(SendNow(""))"));
    EXPECT_EQ(Events(), "");
}

TEST_F(InputCommands, MouseClicksGoToTheWindowUnderThePointInItsCoordinates) {
    Windows().Open({.title = "Back", .x = 0, .y = 0, .width = 400, .height = 300});
    Windows().Open({.title = "Button", .x = 100, .y = 30, .width = 80, .height = 20});
    EXPECT_TRUE(desk.Line("MouseClickScreen(110,35)"));
    EXPECT_TRUE(desk.Line("MouseDblClickScreen(300,200)"));
    EXPECT_FALSE(desk.Line("MouseClickScreen(500,500)"));
    EXPECT_FALSE(desk.Line("MouseClickScreen(-1,-1)"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(Windows().Transcript(), "click Button 10,5\ndouble-click Back 300,200\n");
    desk.Line("MouseClickScreen(1)");
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
}

TEST_F(InputCommands, SetCapsLockPressesTheKeyOnlyWhenItsRememberedStateDiffers) {
    EXPECT_TRUE(desk.Line("SetCapsLock(ON)"));
    EXPECT_TRUE(desk.Line("SetCapsLock(ON)"));
    EXPECT_EQ(Events(), "CapsLock↓ CapsLock↑");
    EXPECT_EQ(Keys().LockKeys()->capsLock, true);
    EXPECT_TRUE(desk.Line("SetCapsLock(on)")); // lower case means off
    EXPECT_EQ(Events(), "CapsLock↓ CapsLock↑");
    EXPECT_EQ(Keys().LockKeys()->capsLock, false);

    // Toggled by hand: the remembered state still rules.
    Keys().SetCapsLock(true);
    EXPECT_TRUE(desk.Line("SetCapsLock(OFF)"));
    EXPECT_EQ(Events(), "");
    EXPECT_TRUE(desk.Line("SetCapsLock(ON)"));
    EXPECT_EQ(Events(), "CapsLock↓ CapsLock↑");

    // Nothing can be pressed: FALSE, and the state stays as it was.
    Keys().SetUnreachable(true);
    EXPECT_FALSE(desk.Line("SetCapsLock(OFF)"));
    Keys().SetUnreachable(false);
    EXPECT_TRUE(desk.Line("SetCapsLock(OFF)"));
    EXPECT_EQ(Events(), "CapsLock↓ CapsLock↑");
}

TEST(InputCommandsFirstUse, SetCapsLockTakesTheStateFromTheKeyboardTheFirstTime) {
    TestDesktop desk;
    desk.Sim().keyboard.SetCapsLock(true);
    EXPECT_TRUE(desk.Line("SetCapsLock(ON)"));
    EXPECT_EQ(desk.Sim().keyboard.Transcript(), "");
    EXPECT_TRUE(desk.Line("SetCapsLock(OFF)"));
    EXPECT_EQ(desk.Sim().keyboard.Transcript(), "CapsLock↓ CapsLock↑");
    EXPECT_EQ(desk.Sim().keyboard.LockKeys()->capsLock, false);
}

} // namespace
} // namespace ordwell
