// Runs the built ordwell program on macro files, with no display and a clean
// settings store, and checks what a user of the command line sees.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "OrdwellProgram.h"
#include "support/DdeTestBus.h"
#include "support/ForkedChild.h"

namespace ordwell::test {
namespace {

TEST_F(OrdwellProgram, ExitStatusSaysHowTheRunEnded) {
    struct Row {
        std::vector<std::string> arguments;
        std::string macro;
        int status;
    };
    const std::vector<Row> rows = {
        {{"/r", "macro.ow"}, "DoNothing()\n", 0},
        {{"-r", "macro.ow"}, "", 0},
        {{"/r", "macro.ow"}, "ExitMacro()\nNoSuchCommand()\n", 0},
        {{"/r", "macro.ow"}, "OnError(Handler)\nNoSuchCommand()\n:Handler\n", 0},
        {{"/r", "macro.ow"}, "DoNothing()\nNoSuchCommand()\n", 1},
        {{"/r", "macro.ow"}, "GoTo(Nowhere)\n", 1},
        {{"/r", "missing.ow"}, "", 2},
        {{"/r", "config"}, "", 2}, // a folder is no macro file
        {{"/R", "macro.ow"}, "DoNothing()\n", 2},
        {{"/r"}, "", 2},
        {{}, "", 2},
    };
    std::filesystem::create_directories(m_dir / "config");
    for (const Row& row : rows) {
        WriteMacro("macro.ow", row.macro);
        const Result result = Run(row.arguments);
        EXPECT_EQ(result.status, row.status) << testing::PrintToString(row.arguments) << " on:\n" << row.macro;
    }
}

TEST_F(OrdwellProgram, MacroPathsOnTheCommandLineMapAsInMacros) {
    // C: stands for the root unless the settings say otherwise, and "\"
    // separates like "/": the same file RunMacro would find.
    std::string windowsPath = "c:" + (m_dir / "macro.ow").string();
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    WriteMacro("macro.ow", "WriteToFile(ran.txt,yes)\n");
    const Result result = Run({"/r", windowsPath});
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(ReadFile("ran.txt"), "yes");
}

TEST_F(OrdwellProgram, SpecialFilesAreNoMacros) {
    ASSERT_EQ(::mkfifo((m_dir / "fifo.ow").c_str(), 0600), 0);
    for (const char* file : {"fifo.ow", "/dev/zero"}) {
        const Result result = Run({"/r", file});
        EXPECT_EQ(result.status, 2) << file;
        EXPECT_NE(result.errors.find("no regular file"), std::string::npos) << result.errors;
    }
    const Result result =
        RunMacro("If(!RunMacro(fifo.ow),PutVar(%A,refused))\nIf(!RunMacro(/dev/zero),PutVar(%B,refused))\n"
                 "GetFromIniFile(/dev/zero,[s]k,%C)\nDump()\n");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_NE(result.output.find("%A = refused\n%B = refused\n%C = \n"), std::string::npos) << result.output;
}

TEST_F(OrdwellProgram, BoxesAnswerCancelWhenStandardInputIsClosed) {
    WriteMacro("macro.ow", "InputBox(\"Name?\",%N)\nMessageBoxOkCancel(\"Go on?\")\n"
                           "If(ResponseCancel(),PutVar(%A,cancelled))\nDump()\n");
    auto child = Start({"/r", "macro.ow"}, {}, false, /*noInput=*/true);
    EXPECT_EQ(child->Wait(kBound), 0);
    EXPECT_NE(child->Output().find("%A = cancelled\n"), std::string::npos) << child->Output();
}

TEST_F(OrdwellProgram, MissingMacroFileShowsNothing) {
    const Result result = Run({"/r", "missing.ow"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.output, "");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "macerr.log"));
}

TEST_F(OrdwellProgram, TheEditorWithoutADisplaySaysSoAndRunsNothing) {
    WriteMacro("macro.ow", "WriteToFile(ran.txt,yes)\n");
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"macro.ow"}, {"/R", "macro.ow"}, {"/r"}}) {
        const Result result = Run(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.errors.find("needs a display"), std::string::npos) << result.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "ran.txt"));
}

