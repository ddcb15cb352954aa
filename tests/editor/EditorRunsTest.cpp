#include <gtest/gtest.h>

#include "editor/EditorRuns.h"
#include "editor/ExternalEditor.h"
#include "editor/MacroDocument.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/ShellWords.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

class EditorRunsTest : public testing::Test {
protected:
    test::TestDesktop m_desk;
    EditorRuns m_runs{m_desk.GetEngine()};
    std::vector<bool> m_changes;

    void SetUp() override {
        m_runs.SetActiveChanged([this](bool active) { m_changes.push_back(active); });
    }
};

TEST_F(EditorRunsTest, VariablesOutliveTheRunAndDumpShowsThem) {
    EXPECT_EQ(m_runs.Run({"PutVar(%A,\"left\")", "Beep()"}), RunOutcome::Completed);
    EXPECT_EQ(m_changes, (std::vector<bool>{true, false}));
    EXPECT_FALSE(m_runs.Active());
    m_desk.Sim().dialogs.ClearTranscript();
    // Dump runs nothing of the lines it is given.
    m_runs.DumpVariables({"PutVar(%A,\"changed\")"});
    EXPECT_NE(m_desk.Sim().dialogs.Transcript().find("left"), std::string::npos);
    EXPECT_EQ(m_desk.Var('A'), "left");
    EXPECT_EQ(m_runs.TestLine("Increment(%B)"), RunOutcome::Completed);
    EXPECT_EQ(m_desk.Var('B'), "1");
}

TEST_F(EditorRunsTest, StopEndsEveryRunGoingOnAndRunsNestInTheirWaits) {
    bool sawActive = false;
    RunOutcome tested = RunOutcome::NotRun;
    // While the macro waits, the editor tests a line, then the user stops.
    m_desk.Sim().pump.After(100, [&] {
        sawActive = m_runs.Active();
        tested = m_runs.TestLine("PutVar(%C,\"tested\")");
        m_runs.StopAll();
    });
    EXPECT_EQ(m_runs.Run({"Delay(3600000)", "PutVar(%D,\"after\")"}), RunOutcome::Stopped);
    EXPECT_TRUE(sawActive);
    EXPECT_EQ(tested, RunOutcome::Completed);
    EXPECT_EQ(m_desk.Var('C'), "tested");
    EXPECT_EQ(m_desk.Var('D'), "");
    // The nested test did not count as a start or end of its own.
    EXPECT_EQ(m_changes, (std::vector<bool>{true, false}));
    // A stop asked for with no run going on reaches no later run.
    m_runs.StopAll();
    EXPECT_EQ(m_runs.Run({"PutVar(%D,\"later\")"}), RunOutcome::Completed);
    EXPECT_EQ(m_desk.Var('D'), "later");
}

// The line a run is on can be looked at while it waits; a failed run tells
// its line, names the macro by the name given, and its box says why below
// "Error at line: N". A tested line is no macro run.
TEST_F(EditorRunsTest, TheRunsLineIsKnownAndAFailureSaysWhereAndWhy) {
    int during = -1;
    int duringTest = -1;
    m_desk.Sim().pump.After(100, [&] {
        during = m_runs.RunningLine();
        m_runs.TestLine("Beep()");
        duringTest = m_runs.RunningLine();
        m_runs.StopAll();
    });
    EXPECT_EQ(m_runs.Run({"Beep()", "Delay(3600000)"}, "wait.ow"), RunOutcome::Stopped);
    EXPECT_EQ(during, 2);
    EXPECT_EQ(duringTest, 2);
    EXPECT_EQ(m_runs.RunningLine(), 0);
    EXPECT_EQ(m_runs.FailedLine(), 0);

    m_desk.Sim().dialogs.ClearTranscript();
    EXPECT_EQ(m_runs.Run({"Beep()", "", R"(MessageBox("a","b"))"}, "m.ow"), RunOutcome::Failed);
    EXPECT_EQ(m_runs.FailedLine(), 3);
    EXPECT_NE(m_desk.Sim().dialogs.Transcript().find("Error at line: 3\n\nMessageBox takes 1 argument, 2 given"),
              std::string::npos)
        << m_desk.Sim().dialogs.Transcript();
    EXPECT_NE(m_desk.Sim().diagnostics.Transcript().find("m.ow:3:1: error: MessageBox takes 1 argument"),
              std::string::npos)
        << m_desk.Sim().diagnostics.Transcript();
    EXPECT_EQ(m_runs.Run({"Beep()"}), RunOutcome::Completed);
    EXPECT_EQ(m_runs.FailedLine(), 0);
}

