#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ParsedLines.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

constexpr int kSlots = static_cast<int>(ParsedLines::kMaxSlots);

// The lines of a loop are parsed once however often they run; lines that
// parse to nothing (blank, comment, label, a first "#!" line) are none.
TEST(ParsedLines, ALoopsLinesAreParsedOnceAndFoundAgain) {
    const MacroText text = MacroText::FromLines(
        {"#!/usr/bin/env -S ordwell /r", ":Top", "Increment(%A)", "", "// note", "IfLessThan(%A,9,GoTo(Top))"});
    ParsedLines parsed(text.Count());
    const LineSyntax* increment = parsed.At(text, 2);
    const LineSyntax* test = parsed.At(text, 5);
    ASSERT_NE(increment, nullptr);
    ASSERT_NE(test, nullptr);
    for (int round = 0; round < 100; ++round) {
        for (int index = 0; index < static_cast<int>(text.Count()); ++index) {
            const LineSyntax* syntax = parsed.At(text, index);
            EXPECT_EQ(syntax, index == 2 ? increment : index == 5 ? test : nullptr) << index;
        }
    }
    EXPECT_EQ(parsed.ParseCount(), 2U);
    EXPECT_EQ(increment->name, "Increment");
    EXPECT_EQ(test->Nested(3).name, "GoTo");
}

// A macro longer than the room keeps only some parses; a line whose parse
// was dropped is parsed again, into views of the same text, so what is
// reported of it (its columns) is the same.
TEST(ParsedLines, ADroppedParseIsMadeAgainFromTheSameText) {
    std::vector<std::string> lines(3 * kSlots, "  Increment(%A)");
    const MacroText text = MacroText::FromLines(lines);
    ParsedLines parsed(text.Count());
    const char* first = parsed.At(text, 0)->name.data();
    EXPECT_EQ(first, text.Line(0).data() + 2);
    for (int index = 1; index < static_cast<int>(text.Count()); ++index) {
        parsed.At(text, index);
    }
    EXPECT_EQ(parsed.ParseCount(), 3U * kSlots);
    EXPECT_EQ(parsed.At(text, 0)->name.data(), first);
    EXPECT_EQ(parsed.ParseCount(), 3U * kSlots + 1);
    // Lines of one slot taking turns: each is parsed anew every time.
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(parsed.At(text, kSlots)->name.data(), text.Line(kSlots).data() + 2);
        EXPECT_EQ(parsed.At(text, 0)->name.data(), first);
    }
    EXPECT_EQ(parsed.ParseCount(), 3U * kSlots + 7);
}

// A loop longer than the room, whose lines share slots with its labels, the
// line it jumps from and the line that fails: the parses are dropped and
// made again every round, and the run is what it is with every parse kept.
class LoopsBeyondTheRoom : public testing::Test {
protected:
    test::TestDesktop desk;

    // Line 3 (0-based) fails in the third round, in its nested line; the line
    // that loops back shares its slot, so line 3 is parsed anew each round.
    static std::vector<std::string> Loop(bool onError) {
        std::vector<std::string> lines = {onError ? "OnError(Handler)" : "DoNothing()", ":Top", "Increment(%A)",
                                          "  IfEquals(%A,3,Frobnicate())"};
        while (lines.size() < static_cast<size_t>(kSlots) + 1) {
            lines.emplace_back(lines.size() % 2 == 0 ? "Increment(%B)" : "");
        }
        lines.emplace_back(":top2"); // shares the slot of ":Top"
        lines.emplace_back("Increment(%C)");
        lines.emplace_back("IfLessThan(%A,5,GoTo(TOP))"); // shares the slot of line 3
        lines.emplace_back("PutVar(%D,missed)");
        lines.emplace_back(":Handler");
        lines.emplace_back("PutVar(%E,%A)");
        return lines;
    }
};

TEST_F(LoopsBeyondTheRoom, JumpsAndTheErrorLabelWorkAsWithEveryParseKept) {
    const auto runner = desk.Run(Loop(true));
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('A'), "3");
    EXPECT_EQ(desk.Var('B'), std::to_string(2 * (kSlots / 2 - 1)));
    EXPECT_EQ(desk.Var('C'), "2");
    EXPECT_EQ(desk.Var('D'), "");
    EXPECT_EQ(desk.Var('E'), "3");
    EXPECT_EQ(runner->FailureReason(), "unknown command \"Frobnicate\"");
    EXPECT_EQ(desk.Sim().diagnostics.Transcript(), "");
}

TEST_F(LoopsBeyondTheRoom, AFailedLineParsedAgainReportsItsLineColumnAndReason) {
    const auto runner = desk.Run(Loop(false));
    EXPECT_EQ(runner->Outcome(), RunOutcome::Failed);
    EXPECT_EQ(runner->FailedLine(), 4);
    EXPECT_EQ(desk.Var('A'), "3");
    EXPECT_EQ(desk.Sim().diagnostics.Transcript(), "macro:4:17: error: unknown command \"Frobnicate\"\n");
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "beep\nmessage [Ordwell] Error at line: 4\n");
}

} // namespace
} // namespace ordwell