TEST_F(OrdwellProgram, HelpAndVersionEndWell) {
    const Result help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("ordwell /r MACRO"), std::string::npos) << help.output;
    const Result shortHelp = Run({"-h"});
    EXPECT_EQ(shortHelp.status, 0);
    EXPECT_EQ(shortHelp.output, help.output);
    const Result version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.output, std::regex("ordwell [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.output;
}

TEST_F(OrdwellProgram, AnUnknownOptionIsRefusedWithTheUsage) {
    WriteMacro("macro.ow", "WriteToFile(ran.txt,yes)\n");
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--no-such-option"}, {"--list-all"}, {"/r", "macro.ow", "-z"}}) {
        const Result result = Run(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.output, "");
        EXPECT_NE(result.errors.find("unknown option '" + arguments.back() + "'"), std::string::npos) << result.errors;
        EXPECT_NE(result.errors.find("Usage: ordwell"), std::string::npos) << result.errors;
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir / "ran.txt"));
}

TEST_F(OrdwellProgram, FlowControlAndVariablesRunToTheEnd) {
    WriteMacro("inner.ow", "PutVar(%I,inner ran)\r\nExitMacro()\r\nPutVar(%I,too far)\r\n");
    const Result result = RunMacro("// counts, jumps and a nested macro\n"
                                   "PutVar(%A,start)\n"
                                   "PutVar(%N,0)\n"
                                   "For(0,5,Increment(%N))\n"
                                   "Repeat(Decrement(%N),2)\n"
                                   "GoTo(Skip)\n"
                                   "PutVar(%A,not skipped)\n"
                                   ":Skip\n"
                                   "If(!ResponseOk(),PutVar(%B,no box yet),PutVar(%B,wrong))\n"
                                   "OnError(Recover)\n"
                                   "Unknown()\n"
                                   "PutVar(%C,not recovered)\n"
                                   ":Recover\n"
                                   "RunMacro(inner.ow)\n"
                                   "While(!ResponseCancel(),MessageBoxOkCancel(\"Again?\"))\n"
                                   "PutVar(%Z,\"end, reached\")\n"
                                   "Dump()\n",
                                   "ok\n\nno\n");
    EXPECT_EQ(result.status, 0) << result.output;
    for (const char* expected :
         {"%A = start\n", "%B = no box yet\n", "%C = \n", "%I = inner ran\n", "%N = 3\n", "%Z = end, reached\n"}) {
        EXPECT_NE(result.output.find(expected), std::string::npos) << expected << " in:\n" << result.output;
    }
    // OK twice, then Cancel: three boxes.
    size_t boxes = 0;
    for (size_t at = result.output.find("[Ordwell] Again?"); at != std::string::npos;
         at = result.output.find("[Ordwell] Again?", at + 1)) {
        ++boxes;
    }
    EXPECT_EQ(boxes, 3U);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "macerr.log"));
}

TEST_F(OrdwellProgram, DumpPrintsAllTwentySixVariables) {
    const Result result = RunMacro("PutVar(%A,first)\nPutVar(%Z,last)\nDump()\n");
    EXPECT_EQ(result.status, 0);
    std::string expected = "[Contents of Variables]\n%A = first\n";
    for (char letter = 'B'; letter < 'Z'; ++letter) {
        expected += std::string("%") + letter + " = \n";
    }
    expected += "%Z = last\n";
    EXPECT_EQ(result.output, expected);
}

