// Recorded input as macro lines: what the lines say, and that they do on the
// simulated desktop (US layout) what was recorded.
#include <gtest/gtest.h>

#include "engine/MacroLine.h"
#include "input/MacroRecording.h"
#include "platform/Keyboard.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;
using Lines = std::vector<std::string>;

// A recorded session, written step by step with the time running on.
class Session {
public:
    Session& Type(std::string_view text, std::uint8_t modifiers = 0) {
        for (const char c : text) {
            RecordedInput key;
            key.timeMs = Tick();
            key.text = std::string(1, c);
            key.modifiers = static_cast<std::uint8_t>(modifiers | (c >= 'A' && c <= 'Z' ? KeyCombination::kShift : 0));
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                key.virtualKey = static_cast<std::uint8_t>(c >= 'a' ? c - 'a' + 'A' : c);
            }
            m_recording.Add(key);
        }
        return *this;
    }
    Session& Key(std::uint8_t virtualKey, std::uint8_t modifiers = 0, std::string text = {}) {
        RecordedInput key;
        key.timeMs = Tick();
        key.virtualKey = virtualKey;
        key.modifiers = modifiers;
        key.text = std::move(text);
        m_recording.Add(key);
        return *this;
    }
    Session& Click(int x, int y, std::uint32_t after = 50) {
        m_time += after;
        RecordedInput click;
        click.kind = RecordedInput::Kind::Click;
        click.timeMs = m_time;
        click.x = x;
        click.y = y;
        m_recording.Add(click);
        return *this;
    }
    Session& Window(std::string title) {
        RecordedInput change;
        change.kind = RecordedInput::Kind::Window;
        change.timeMs = Tick();
        change.title = std::move(title);
        m_recording.Add(change);
        return *this;
    }
    Session& Wait(std::uint32_t ms) {
        m_time += ms;
        return *this;
    }
    Lines Result() const { return m_recording.Lines(); }

    explicit Session(RecordingRules rules = {}) : m_recording(rules) {}

private:
    std::uint32_t Tick() { return m_time += 80; }

    MacroRecording m_recording;
    std::uint32_t m_time = 1000;
};

TEST(MacroRecording, TextIsOneSendKeysLinePerBurstWithTheKeyLanguagesCharactersInBraces) {
    EXPECT_EQ(Session().Type("Hello World").Key(vk::kReturn).Type("ok").Result(),
              (Lines{"SendKeys(\"Hello World~ok\")"}));
    EXPECT_EQ(Session().Type("{a+b}^2 is 50% (~)").Result(),
              (Lines{"SendKeys(\"{{}a{+}b{}}{^}2 is 50{%} {(}{~}{)}\")"}));
    // A quote followed by a comma or ")" would end the argument.
    EXPECT_EQ(Session().Type("say \"hi\", \"x\")").Result(), (Lines{"SendKeys(\"say {\"}hi{\"}, {\"}x{\"}{)}\")"}));
    EXPECT_EQ(Session().Key(vk::kTab).Key(vk::kTab, KeyCombination::kShift).Key(0x08).Key(0x70).Result(),
              (Lines{"SendKeys(\"{TAB}+{TAB}{BKSP}{F1}\")"}));
    // Characters beyond ASCII stay as they are, whole.
    EXPECT_EQ(Session().Key(0, 0, "\xc3\x91").Type("and").Key(0, 0, "\xc3\xba").Key(0, 0, "\xe2\x82\xac{").Result(),
              (Lines{"SendKeys(\"\xc3\x91"
                     "and\xc3\xba\xe2\x82\xac{{}\")"}));
    // Modifier keys alone, and keys that type nothing, make no line.
    EXPECT_EQ(Session().Key(0).Key(0, KeyCombination::kShift).Result(), Lines{});
    EXPECT_EQ(Session().Result(), Lines{});
}

