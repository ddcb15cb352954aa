// The check of a macro before it runs, and its agreement with runs: a line
// the check calls an error fails when it runs, a line it passes never fails
// its argument check.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/MacroCheck.h"
#include "engine/MacroRunner.h"
#include "input/KeyTextCheck.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

std::vector<std::string> Check(const std::vector<std::string>& lines, CheckContext context = {}) {
    std::vector<std::string> out;
    for (const MacroFinding& finding : CheckMacro(MacroText::FromLines(lines), std::move(context))) {
        out.push_back(FormatFinding("m.ow", finding.line, finding.finding));
    }
    return out;
}

TEST(MacroCheck, ListsEachFindingOnceWithLineAndColumn) {
    CheckContext context;
    context.keyText = CheckKeyText;
    context.fileExists = [](std::string_view file) { return file == "there.ow"; };
    const std::vector<std::string> lines = {
        "#!/usr/bin/env -S ordwell /r",
        "Frobnicate()",
        "   MessageBox(\"a\",\"b\")",
        "If(DoNothing(),If(!DoNothing(),Beep(1)))",
        "IfEquals(1,1,Repeat(Beep(),x,y))",
        "GoTo(Nowhere)",
        "GoTo(%A)",
        "If(%B,Beep())",
        "RunProgram(\"gedit\",minimized)",
        "SendKeys(\"{entr}\")",
        "SendKeysToWindow(\"Editor\",\"x(ab\")",
        "SendKeys(\"{tab x}{bksp\")",
        "RunMacro(\"missing.ow\")",
        "RunMacro(\"there.ow\")",
        "Delay(5s)",
        "OnError(Gone)",
        "While(DoNothing(),Bep())",
        ":Start",
        "GoTo(start)",
        "SetCapsLock(on)",
        "   ",
    };
    EXPECT_EQ(Check(lines, context),
              (std::vector<std::string>{
                  "m.ow:2:1: error: unknown command \"Frobnicate\"",
                  "m.ow:3:4: error: MessageBox takes 1 argument, 2 given",
                  "m.ow:4:32: error: Beep takes 0 arguments, 1 given",
                  "m.ow:5:14: error: Repeat takes 2 arguments, 3 given",
                  "m.ow:6:6: error: no label \":Nowhere\" in this macro",
                  "m.ow:7:6: note: cannot check the label in %A: it is read from the variable when the line runs",
                  "m.ow:8:4: note: cannot check the command in %B: it is read from the variable when the line runs",
                  "m.ow:9:20: warning: \"minimized\" is none of Normal, Minimized, Maximized, Hidden (letter case "
                  "counts): nothing starts and the line answers FALSE",
                  "m.ow:10:11: warning: \"entr\" is no key name: its first character is typed instead",
                  "m.ow:11:29: warning: \"(\" without its \")\": typing stops at the end of the text",
                  "m.ow:12:11: warning: \"x\" in \"{tab ...}\" is no count: it reads as 1",
                  "m.ow:12:18: warning: \"{\" without its \"}\": typing stops here",
                  "m.ow:13:11: warning: no macro file \"missing.ow\": RunMacro runs nothing and answers FALSE",
                  "m.ow:15:7: warning: \"5s\" is no whole number of milliseconds: Delay reads it as 5",
                  "m.ow:16:9: warning: no label \":Gone\" in this macro: a failing line is skipped",
                  "m.ow:17:19: warning: unknown command \"Bep\" (While goes on: a failing command in its loop does "
                  "not end the macro)",
                  "m.ow:20:13: warning: \"on\" is none of ON, OFF (letter case counts): it turns Caps Lock off",
                  "m.ow:21:4: error: the line names no command",
              }));
    // Without a context nothing outside the lines is looked at: key texts and
    // files are not checked; labels are those of the macro.
    EXPECT_EQ(Check({"SendKeys(\"{entr}\")", "RunMacro(\"missing.ow\")", "GoTo(x)", ":X"}), std::vector<std::string>{});
}

// A run of the lines as a macro and a check of them agree: the run fails at
// the first line the check calls an error, and runs to its end when the
// check finds none.
void ExpectRunAndCheckAgree(const std::vector<std::string>& lines) {
    TestDesktop desk;
    const auto runner = desk.Run(lines);
    int firstError = 0;
    for (const MacroFinding& finding : CheckMacro(MacroText::FromLines(lines), {})) {
        if (finding.finding.level == FindingLevel::Error && firstError == 0) {
            firstError = finding.line;
        }
    }
    std::string shown;
    for (const std::string& line : lines) {
        shown += line + " | ";
    }
    EXPECT_EQ(runner->Outcome() == RunOutcome::Failed, firstError != 0) << shown;
    EXPECT_EQ(runner->FailedLine(), firstError) << shown;
}