TEST_F(OrdwellProgram, FailedLineIsLoggedAndEndsTheRun) {
    const Result result = RunMacro("DoNothing()\n\n// a comment\nFileExst(\"x\")\nPutVar(%A,too far)\nDump()\n");
    EXPECT_EQ(result.status, 1);
    const std::string log = ReadFile("macerr.log");
    EXPECT_TRUE(std::regex_match(log, std::regex(R"(\d\d/\d\d/\d\d \d\d:\d\d:\d\d Error at line: 4\r\n)"))) << log;
    EXPECT_NE(result.output.find("Error at line: 4"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("too far"), std::string::npos);
    // Standard error says why, in the form of a check.
    EXPECT_NE(result.errors.find("macro.ow:4:1: error: unknown command \"FileExst\"\n"), std::string::npos)
        << result.errors;
}

TEST_F(OrdwellProgram, ListWindowsWithoutADisplaySaysSo) {
    const Result result = Run({"--list-windows"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.errors.find("--list-windows needs a display"), std::string::npos) << result.errors;
    EXPECT_EQ(result.output, "");
}

TEST_F(OrdwellProgram, CheckListsWhatWouldFailAndRunsNothing) {
    WriteMacro("bad.ow", "#!/usr/bin/env -S ordwell /r\nWriteToFile(\"ran.txt\",\"x\")\n"
                         "MessageBox(\"a\",\"b\")\nSendKeys(\"{entr}\")\n");
    WriteMacro("good.ow", "SendKeys(\"{enter}\")\nGoTo(end)\n:End\n");
    WriteMacro("warned.ow", "Delay(5s)\n");
    const Result bad = Run({"--check", "good.ow", "bad.ow"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.output, "bad.ow:3:1: error: MessageBox takes 1 argument, 2 given\n"
                          "bad.ow:4:11: warning: \"entr\" is no key name: its first character is typed instead\n");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "ran.txt"));
    const Result good = Run({"--check", "good.ow"});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.output, "");
    EXPECT_EQ(Run({"--check", "warned.ow"}).status, 0);
    const Result missing = Run({"--check", "good.ow", "missing.ow", "bad.ow"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.errors.find("missing.ow does not exist"), std::string::npos) << missing.errors;
    EXPECT_EQ(Run({"--check"}).status, 2);
}

TEST_F(OrdwellProgram, BoxesReadTheirAnswersFromStandardInput) {
    struct Row {
        std::string input;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"", "%A = cancel\n%N = \n"}, // end of input answers Cancel at once
        {"ok\nAnn Smith\n", "%A = ok\n%N = Ann Smith\n"},
        {"cancel\n", "%A = cancel\n%N = \n"},
    };
    for (const Row& row : rows) {
        const Result result = RunMacro("MessageBoxOkCancel(\"Go on?\")\n"
                                       "If(ResponseCancel(),PutVar(%A,cancel),PutVar(%A,ok))\n"
                                       "InputBox(\"Name?\",%N)\n"
                                       "Dump()\n",
                                       row.input);
        EXPECT_EQ(result.status, 0);
        const size_t a = result.output.find("%A = ");
        const size_t n = result.output.find("%N = ");
        ASSERT_NE(a, std::string::npos) << result.output;
        ASSERT_NE(n, std::string::npos) << result.output;
        const auto line = [&result](size_t at) {
            return result.output.substr(at, result.output.find('\n', at) - at + 1);
        };
        EXPECT_EQ(line(a) + line(n), row.expected) << "input: " << row.input;
    }
}

TEST_F(OrdwellProgram, StopSignalsEndLoopsAndWaits) {
    struct Row {
        int signal;
        std::string macro;
    };
    const std::vector<Row> rows = {
        {SIGINT, "MessageBox(\"started\")\n:Top\nGoTo(Top)\n"},
        {SIGTERM, "MessageBox(\"started\")\n:Top\nGoTo(Top)\n"},
        {SIGINT, "MessageBox(\"started\")\nDelay(\"\")\nMessageBox(\"after\")\n"},
        {SIGTERM, "MessageBox(\"started\")\nDelay(-1)\nMessageBox(\"after\")\n"},
        // A box waiting for an answer is cancelled too, and the run then ends.
        {SIGINT, "MessageBox(\"started\")\nInputBox(\"Name?\",%N)\nMessageBox(\"after\")\n"},
    };
    for (const Row& row : rows) {
        WriteMacro("macro.ow", row.macro);
        auto child = Start({"/r", "macro.ow"}, {}, /*keepInputOpen=*/true);
        ASSERT_TRUE(child->WaitForOutput(
            [](const std::string& output) { return output.find("started") != std::string::npos; }, kBound))
            << row.macro << child->Output() << child->Errors();
        child->Signal(row.signal);
        EXPECT_EQ(child->Wait(kBound), 0) << row.macro;
        EXPECT_EQ(child->Output().find("after"), std::string::npos) << row.macro;
    }
}

