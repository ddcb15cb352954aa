#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

class FlowCommands : public testing::Test {
protected:
    TestDesktop desk;
};

TEST_F(FlowCommands, IfRunsTheBranchOfTheTestResult) {
    EXPECT_TRUE(desk.Line("If(!DoNothing(),PutVar(%A,yes))"));
    EXPECT_EQ(desk.Var('A'), "");
    EXPECT_TRUE(desk.Line("If(!DoNothing(),PutVar(%A,yes),PutVar(%B,no))"));
    EXPECT_EQ(desk.Var('B'), "no");
    EXPECT_TRUE(desk.Line("If(DoNothing(),PutVar(%A,yes))"));
    EXPECT_EQ(desk.Var('A'), "yes");
    // An empty branch is a blank line and does nothing.
    EXPECT_TRUE(desk.Line("If(DoNothing(),,PutVar(%C,x))"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(desk.Var('C'), "");
    // A branch's result is the line's result.
    EXPECT_FALSE(desk.Line("If(DoNothing(),!DoNothing())"));
}

TEST_F(FlowCommands, AFailingNestedLineFailsTheOuterLine) {
    EXPECT_TRUE(desk.Line("If(FileExst(x),Beep())"));
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "");
    // A wrong argument count: TRUE, yet the line failed; negated it is FALSE.
    EXPECT_TRUE(desk.Line("Beep(1)"));
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
    EXPECT_FALSE(desk.Line("!Beep(1)"));
    // Unknown commands are FALSE; negated TRUE, still failed.
    EXPECT_TRUE(desk.Line("!Frobnicate()"));
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
}

TEST_F(FlowCommands, NegationInvertsTheResult) {
    EXPECT_FALSE(desk.Line("!DoNothing()"));
    EXPECT_TRUE(desk.Line("If(!ResponseOk(),PutVar(%A,1))"));
    EXPECT_EQ(desk.Var('A'), "1");
}

TEST_F(FlowCommands, RepeatCountsAndStopsOnFalse) {
    EXPECT_TRUE(desk.Line("Repeat(Increment(%A),3)"));
    EXPECT_EQ(desk.Var('A'), "3");
    EXPECT_TRUE(desk.Line("Repeat(Increment(%B),0)"));
    EXPECT_TRUE(desk.Line("Repeat(Increment(%B),)"));
    EXPECT_EQ(desk.Var('B'), "");
    // Increment of a non-variable stores nothing and returns FALSE: one round.
    EXPECT_FALSE(desk.Line("Repeat(increment(x),5)"));
}

TEST_F(FlowCommands, RepeatSeesVariablesAsTheyAreAtEachRound) {
    // The nested line is read anew each round.
    desk.SetVar('A', "0");
    desk.Line("Repeat(If(DoNothing(),PutVar(%B,%A)),1)");
    EXPECT_EQ(desk.Var('B'), "0");
    desk.Line("Repeat(Increment(%A),4)");
    desk.Line("Repeat(PutVar(%C,%A),2)");
    EXPECT_EQ(desk.Var('C'), "4");
}

TEST_F(FlowCommands, WhileLoopsUntilTheTestTurnsFalse) {
    desk.SetVar('A', "0");
    desk.Sim().dialogs.ScriptAnswer(kAnswerOk);
    desk.Sim().dialogs.ScriptAnswer(kAnswerOk);
    desk.Sim().dialogs.ScriptAnswer(kAnswerCancel);
    auto runner = desk.Run({"MessageBoxOkCancel(Again?)", "While(ResponseOk(),MessageBoxOkCancel(Again?))"});
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "question [Ordwell] Again?\n"
                                               "question [Ordwell] Again?\n"
                                               "question [Ordwell] Again?\n");
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    // A test that is FALSE at once runs nothing and returns TRUE.
    EXPECT_TRUE(desk.Line("While(!DoNothing(),Increment(%A))"));
    EXPECT_EQ(desk.Var('A'), "0");
}

TEST_F(FlowCommands, ForCountsFromStartBelowEnd) {
    EXPECT_TRUE(desk.Line("For(1,4,Increment(%A))"));
    EXPECT_EQ(desk.Var('A'), "3");
    EXPECT_TRUE(desk.Line("For(5,5,Increment(%A))"));
    EXPECT_TRUE(desk.Line("For(9,2,Increment(%A))"));
    EXPECT_EQ(desk.Var('A'), "3");
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    EXPECT_TRUE(desk.Line("For(1,2)"));
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
}

