// The SendKeys language on the simulated desktop (US layout): each text is
// checked by the whole sequence of key events it produced.
#include <gtest/gtest.h>

#include "engine/MacroRunner.h"
#include "input/KeyNameTable.h"
#include "input/KeySender.h"
#include "input/SendKeysText.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

class SendKeysLanguage : public testing::Test {
protected:
    SimulatedKeyboard& Keys() { return desk.Sim().keyboard; }

    // Sends the text as a command's text and answers the events it produced.
    std::string Typed(std::string_view text) {
        Keys().ClearTranscript();
        last = SendKeysText(runner, text);
        return Keys().Transcript();
    }

    void SetKeyDelay(int ms) { desk.GetEngine().GetSettings().WriteInt("System", "KeyDelay", ms); }

    TestDesktop desk;
    CMacroRunner runner{desk.GetEngine(), std::vector<std::string>{}};
    SendOutcome last;
};

TEST_F(SendKeysLanguage, CharactersAreTypedWithShiftAroundThoseThatNeedIt) {
    EXPECT_EQ(Typed("aA1!"), "A↓ A↑ Shift↓ A↓ A↑ Shift↑ 1↓ 1↑ Shift↓ 1↓ 1↑ Shift↑");
    EXPECT_EQ(Typed("b c}"), "B↓ B↑ Space↓ Space↑ C↓ C↑ Shift↓ ]↓ ]↑ Shift↑");
    EXPECT_EQ(Typed("~"), "Enter↓ Enter↑");
    EXPECT_EQ(Typed(""), "");
    EXPECT_EQ(last.lastItem, itemresult::kContinue);
    EXPECT_TRUE(last.delivered);
    // Characters the layout has no key for are typed as themselves, not as
    // some other key.
    EXPECT_EQ(Typed("é€"), "é €");
}

TEST_F(SendKeysLanguage, AModifierHoldsItsKeyAroundTheOneItemThatFollows) {
    EXPECT_EQ(Typed("+abc"), "Shift↓ A↓ A↑ Shift↑ B↓ B↑ C↓ C↑");
    EXPECT_EQ(Typed("^+a"), "Ctrl↓ Shift↓ A↓ A↑ Shift↑ Ctrl↑");
    EXPECT_EQ(Typed("%{F4}"), "Alt↓ F4↓ F4↑ Alt↑");
    EXPECT_EQ(Typed("^{home}"), "Ctrl↓ Home↓ Home↑ Ctrl↑");
    EXPECT_EQ(Typed("+"), "Shift↓ Shift↑");
    // A failed brace under a modifier does not stop the text: it goes on
    // behind the "{".
    EXPECT_EQ(Typed("+{abc"), "Shift↓ Shift↑ A↓ A↑ B↓ B↑ C↓ C↑");
    EXPECT_EQ(last.lastItem, itemresult::kContinue);
}

TEST_F(SendKeysLanguage, GroupsSendTheirItemsAsOneAndMustBeClosed) {
    EXPECT_EQ(Typed("+(ab)c"), "Shift↓ A↓ A↑ B↓ B↑ Shift↑ C↓ C↑");
    EXPECT_EQ(Typed("(a(b)c)d"), "A↓ A↑ B↓ B↑ C↓ C↑ D↓ D↑");
    EXPECT_EQ(Typed("(ab"), "A↓ A↑ B↓ B↑");
    EXPECT_EQ(last.lastItem, itemresult::kSyntaxError);
    EXPECT_EQ(Typed("(a{b)c"), "A↓ A↑");
    EXPECT_EQ(last.lastItem, itemresult::kSyntaxError);
}

TEST_F(SendKeysLanguage, NamedKeysTakeACountAndIgnoreLetterCase) {
    EXPECT_EQ(Typed("{tab 3}"), "Tab↓ Tab↑ Tab↓ Tab↑ Tab↓ Tab↑");
    EXPECT_EQ(Typed("{tab 0}{tab -2}"), "");
    EXPECT_EQ(Typed("{tab x}{tab}"), "Tab↓ Tab↑ Tab↓ Tab↑");
    EXPECT_EQ(Typed("{ENTER}{Enter}{enter}"), "Enter↓ Enter↑ Enter↓ Enter↑ Enter↓ Enter↑");
    EXPECT_EQ(Typed("{f12}{F24}{bksp}{pgdn}"), "F12↓ F12↑ F24↓ F24↑ Backspace↓ Backspace↑ PgDn↓ PgDn↑");
    EXPECT_EQ(Typed("{capslock}{numlock}{scroll}"), "CapsLock↓ CapsLock↑ NumLock↓ NumLock↑ Scroll↓ Scroll↑");
    // A name not in the table types its first character, the count times.
    EXPECT_EQ(Typed("{x 3}{xyz}{Q 2}"), "X↓ X↑ X↓ X↑ X↓ X↑ X↓ X↑ Shift↓ Q↓ Q↑ Shift↑ Shift↓ Q↓ Q↑ Shift↑");
    EXPECT_EQ(Typed("{é 2}"), "é é");
}