TEST_F(OrdwellProgram, StopSignalsEndAWaitForAFileAnotherProgramHolds) {
    for (const int signal : {SIGINT, SIGTERM}) {
        ForkedChild holder;
        holder.Start([&] {
            const int fd = ::open((m_dir / "held.log").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0) {
                return 1;
            }
            holder.Report();
            for (;;) {
                ::pause();
            }
        });
        ASSERT_TRUE(holder.AwaitReport());
        WriteMacro("macro.ow", "MessageBox(\"started\")\nLogToFile(held.log,x)\nMessageBox(\"after\")\n");
        auto child = Start({"/r", "macro.ow"}, {}, /*keepInputOpen=*/true);
        ASSERT_TRUE(child->WaitForOutput(
            [](const std::string& output) { return output.find("started") != std::string::npos; }, kBound));
        child->Signal(signal);
        // The wait for the lock would give up by itself only after seconds.
        EXPECT_EQ(child->Wait(2s), 0);
        EXPECT_EQ(child->Output().find("after"), std::string::npos);
    }
}

TEST_F(OrdwellProgram, ExampleMacroRunsWithoutInput) {
    const Result result = Run({"/r", ORDWELL_EXAMPLES_DIR "/hello.ow"});
    EXPECT_EQ(result.status, 0) << result.output << result.errors;
    EXPECT_NE(result.output.find("[Contents of Variables]"), std::string::npos) << result.output;
    EXPECT_FALSE(std::filesystem::exists(m_dir / "macerr.log"));
}

// Each command records T or F into out.txt.
constexpr const char* kDdeMacro =
    "If(DdeCommand(Shop,System,[Hello]),WriteToFile(out.txt,T),WriteToFile(out.txt,F))\n"
    "If(DdeScript(Shop,System,script.txt),WriteToFile(out.txt,T),WriteToFile(out.txt,F))\n"
    "If(DdeCommand(Shop,Other,[Hello]),WriteToFile(out.txt,T),WriteToFile(out.txt,F))\n";

TEST_F(OrdwellProgram, DdeWithoutASessionBusAnswersFalseAtOnce) {
    WriteMacro("script.txt", "[one]\n");
    // A hundred commands that each waited for a timeout would outlast the
    // bound of the run.
    const Result result = RunMacro(
        std::string("For(0,100,If(DdeCommand(Shop,System,x),WriteToFile(out.txt,T),WriteToFile(out.txt,F)))\n") +
        kDdeMacro + "WriteToFile(out.txt,.)\n");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(ReadFile("out.txt"), std::string(103, 'F') + ".");
}

TEST_F(OrdwellProgram, DdeReachesAServerOnTheSessionBus) {
    PrivateSessionBus bus;
    ASSERT_FALSE(bus.Address().empty()) << bus.Errors();
    DdeTestServer server(bus, {"--refuse", "[two]", "Shop", "System"});
    ASSERT_TRUE(server.Ready()) << server.Output();
    SetEnvironment(bus.Environment());
    WriteMacro("script.txt", "[one]\r\n\r\n[two]\r\n[three]");
    const Result result = RunMacro(kDdeMacro);
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(ReadFile("out.txt"), "TTF");
    EXPECT_EQ(server.Records(4), "System: [Hello]\nSystem: [one]\nSystem: [two]\nSystem: [three]\n");
}

} // namespace
} // namespace ordwell::test
