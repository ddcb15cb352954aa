#include <gtest/gtest.h>

#include <new>
#include <regex>

#include "engine/CommandCall.h"
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

std::vector<std::string> Split(std::string text) {
    return MacroText::FromFileText(std::move(text)).Lines();
}

TEST(MacroText, SplitsLinesAsTextModeReadsThem) {
    EXPECT_EQ(Split("a\r\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Split("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(Split("a\n\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(Split("\n"), (std::vector<std::string>{""}));
    EXPECT_EQ(Split(""), (std::vector<std::string>{}));
    EXPECT_EQ(Split("a\rb\r\n\r\n"), (std::vector<std::string>{"a\rb", ""}));
    // Lines given as a list keep every character, line ends included.
    const std::vector<std::string> lines = {"a\r", "", "b\nc"};
    EXPECT_EQ(MacroText::FromLines(lines).Lines(), lines);
}

TEST_F(MacroRunnerTest, SkipsBlankCommentAndLabelLines) {
    auto runner = desk.Run({"", "// note", "* note", ":Label", "   // indented"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "");
    EXPECT_FALSE(std::filesystem::exists(desk.Dir() / "macerr.log"));
}

TEST_F(MacroRunnerTest, ReportsAFailedLineWithBeepLogAndBox) {
    auto runner = desk.Run({"DoNothing()", "", "// c", "Beep(", "Frobnicate()", "PutVar(%A,never)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Failed);
    EXPECT_EQ(runner->FailedLine(), 5);
    // "Beep(" is Beep with no arguments.
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "beep\nbeep\nmessage [Ordwell] Error at line: 5\n");
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
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "");

    // A missing error label lets the run go on with the next line.
    runner = desk.Run({"OnError(Missing)", "Frobnicate()", "PutVar(%C,next)"});
    EXPECT_EQ(desk.Var('C'), "next");
    // OnError("") switches branching off again.
    runner = desk.Run({"OnError(Missing)", "OnError(\"\")", "Frobnicate()"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Failed);
}

TEST_F(MacroRunnerTest, ClickingTheRunIconEndsADelayAtOnce) {
    desk.Sim().pump.At(1500, [this] { desk.Sim().runIcon.ClickNewest(); });
    auto runner = desk.Run({"Delay(60000)", "PutVar(%A,never)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Sim().clock.MonotonicMs(), 1500U);
    EXPECT_EQ(desk.Var('A'), "");
    EXPECT_TRUE(desk.Sim().runIcon.Shown().empty());
}

TEST_F(MacroRunnerTest, TheRunIconIsShownWhileRunning) {
    std::vector<std::string> seen;
    desk.Sim().pump.At(10, [&] { seen = desk.Sim().runIcon.Shown(); });
    desk.Run({"Delay(20)"});
    EXPECT_EQ(seen, std::vector<std::string>{"Stop Ordwell"});
}

TEST_F(MacroRunnerTest, ALoopThatNeverWaitsStillSeesTheRunIcon) {
    desk.Sim().clock.AdvanceMs(1000);
    desk.Sim().pump.At(1000, [this] { desk.Sim().runIcon.ClickNewest(); });
    auto runner = desk.Run({":Top", "GoTo(Top)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);

    desk.Sim().clock.AdvanceMs(1000);
    desk.Sim().pump.At(2000, [this] { desk.Sim().runIcon.ClickNewest(); });
    runner = desk.Run({"While(DoNothing(),DoNothing())"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
}

TEST_F(MacroRunnerTest, SlowLinesThatNeverWaitStillLetEventsInEveryInterval) {
    // Lines that each take 10 ms without waiting, as file commands on a slow
    // disk do.
    desk.GetEngine().Bind(CommandId::kDoNothing, [](CommandCall& call) {
        static_cast<SimulatedClock&>(call.GetPlatform().clock).AdvanceMs(10);
        return true;
    });
    desk.Sim().pump.At(1000, [this] { desk.Sim().runIcon.ClickNewest(); });
    auto runner = desk.Run({":Top", "DoNothing()", "GoTo(Top)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_LE(desk.Sim().clock.MonotonicMs(), 1000 + Engine::kEventIntervalMs + 10);
}

TEST_F(MacroRunnerTest, ALineThatRunsOutOfMemoryFailsAndTheMacroGoesOn) {
    desk.GetEngine().Bind(CommandId::kDoNothing, [](CommandCall&) -> bool { throw std::bad_alloc(); });
    auto runner = desk.Run({"If(DoNothing(),PutVar(%A,true),PutVar(%A,false))", "DoNothing()", "PutVar(%B,after)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('A'), "false");
    EXPECT_EQ(desk.Var('B'), "after");
}

TEST_F(MacroRunnerTest, AStopSignalEndsEveryNestedRun) {
    desk.WriteFile("inner.ow", "Delay(-1)\n");
    desk.Sim().pump.At(5000, [this] { desk.Sim().stop.Raise(); });
    auto runner = desk.Run({"RunMacro(inner.ow)", "PutVar(%A,never)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Var('A'), "");
}

// A stop request that ends the test of an If lets no branch run and no box
// open.
TEST_F(MacroRunnerTest, NoBranchAndNoBoxAfterAStopSignal) {
    desk.Sim().pump.At(5000, [this] { desk.Sim().stop.Raise(); });
    auto runner = desk.Run({"If(Delay(-1),MessageBox(\"Then\"),PutVar(%A,else))", "InputBox(\"Name?\",%B)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(desk.Var('A'), "");
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "");
    // The boxes themselves open none once a stop came.
    EXPECT_TRUE(desk.Line("MessageBox(\"Late\")"));
    EXPECT_TRUE(desk.Line("InputBox(\"Late?\",%B)"));
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "");
}

TEST_F(MacroRunnerTest, DelayWaitsTheGivenTime) {
    desk.Run({"Delay(1500)"});
    EXPECT_EQ(desk.Sim().clock.MonotonicMs(), 1500U);
    EXPECT_TRUE(desk.Line("Delay(0)"));
    EXPECT_EQ(desk.Sim().clock.MonotonicMs(), 1500U);
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
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "");

    // A file that is there but no macro file: a folder, or one beyond the
    // size a macro may have.
    std::filesystem::create_directory(desk.Dir() / "folder.ow");
    EXPECT_EQ(CMacroRunner(desk.GetEngine(), "folder.ow").LoadStatus(), 2);
    std::filesystem::resize_file(desk.Dir() / "m.ow", kMaxMacroFileBytes + 1);
    EXPECT_EQ(CMacroRunner(desk.GetEngine(), "m.ow").LoadStatus(), 2);
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

TEST_F(MacroRunnerTest, AClockBeyondTheCalendarStillWritesWholeLogLines) {
    desk.Sim().clock.SetNow(std::int64_t{1} << 60);
    EXPECT_TRUE(desk.Line("LogToFile(far.log,still here)"));
    EXPECT_TRUE(desk.Line("GetDate(%A)"));
    EXPECT_EQ(desk.ReadFile("far.log"), "--/--/-- --:--:-- still here\r\n");
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