TEST_F(SendKeysLanguage, OneCharacterInBracesIsTypedAsItIs) {
    const std::string shifted = [] {
        std::string out;
        for (const char* key : {"=", "6", "5", "`", "9", "0", "[", "]"}) {
            out += std::string(out.empty() ? "" : " ") + "Shift↓ " + key + "↓ " + key + "↑ Shift↑";
        }
        return out;
    }();
    EXPECT_EQ(Typed("{+}{^}{%}{~}{(}{)}{{}{}}"), shifted);
    EXPECT_EQ(Typed("{a}{ }"), "A↓ A↑ Space↓ Space↑");
}

TEST_F(SendKeysLanguage, SyntaxErrorsAndAStrayParenthesisEndTheText) {
    EXPECT_EQ(Typed("ab{tab"), "A↓ A↑ B↓ B↑");
    EXPECT_EQ(last.lastItem, itemresult::kSyntaxError);
    EXPECT_EQ(Typed("a{"), "A↓ A↑");
    EXPECT_EQ(last.lastItem, itemresult::kSyntaxError);
    EXPECT_EQ(Typed("ab)cd"), "A↓ A↑ B↓ B↑");
    EXPECT_EQ(last.lastItem, itemresult::kGroupEnd);
    EXPECT_TRUE(Keys().Held().empty());
}

TEST_F(SendKeysLanguage, NestingBeyondTheStackEndsTheTextInsteadOfOverflowing) {
    // A million modifiers, each held around the next, or a million open
    // groups: far deeper than any stack.
    for (const char nesting : {'+', '('}) {
        SetKeyDelay(0);
        const std::string typed = Typed("x" + std::string(1000000, nesting) + "a");
        EXPECT_EQ(last.lastItem, itemresult::kSyntaxError);
        EXPECT_TRUE(typed.starts_with("X↓ X↑")) << typed.substr(0, 100);
        EXPECT_EQ(typed.find("A↓"), std::string::npos);
        EXPECT_TRUE(Keys().Held().empty());
    }
    EXPECT_NE(desk.Sim().diagnostics.Transcript().find("nests modifiers and groups too deeply"), std::string::npos);
    // The keys sender is whole again for the next text.
    EXPECT_EQ(Typed("+(ab)"), "Shift↓ A↓ A↑ B↓ B↑ Shift↑");
}

TEST_F(SendKeysLanguage, DateAndTimeTokensTypeTheClockMovedByTheirCount) {
    SimulatedClock& clock = desk.Sim().clock;
    clock.SetNow(TestDesktop::LocalTime(1998, 1, 30, 21, 45, 10));
    EXPECT_EQ(Typed("{date}"), Typed("01/30/98"));
    EXPECT_EQ(Typed("{date -1}"), Typed("01/29/98"));
    EXPECT_EQ(Typed("{date 2}"), Typed("02/01/98"));
    EXPECT_EQ(Typed("{time}"), Typed("21:45:10"));
    EXPECT_EQ(Typed("{time 3600}"), Typed("22:45:10"));
    EXPECT_EQ(Typed("{day}{month}{year}"), Typed("30"
                                                 "1"
                                                 "1998"));
    EXPECT_EQ(Typed("{day 5}"), Typed("35"));      // no wrap for days
    EXPECT_EQ(Typed("{month -3}"), Typed("{-}2")); // a minus sign for a negative sum
    EXPECT_EQ(Typed("{hour 5}"), Typed("2"));      // 26 reduced modulo 24
    EXPECT_EQ(Typed("{hour}{hour 0}"), Typed("2121"));
    EXPECT_EQ(Typed("{minute 90}"), Typed("15")); // 135 modulo 60
    EXPECT_EQ(Typed("{second 50}"), Typed("0"));  // 60 modulo 60
    EXPECT_EQ(Typed("{second -20}"), Typed("{-}10"));
    EXPECT_EQ(Typed("{year x}"), Typed("1998"));
}