TEST_F(FlowCommands, GoToAndLabels) {
    auto runner = desk.Run({"GoTo(Skip)", "PutVar(%A,no)", ":skip", "PutVar(%B,yes)"});
    EXPECT_EQ(desk.Var('A'), "");
    EXPECT_EQ(desk.Var('B'), "yes");
    EXPECT_EQ(runner->FindLabel("Skip"), 2);
    EXPECT_EQ(runner->FindLabel(":SKIP"), 2);
    EXPECT_EQ(runner->FindLabel("Nowhere"), -1);

    runner = desk.Run({"GoTo(:End)", "PutVar(%C,no)", ":End"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('C'), "");

    runner = desk.Run({"DoNothing()", "GoTo(Nowhere)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Failed);
    EXPECT_EQ(runner->FailedLine(), 2);
}

TEST_F(FlowCommands, LoopsOverManyLinesAndJumpsToLabelsThatChange) {
    // Lines far apart run in turns (a runner remembers the lines it ran
    // last), and a jump's label may be a variable that changes.
    std::vector<std::string> lines = {"PutVar(%L,Second)", ":First", "Increment(%A)"};
    for (int n = 0; n < 150; ++n) {
        lines.emplace_back(n % 3 == 0 ? "" : n % 3 == 1 ? "// note" : "Increment(%B)");
    }
    lines.insert(lines.end(), {"IfLessThan(%A,4,GoTo(%L))", "GoTo(End)", ":second", "Increment(%C)",
                               "IfLessThan(%C,2,GoTo(First))", "PutVar(%L,first)", "GoTo(First)", ":End"});
    const auto runner = desk.Run(lines);
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('A'), "4");
    EXPECT_EQ(desk.Var('B'), "200");
    EXPECT_EQ(desk.Var('C'), "2");
    EXPECT_EQ(runner->FindLabel("SECOND"), 155);
    EXPECT_EQ(runner->FindLabel("second "), -1);
}

TEST_F(FlowCommands, ALabelNeedsTheWholeLine) {
    auto runner = desk.Run({":Start ", " :Start", ":Start"});
    EXPECT_EQ(runner->FindLabel("Start"), 2);
}

TEST_F(FlowCommands, ExitMacroEndsTheRunAfterItsLine) {
    auto runner = desk.Run({"Increment(%A)", "Repeat(If(Increment(%B),ExitMacro()),100)", "Increment(%A)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Var('A'), "1");
    EXPECT_EQ(desk.Var('B'), "1");
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "");
}

TEST_F(FlowCommands, ResponsesFollowTheLastBox) {
    EXPECT_FALSE(desk.Line("ResponseOk()"));
    EXPECT_FALSE(desk.Line("ResponseCancel(1,2)"));
    desk.Sim().dialogs.ScriptAnswer(kAnswerCancel);
    auto runner = desk.Run({"MessageBoxOkCancel(Continue?)", "If(ResponseCancel(),ExitMacro())", "PutVar(%A,ran)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Var('A'), "");
}

TEST_F(FlowCommands, RunMacroRunsAnotherFileWithSharedVariables) {
    desk.WriteFile("inner.ow", "PutVar(%B,inner)\r\nExitMacro()\r\nPutVar(%C,never)\r\n");
    auto runner = desk.Run({"PutVar(%A,outer)", "RunMacro(inner.ow)", "PutVar(%D,after)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('B'), "inner");
    EXPECT_EQ(desk.Var('C'), "");
    EXPECT_EQ(desk.Var('D'), "after");
    // Two run icons were shown, one per runner, and both are gone.
    EXPECT_EQ(desk.Sim().runIcon.EverShown(), 2);
    EXPECT_TRUE(desk.Sim().runIcon.Shown().empty());

    // A macro that is missing, or there but no macro file, answers FALSE and
    // the line goes on.
    std::filesystem::create_directory(desk.Dir() / "folder.ow");
    for (const char* line : {"RunMacro(missing.ow)", "RunMacro(folder.ow)", "RunMacro(c:\\no\\such.ow)"}) {
        EXPECT_FALSE(desk.Line(line)) << line;
        EXPECT_TRUE(desk.LastRunner().SyntaxFlag()) << line;
    }
}

TEST_F(FlowCommands, AnErrorInAnInnerMacroEndsOnlyThatMacro) {
    desk.WriteFile("inner.ow", "\n\nFrobnicate()\nPutVar(%B,never)\n");
    auto runner = desk.Run({"RunMacro(inner.ow)", "PutVar(%A,goes on)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('A'), "goes on");
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "beep\nmessage [Ordwell] Error at line: 3\n");
}

TEST_F(FlowCommands, LinesAndMacrosNestThousandsOfLevelsDeep) {
    std::string line = "PutVar(%B,deep)";
    for (int i = 0; i < 2000; ++i) {
        line = "If(DoNothing()," + line + ")";
    }
    EXPECT_TRUE(desk.Line(line));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    EXPECT_EQ(desk.Var('B'), "deep");

    // A macro level takes far more stack than a line level; the address
    // sanitizer's frames take about half as much again.
#ifdef __SANITIZE_ADDRESS__
    const std::string levels = "1500";
#else
    const std::string levels = "2000";
#endif
    desk.WriteFile("count.ow", "Increment(%A)\nIfLessThan(%A," + levels + ",RunMacro(count.ow))\n");
    auto runner = desk.Run({"RunMacro(count.ow)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('A'), levels);
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "");
}

TEST_F(FlowCommands, NestingBeyondTheStackFailsTheLineInsteadOfOverflowing) {
    desk.WriteFile("self.ow", "Increment(%A)\nRunMacro(self.ow)\n");
    auto runner = desk.Run({"RunMacro(self.ow)", "PutVar(%B,after)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('B'), "after");
    EXPECT_GT(std::stoi(desk.Var('A')), 2000);
    // Only the innermost macro failed, and was reported as a failed line.
    const std::string& boxes = desk.Sim().dialogs.Transcript();
    EXPECT_TRUE(boxes.starts_with("beep\nmessage [Ordwell] Error at line: ")) << boxes;
    EXPECT_EQ(std::count(boxes.begin(), boxes.end(), '\n'), 2) << boxes;
    EXPECT_NE(desk.Sim().diagnostics.Transcript().find("nested too deeply"), std::string::npos);
}

} // namespace
} // namespace ordwell