TEST(MacroCheck, AgreesWithRuns) {
    const std::vector<std::vector<std::string>> cases = {
        {"Beep()"},
        {"Beep(1)"},
        {"!Beep(1)"},
        {"Frobnicate()"},
        {"   "},
        {"MessageBox(\"a\",\"b\")"},
        {"If(FileExst(x),Beep())"},
        {"If(DoNothing(),Beep(1))"},
        {"If(!DoNothing(),DoNothing(),Beep(1))"},
        {"If(DoNothing(),\"Beep(1)\")"},
        {"If(DoNothing(),If(DoNothing(),If(DoNothing(),Beep(2))))"},
        {"IfEquals(1,1,MessageBox())"},
        {"IfLessThan(1,2,GoTo(Nowhere))"},
        {"IfMoreThan(2,1,Frobnicate())"},
        {"Repeat(Beep(1),2)"},
        {"For(1,3,Beep(1))"},
        {"While(Frobnicate(),Beep())"},
        {"While(!DoNothing(),Bep())"},
        {"GoTo(Nowhere)"},
        {"GoTo(:Done)", ":done"},
        {"OnError(Gone)"},
        {"RunProgram(\"x\",minimized)"},
        {"SetCapsLock(on)"},
        {"SendKeys(\"(abc\")"},
        {"SendKeys(\"{tab x}\")"},
        {"Delay(x)"},
        {"RunMacro(\"missing.ow\")"},
        {"Print()"},
        {"DoNothing(1,2,3)"},
        {"If(%B,Beep())"},
        {"PutVar(%A,x)", "DoNothing()", "Beep(%A)"},
        {"#!/usr/bin/env -S ordwell /r", "DoNothing()"},
        {"DoNothing()", "#!/bin/sh"},
        {"InputBox(\"a\",%A,x)"},
        {"WaitForProgram()"},
        {"FindFile(a)"},
    };
    for (const std::vector<std::string>& lines : cases) {
        ExpectRunAndCheckAgree(lines);
    }
}

TEST(MacroCheck, AgreesWithRunsOnTheLineParserCorpus) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ORDWELL_MACROLINE_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        ExpectRunAndCheckAgree(MacroText::FromFileText(content.str()).Lines());
        ++files;
    }
    EXPECT_GT(files, 0);
}

TEST(MacroCheck, AFailedRunSaysWhyOnStandardErrorAndInTheEventLog) {
    TestDesktop desk;
    auto runner = desk.Run({"Beep()", "  If(DoNothing(),MessageBox(\"a\",\"b\"))"});
    EXPECT_EQ(runner->FailedLine(), 2);
    // The box and the error log keep their text.
    EXPECT_EQ(desk.Sim().dialogs.Transcript(), "beep\nbeep\nmessage [Ordwell] Error at line: 2\n");
    EXPECT_EQ(desk.ReadFile("macerr.log"), "01/22/98 13:05:00 Error at line: 2\r\n");
    EXPECT_EQ(desk.Sim().diagnostics.Transcript(), "macro:2:18: error: MessageBox takes 1 argument, 2 given\n");
    EXPECT_EQ(desk.ReadFile("macsys.log"),
              "01/22/98 13:05:00 macro:2:18: error: MessageBox takes 1 argument, 2 given\r\n");

    // A named macro is named; a missing label says which.
    CMacroRunner named(desk.GetEngine(), std::vector<std::string>{"GoTo(Nowhere)"});
    named.SetFileName("job.ow");
    named.Run();
    EXPECT_EQ(named.FailureReason(), "no label \":Nowhere\" in this macro");
    EXPECT_NE(desk.Sim().diagnostics.Transcript().find("job.ow:1:1: error: no label \":Nowhere\" in this macro\n"),
              std::string::npos);
}

TEST(MacroCheck, AFirstLineOfHashBangRunsAsAComment) {
    TestDesktop desk;
    auto runner = desk.Run({"#!/usr/bin/env -S ordwell /r", "PutVar(%A,1)"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('A'), "1");
    EXPECT_EQ(Check({"#!/usr/bin/env -S ordwell /r"}), std::vector<std::string>{});
    // Only the first line.
    EXPECT_EQ(desk.Run({"DoNothing()", "#!x"})->FailedLine(), 2);
    EXPECT_EQ(ClassifyMacroLine("#!x", 0), LineKind::Comment);
    EXPECT_EQ(ClassifyMacroLine("#!x", 1), LineKind::Command);
}

} // namespace
} // namespace ordwell