TEST(MacroRecording, AChordIsALineOfItsOwnAndEndsTheBurst) {
    EXPECT_EQ(Session()
                  .Type("ab")
                  .Key('A', KeyCombination::kControl, "a")
                  .Type("c")
                  .Key(0x73, KeyCombination::kAlt)
                  .Key('S', KeyCombination::kControl | KeyCombination::kShift, "S")
                  .Key(0, KeyCombination::kControl, "/")
                  .Key(0, KeyCombination::kControl | KeyCombination::kShift, "+")
                  .Result(),
              (Lines{"SendKeys(\"ab\")", "SendKeys(\"^a\")", "SendKeys(\"c\")", "SendKeys(\"%{F4}\")",
                     "SendKeys(\"^+s\")", "SendKeys(\"^/\")", "SendKeys(\"^{+}\")"}));
}

TEST(MacroRecording, WindowsClicksAndPausesEndTheBurst) {
    EXPECT_EQ(
        Session()
            .Window("Untitled - Notes")
            .Type("ab")
            .Click(100, 30)
            .Type("c")
            .Click(200, 40)
            .Click(202, 41, 200)
            .Click(202, 41, 600)
            .Click(300, 50, 100)
            .Wait(1500)
            .Type("d")
            .Window("Other")
            .Window("")
            .Type("e")
            .Result(),
        (Lines{"ActivateWindow(\"Untitled - Notes\")", "SendKeys(\"ab\")", "MouseClickScreen(100,30)",
               "SendKeys(\"c\")", "MouseDblClickScreen(200,40)", "MouseClickScreen(202,41)", "MouseClickScreen(300,50)",
               "Delay(1580)", "SendKeys(\"d\")", "ActivateWindow(\"Other\")", "SendKeys(\"e\")"}));
    // Two clicks too far apart are two clicks; a quote that would end the
    // title's argument ends the title there.
    EXPECT_EQ(Session().Click(10, 10).Click(20, 10, 100).Window("\"Report\", draft").Type("x").Result(),
              (Lines{"MouseClickScreen(10,10)", "MouseClickScreen(20,10)", "ActivateWindow(\"\"Report*\")",
                     "SendKeys(\"x\")"}));
    EXPECT_EQ(Session().Window("Notes \"a\"").Click(1, 2).Result(),
              (Lines{"ActivateWindow(\"Notes \"a\"\")", "MouseClickScreen(1,2)"}));
    // A window that became active as the recording ended (a click on it,
    // the stop key) is left out, and so are windows nothing went to.
    EXPECT_EQ(Session().Type("a").Window("One").Window("Two").Type("b").Window("Three").Result(),
              (Lines{"SendKeys(\"a\")", "ActivateWindow(\"Two\")", "SendKeys(\"b\")"}));
}

TEST(MacroRecording, TheRulesSetThePauseAndTheStopKeyIsNoPartOfTheRecording) {
    RecordingRules rules;
    rules.pauseMs = 5000;
    rules.stopKey = KeyCombination{0x13, 0};
    EXPECT_EQ(Session(rules).Type("a").Wait(3000).Type("b").Key(0x13).Wait(9000).Key(0x13).Result(),
              (Lines{"SendKeys(\"ab\")"}));
}

// The lines do what was recorded: every line passes the line parser as the
// command with one argument, and the keys typed back are those of the text.
TEST(MacroRecording, RecordedLinesTypeBackExactlyWhatWasTyped) {
    TestDesktop desk;
    desk.Sim().windows.Open({.title = "Notes"});
    const Lines lines = Session().Window("Notes").Type("A{\"x\",(1)}").Key('A', KeyCombination::kControl, "a").Result();
    for (const std::string& line : lines) {
        const CMacroLine parsed(line, true);
        EXPECT_EQ(parsed.ArgumentCount(), 1) << line;
    }
    desk.Sim().keyboard.ClearTranscript();
    desk.Run(lines);
    EXPECT_EQ(desk.Sim().keyboard.Transcript(),
              "Shift↓ A↓ A↑ Shift↑ Shift↓ [↓ [↑ Shift↑ Shift↓ '↓ '↑ Shift↑ X↓ X↑ Shift↓ '↓ '↑ Shift↑ ,↓ ,↑ "
              "Shift↓ 9↓ 9↑ Shift↑ 1↓ 1↑ Shift↓ 0↓ 0↑ Shift↑ Shift↓ ]↓ ]↑ Shift↑ Ctrl↓ A↓ A↑ Ctrl↑");
}

} // namespace
} // namespace ordwell