// Each run reads the lines as they are now: a line edited since the last run
// runs, fails and is reported as edited, in a loop too.
TEST_F(EditorRunsTest, ALineEditedBetweenRunsRunsAsItNowReads) {
    std::vector<std::string> lines = {"PutVar(%A,0)", ":Top", "Increment(%A)", "IfLessThan(%A,3,GoTo(Top))"};
    EXPECT_EQ(m_runs.Run(lines, "m.ow"), RunOutcome::Completed);
    EXPECT_EQ(m_desk.Var('A'), "3");
    lines[3] = "IfLessThan(%A,5,GoTo(Top))";
    EXPECT_EQ(m_runs.Run(lines, "m.ow"), RunOutcome::Completed);
    EXPECT_EQ(m_desk.Var('A'), "5");
    EXPECT_EQ(m_runs.TestLine(lines[2]), RunOutcome::Completed);
    EXPECT_EQ(m_desk.Var('A'), "6");

    lines[2] = "Increment(%A,%B)";
    EXPECT_EQ(m_runs.Run(lines, "m.ow"), RunOutcome::Failed);
    EXPECT_EQ(m_runs.FailedLine(), 3);
    lines[2] = "Increment(%A)";
    lines[3] = "IfLessThan(%A,8,  GoTo(Top,x))";
    EXPECT_EQ(m_runs.Run(lines, "m.ow"), RunOutcome::Failed);
    EXPECT_EQ(m_runs.FailedLine(), 4);
    EXPECT_EQ(m_desk.Var('A'), "1");
    EXPECT_NE(m_desk.Sim().diagnostics.Transcript().find("m.ow:3:1: error: Increment takes 1 argument, 2 given\n"
                                                         "m.ow:4:19: error: GoTo takes 1 argument, 2 given\n"),
              std::string::npos)
        << m_desk.Sim().diagnostics.Transcript();
}

TEST_F(EditorRunsTest, ExternalEditorSavesFirstThenStartsTheEditorOnTheFile) {
    PosixFileSystem files;
    MacroDocument document(files);
    int saves = 0;
    int questions = 0;
    SaveAnswer answer = SaveAnswer::Cancel;
    const auto save = [&] {
        ++saves;
        return false;
    };
    const auto ask = [&] {
        ++questions;
        return answer;
    };
    // A macro never saved goes to Save As; cancelling it cancels the launch.
    EXPECT_FALSE(SaveBeforeExternalEdit(document, save, ask));
    EXPECT_EQ(saves, 1);
    document.SetPath("m.ow");
    EXPECT_TRUE(SaveBeforeExternalEdit(document, save, ask));
    EXPECT_EQ(questions, 0) << "an unmodified file is not asked about";
    document.SetModified(true);
    EXPECT_FALSE(SaveBeforeExternalEdit(document, save, ask));
    answer = SaveAnswer::No;
    EXPECT_TRUE(SaveBeforeExternalEdit(document, save, ask));
    EXPECT_EQ(saves, 1);
    answer = SaveAnswer::Yes;
    EXPECT_TRUE(SaveBeforeExternalEdit(document, save, ask)) << "goes on even when the save failed";
    EXPECT_EQ(saves, 2);

    auto& processes = m_desk.Sim().processes;
    processes.AddProgram("xdg-open");
    processes.AddProgram("/opt/my editor/edit");
    processes.AddProgram("emacsclient");
    EXPECT_EQ(StartExternalEditor(processes, "", "/home/ann/it's here.ow"), EditorStart::Started);
    EXPECT_EQ(StartExternalEditor(processes, "/opt/my editor/edit", "/m.ow"), EditorStart::Started);
    EXPECT_EQ(StartExternalEditor(processes, "emacsclient -c", "/m.ow"), EditorStart::Started);
    EXPECT_EQ(StartExternalEditor(processes, "Notepad.exe", "/m.ow"), EditorStart::NotFound);
    EXPECT_EQ(processes.Transcript(), "open [xdg-open] '/home/ann/it'\\''s here.ow'\n"
                                      "open [/opt/my editor/edit] '/m.ow'\n"
                                      "open [emacsclient] -c '/m.ow'\n");
    // The program gets the path back whole, whatever characters it holds.
    const std::string path = "/tmp/a 'b' \"c\" $d;e\\f.ow";
    const auto launch = ExternalEditorLaunch("emacsclient -c", path, [](std::string_view) { return true; });
    EXPECT_EQ(SplitShellWords(launch.parameters), (std::vector<std::string>{"-c", path}));
    processes.SetLaunchesFail(true);
    EXPECT_EQ(StartExternalEditor(processes, "", "/m.ow"), EditorStart::Failed);
}

} // namespace
} // namespace ordwell
