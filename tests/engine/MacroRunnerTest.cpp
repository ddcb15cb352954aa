#include <gtest/gtest.h>

#include <regex>

#include "engine/LogWriter.h"
#include "engine/MacroRunner.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

class MacroRunnerTest : public testing::Test {
protected:
    TestDesktop desk;
};

TEST(MacroText, SplitsLinesAsTextModeReadsThem) {
    EXPECT_EQ(SplitMacroText("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitMacroText("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitMacroText("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(SplitMacroText("\n"), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitMacroText(""), (std::vector<std::string>{}));
    EXPECT_EQ(SplitMacroText("a\rb\r\n"), (std::vector<std::string>{"a\rb"}));
}

TEST_F(MacroRunnerTest, SkipsBlankCommentAndLabelLines) {
    auto runner = desk.Run({"", "// note", "* note", ":Label", "   // indented"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_TRUE(desk.Sim().Boxes().empty());
    EXPECT_FALSE(std::filesystem::exists(desk.Dir() / "macerr.log"));
}

TEST_F(MacroRunnerTest, ReportsAFailedLineWithBeepLogAndBox) {
    auto runner = desk.Run({"DoNothing()", "", "// c", "Beep(", "Frobnicate()", "PutVar(%A,never)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Failed);
    EXPECT_EQ(runner->FailedLine(), 5);
    EXPECT_EQ(desk.Sim().Beeps(), 2); // Beep( is Beep with no arguments
    ASSERT_EQ(desk.Sim().Boxes().size(), 1U);
    EXPECT_EQ(desk.Sim().Boxes()[0].text, "Error at line: 5");
    EXPECT_EQ(desk.Sim().Boxes()[0].caption, "Ordwell");
    EXPECT_EQ(desk.ReadFile("macerr.log"), "01/22/98 13:05:00 Error at line: 5\r\n");
    EXPECT_EQ(desk.Var('A'), "");
}

TEST_F(MacroRunnerTest, ErrorLogFollowsTheSettingAtEveryWrite) {
    desk.Run({"Frobnicate()"});
    desk.GetEngine().GetSettings().WriteString("System", "ErrorLog", "other.log");
    desk.Run({"DoNothing()", "Frobnicate()"});
    EXPECT_EQ(desk.ReadFile("macerr.log"), "01/22/98 13:05:00 Error at line: 1\r\n");
    EXPECT_EQ(desk.ReadFile("other.log"), "01/22/98 13:05:00 Error at line: 2\r\n");
}

TEST_F(MacroRunnerTest, OnErrorBranchesToItsLabel) {
    auto runner = desk.Run(
        {"OnError(Handler)", "Frobnicate()", "PutVar(%A,skipped)", ":Handler", "DoNothing()", "PutVar(%B,handled)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('A'), "");
    EXPECT_EQ(desk.Var('B'), "handled");
    EXPECT_TRUE(desk.Sim().Boxes().empty());

    // A missing error label lets the run go on with the next line.
    runner = desk.Run({"OnError(Missing)", "Frobnicate()", "PutVar(%C,next)"});
    EXPECT_EQ(desk.Var('C'), "next");
    // OnError("") switches branching off again.
    runner = desk.Run({"OnError(Missing)", "OnError(\"\")", "Frobnicate()"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Failed);
}

TEST_F(MacroRunnerTest, ClickingTheRunIconEndsADelayAtOnce) {
    desk.Sim().At(1500, [this] { desk.Sim().ClickNewestIcon(); });
    auto runner = desk.Run({"Delay(60000)", "PutVar(%A,never)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Sim().MonotonicMs(), 1500U);
    EXPECT_EQ(desk.Var('A'), "");
    EXPECT_TRUE(desk.Sim().Icons().empty());
}

TEST_F(MacroRunnerTest, TheRunIconIsShownWhileRunning) {
    std::vector<std::string> seen;
    desk.Sim().At(10, [&] { seen = desk.Sim().Icons(); });
    desk.Run({"Delay(20)"});
    EXPECT_EQ(seen, std::vector<std::string>{"Stop Ordwell"});
}

TEST_F(MacroRunnerTest, ALoopThatNeverWaitsStillSeesTheRunIcon) {
    desk.Sim().AdvanceMs(1000);
    desk.Sim().At(1000, [this] { desk.Sim().ClickNewestIcon(); });
    auto runner = desk.Run({":Top", "GoTo(Top)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);

    desk.Sim().AdvanceMs(1000);
    desk.Sim().At(2000, [this] { desk.Sim().ClickNewestIcon(); });
    runner = desk.Run({"While(DoNothing(),DoNothing())"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
}

TEST_F(MacroRunnerTest, AStopSignalEndsEveryNestedRun) {
    desk.WriteFile("inner.ow", "Delay(-1)\n");
    desk.Sim().At(5000, [this] { desk.Sim().RaiseSignal(); });
    auto runner = desk.Run({"RunMacro(inner.ow)", "PutVar(%A,never)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Var('A'), "");
}

TEST_F(MacroRunnerTest, DelayWaitsTheGivenTime) {
    desk.Run({"Delay(1500)"});
    EXPECT_EQ(desk.Sim().MonotonicMs(), 1500U);
    EXPECT_TRUE(desk.Line("Delay(0)"));
    EXPECT_EQ(desk.Sim().MonotonicMs(), 1500U);
    EXPECT_TRUE(desk.Line("Delay()"));
    EXPECT_FALSE(desk.LastRunner().SyntaxFlag());
}

TEST_F(MacroRunnerTest, ALoadedFileKeepsItsLinesAndAMissingOneRunsNothing) {
    desk.WriteFile("m.ow", "PutVar(%A,1)\r\n\r\nPutVar(%B,2)");
    CMacroRunner loaded(desk.GetEngine(), "m.ow");
    EXPECT_EQ(loaded.LoadStatus(), 0);
    EXPECT_EQ(loaded.Lines(), (std::vector<std::string>{"PutVar(%A,1)", "", "PutVar(%B,2)"}));
    loaded.Run();
    EXPECT_EQ(desk.Var('B'), "2");

    CMacroRunner missing(desk.GetEngine(), "missing.ow");
    EXPECT_EQ(missing.LoadStatus(), 1);
    missing.Run();
    EXPECT_EQ(missing.Outcome(), RunOutcome::Completed);
    EXPECT_TRUE(desk.Sim().Boxes().empty());
}

TEST_F(MacroRunnerTest, VariablesSurviveFromRunToRun) {
    desk.Run({"PutVar(%Q,kept)"});
    desk.Run({"PutVar(%R,%Q)"});
    EXPECT_EQ(desk.Var('R'), "kept");
}

TEST(LogWriter, FormatsTheStampedLine) {
    const auto when = TestDesktop::LocalTime(1998, 1, 22, 13, 5, 0);
    EXPECT_EQ(FormatLogLine(when, "Backup done"), "01/22/98 13:05:00 Backup done\r\n");
    EXPECT_EQ(FormatLogLine(when, ""), "01/22/98 13:05:00 \r\n");
}

TEST_F(MacroRunnerTest, AppendsWholeTextsOfAnyLength) {
    const std::string text(5000, 'x');
    EXPECT_TRUE(WriteLogLine(desk.GetEngine(), "long.log", text));
    EXPECT_EQ(desk.ReadFile("long.log"), "01/22/98 13:05:00 " + text + "\r\n");
    EXPECT_FALSE(WriteLogLine(desk.GetEngine(), "no/such/dir/x.log", "x"));
    EXPECT_FALSE(AppendToFile(desk.GetEngine(), "", "x"));
}

TEST_F(MacroRunnerTest, EventLogUsesItsSetting) {
    EXPECT_TRUE(WriteEventLog(desk.GetEngine(), "started"));
    EXPECT_EQ(desk.ReadFile("macsys.log"), "01/22/98 13:05:00 started\r\n");
}

} // namespace
} // namespace ordwell