TEST_F(SendKeysLanguage, EachItemIsFollowedByTheKeyDelayReadForEachText) {
    SimulatedClock& clock = desk.Sim().clock;
    std::uint64_t start = clock.MonotonicMs();
    Typed("abc");
    EXPECT_EQ(clock.MonotonicMs() - start, 3U); // the default of 1 ms after each item

    // Inside a group and a date token each item pauses too, and the group
    // once more as an item of the text.
    start = clock.MonotonicMs();
    Typed("(ab)");
    EXPECT_EQ(clock.MonotonicMs() - start, 4U);

    SetKeyDelay(25);
    start = clock.MonotonicMs();
    Typed("ab");
    EXPECT_EQ(clock.MonotonicMs() - start, 50U);

    // No delay: back to back, without letting any event in.
    SetKeyDelay(0);
    const int dispatches = desk.Sim().pump.Dispatches();
    start = clock.MonotonicMs();
    EXPECT_EQ(Typed("+(ab)c{tab 2}"), "Shift↓ A↓ A↑ B↓ B↑ Shift↑ C↓ C↑ Tab↓ Tab↑ Tab↓ Tab↑");
    EXPECT_EQ(clock.MonotonicMs(), start);
    EXPECT_EQ(desk.Sim().pump.Dispatches(), dispatches);

    // A negative delay is none.
    SetKeyDelay(-5);
    start = clock.MonotonicMs();
    Typed("ab");
    EXPECT_EQ(clock.MonotonicMs(), start);
}

TEST_F(SendKeysLanguage, DelayTokensPauseAndANegativeOneDoesNot) {
    SetKeyDelay(0);
    SimulatedClock& clock = desk.Sim().clock;
    std::uint64_t start = clock.MonotonicMs();
    EXPECT_EQ(Typed("a{delay 500}b"), "A↓ A↑ B↓ B↑");
    EXPECT_EQ(clock.MonotonicMs() - start, 500U);
    start = clock.MonotonicMs();
    Typed("{delay}");
    EXPECT_EQ(clock.MonotonicMs() - start, 1U);
    start = clock.MonotonicMs();
    EXPECT_EQ(Typed("{delay -5}a"), "A↓ A↑");
    EXPECT_EQ(clock.MonotonicMs(), start);
}

TEST_F(SendKeysLanguage, AStopEndsTheTextBeforeTheNextItemAndReleasesEveryKey) {
    SimulatedClock& clock = desk.Sim().clock;
    desk.Sim().pump.At(clock.MonotonicMs() + 2, [this] { runner.RequestStop(); });
    EXPECT_EQ(Typed("abcdef"), "A↓ A↑ B↓ B↑");

    // A stop within a group and its pause ends it at once too; a modifier
    // around it is released.
    CMacroRunner second(desk.GetEngine(), std::vector<std::string>{});
    const std::uint64_t start = clock.MonotonicMs();
    desk.Sim().pump.At(start + 50, [&] { second.RequestStop(); });
    Keys().ClearTranscript();
    SendKeysText(second, "x+({delay 100000}abc)def");
    EXPECT_EQ(Keys().Transcript(), "X↓ X↑ Shift↓ Shift↑");
    EXPECT_LT(clock.MonotonicMs() - start, 1000U);
    EXPECT_TRUE(Keys().Held().empty());
}

TEST_F(SendKeysLanguage, ActivateBringsTheWindowOfThatExactTitleToTheFront) {
    SimulatedWindowSystem& windows = desk.Sim().windows;
    windows.Open({.title = "Untitled - Notepad"});
    windows.Open({.title = "Calc"});
    EXPECT_EQ(Typed("{activate  Untitled - Notepad  }x{activate}{activate Untitled*}{activate calc}"), "X↓ X↑");
    EXPECT_EQ(windows.Transcript(), "activate Untitled - Notepad\nactivate Calc\n");
}

TEST_F(SendKeysLanguage, TheKeyNameTableHasItsRowsInOrder) {
    const auto table = KeyNameTable();
    ASSERT_EQ(table.size(), 56U);
    EXPECT_EQ(table[0].name, "bksp");
    EXPECT_EQ(table[22].name, "F1");
    EXPECT_EQ(table[45].code, 0x87);
    EXPECT_EQ(table[46].code, keyaction::kDelay);
    EXPECT_EQ(table[55].code, keyaction::kActivate);
    EXPECT_EQ(LookUpKeyName("PgUp"), 0x21);
    EXPECT_EQ(LookUpKeyName("entr"), std::nullopt);
    for (const KeyName& row : table) {
        EXPECT_EQ(IsKeyAction(row.code), &row >= &table[46]) << row.name;
    }
}

TEST_F(SendKeysLanguage, AKeyboardThatCannotBeReachedIsReported) {
    Keys().SetUnreachable(true);
    Typed("abc");
    EXPECT_FALSE(last.delivered);
    Typed("{delay 5}");
    EXPECT_TRUE(last.delivered); // no key to deliver
}

} // namespace
} // namespace ordwell
