// The ordwell program on macros that push it to its limits: lines nested far
// deeper than any stack, a macro that calls itself, lines of a megabyte,
// files of binary junk and files it may not read. None may crash it, hang
// it or lose what it has written.
//
// The rest of the robustness cases live beside the code they concern:
//   folders, FIFOs and devices as macro files: OrdwellProgram.ExitStatusSaysHowTheRunEnded,
//     OrdwellProgram.SpecialFilesAreNoMacros;
//   two processes appending to one log, two writing one registry store, a
//     writer killed mid-way: ConcurrentWriters.* (tests/actions);
//   four programs starting together on a fresh store:
//     ConcurrentPrograms.FourProgramsStartedTogetherOnAFreshStoreKeepEveryValue;
//   a stop during a long SendKeys leaves no key down:
//     X11Typing.AStopEndsALongTextBeforeTheNextItemAndLeavesNoKeyDown,
//     X11Typing.TheProgramEndedByASignalMidTextLeavesNothingPressedOrChanged;
//   a stop reaching a loop that never waits, and a wait for a program:
//     OrdwellProgram.StopSignalsEndLoopsAndWaits, ProgramCommands.StopSignalsEndAWaitForAProgram.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "OrdwellProgram.h"

namespace ordwell::test {
namespace {

using Robustness = OrdwellProgram;

bool Mentions(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(Robustness, ALineNestedTwentyThousandLevelsDeepRunsOrFailsAsALine) {
    std::string line = "WriteToFile(deep.txt,reached)";
    for (int i = 0; i < 20000; ++i) {
        line = "If(DoNothing()," + line + ")";
    }
    const Result result = RunMacro("OnError(Handler)\n" + line + "\n:Handler\nWriteToFile(after.txt,yes)\n");
    EXPECT_EQ(result.status, 0) << result.errors;
    // However deep the stack of the build lets it go, the run goes on.
    EXPECT_EQ(ReadFile("after.txt"), "yes");
    if (ReadFile("deep.txt") != "reached") {
        EXPECT_TRUE(Mentions(result.errors, "nested too deeply")) << result.errors;
    }
}

TEST_F(Robustness, AMacroThatCallsItselfEndsOnlyItsInnermostCall) {
    WriteMacro("self.ow", "Increment(%A)\nRunMacro(self.ow)\n");
    const Result result = RunMacro("RunMacro(self.ow)\nIfMoreThan(%A,1000,WriteToFile(after.txt,yes))\n");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(ReadFile("after.txt"), "yes");
    EXPECT_TRUE(Mentions(result.errors, "nested too deeply")) << result.errors;
    // Only the innermost call failed, at its first line (the one that found
    // no stack left): one error, and every call around it went on.
    EXPECT_EQ(result.output, "[Ordwell] Error at line: 1\n");
}

TEST_F(Robustness, LinesOfAMegabyteAreReadWhole) {
    constexpr std::size_t kMegabyte = std::size_t{1} << 20;
    const std::string value(kMegabyte, 'x');
    // A value kept and written whole; a text of a million modifiers, each
    // held around the next (deeper than any stack); a million parentheses
    // that never close.
    const Result result =
        RunMacro("PutVar(%A," + value + ")\nWriteToFile(big.txt,%A)\n" + "SendKeys(\"" + std::string(kMegabyte, '+') +
                 "a\")\n" + "OnError(Next)\n" + std::string(kMegabyte, '(') + "\n:Next\nWriteToFile(after.txt,yes)\n");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(ReadFile("big.txt"), value);
    EXPECT_EQ(ReadFile("after.txt"), "yes");
}

TEST_F(Robustness, AFileOfBinaryJunkFailsAtItsFirstCommand) {
    std::mt19937 random(20240613);
    std::string junk;
    for (int i = 0; i < (1 << 20); ++i) {
        junk += static_cast<char>(random() & 0xFF);
    }
    WriteMacro("junk.ow", junk);
    const Result result = Run({"/r", "junk.ow"});
    // Junk has no known command: its first line that is neither blank, a
    // label nor a comment fails the run.
    EXPECT_EQ(result.status, 1) << result.errors;
    EXPECT_TRUE(Mentions(result.output, "Error at line: ")) << result.output.substr(0, 200);
    EXPECT_TRUE(Mentions(ReadFile("macerr.log"), "Error at line: "));
}

TEST_F(Robustness, AMacroFileThatCannotBeReadIsRefused) {
    WriteMacro("locked.ow", "WriteToFile(ran.txt,yes)\n");
    ASSERT_EQ(::chmod((m_dir / "locked.ow").c_str(), 0), 0);
    WriteMacro("macro.ow", "If(!RunMacro(locked.ow),WriteToFile(refused.txt,yes))\n");
    std::vector<std::string> command = {ORDWELL_EXECUTABLE};
    if (::geteuid() == 0) {
        // Root reads every file: the program runs as nobody instead, in a
        // folder nobody may use.
        if (::access("/usr/bin/setpriv", X_OK) != 0) {
            GTEST_SKIP() << "running as root without setpriv: a file root cannot read cannot be made";
        }
        std::filesystem::permissions(m_dir, std::filesystem::perms::all);
        command = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--", ORDWELL_EXECUTABLE};
    }
    const auto run = [&](const std::string& macro) {
        std::vector<std::string> arguments(command.begin() + 1, command.end());
        arguments.insert(arguments.end(), {"/r", macro});
        ChildProcess child(command.front(), arguments, ProgramOptions());
        Result result;
        result.status = child.Wait(kBound);
        result.errors = child.Errors();
        return result;
    };
    const Result direct = run("locked.ow");
    if (direct.status == 0 && ReadFile("ran.txt") == "yes") {
        GTEST_SKIP() << "the program could read a file without read permission (no user without that right)";
    }
    EXPECT_EQ(direct.status, 2) << direct.errors;
    EXPECT_TRUE(Mentions(direct.errors, "cannot be read")) << direct.errors;
    const Result nested = run("macro.ow");
    EXPECT_EQ(nested.status, 0) << nested.errors;
    EXPECT_EQ(ReadFile("refused.txt"), "yes");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "ran.txt"));
}

// The system ends a name at its first NUL byte: a path cut there would name
// another file ("keep" for "keep\0.bak"). A NUL comes in through the macro
// file itself or through a variable.
TEST_F(Robustness, APathOrArgumentHoldingANulTouchesNothing) {
    const std::string nul(1, '\0');
    namespace fs = std::filesystem;
    WriteFile("keep", "kept");
    WriteFile("ro", "read-only");
    ASSERT_EQ(::chmod((m_dir / "ro").c_str(), 0444), 0);
    WriteFile("ini", "[s]\ne=v\n");
    WriteFile("keys", "abc");
    WriteFile("script", "[x]\n");
    WriteMacro("sub.ow", "WriteToFile(ran.txt,yes)\n");
    fs::create_directory(m_dir / "sub");
    fs::create_directory(m_dir / "emptydir");
    // Old enough for FileOlderThan of the cut name to be TRUE.
    fs::last_write_time(m_dir / "keep", fs::file_time_type::clock::now() - std::chrono::hours(48));
    const std::vector<std::string> lines = {
        "SetDirectory(sub" + nul + "x)",
        "DeleteFile(keep" + nul + ".bak)",
        "PutVar(%A,keep" + nul + ".bak)",
        "DeleteFile(%A)",
        "CopyFile(keep" + nul + "x,copy)",
        "CopyFile(keep,copy" + nul + "x)",
        "MoveFile(keep" + nul + "x,moved)",
        "MoveFile(keep,moved" + nul + "x)",
        "CreateDirectory(newdir" + nul + "x)",
        "RemoveDirectory(emptydir" + nul + "x)",
        "FileExist(keep" + nul + "x)",
        "FileOlderThan(keep" + nul + "x,60)",
        "FindFile(keep" + nul + "x,.,%B)",
        "FindFile(keep,." + nul + "x,%B)",
        "GetFileSize(keep" + nul + "x,%B)",
        "GetFromIniFile(ini" + nul + "x,[s]e,%B)",
        "WriteToIniFile(ini" + nul + "x,[s]e,changed)",
        "IsFileLocked(ro" + nul + "x)",
        "LogSystem(log" + nul + "x,Date)",
        "LogToFile(log" + nul + "x,text)",
        "WriteLineToFile(log" + nul + "x,text)",
        "WriteToFile(log" + nul + "x,text)",
        "OpenFile(0,keep" + nul + "x)",
        "PlaySound(keep" + nul + "x)",
        "Print(keep" + nul + "x)",
        "RunMacro(sub.ow" + nul + "x)",
        "SendKeysFromFile(keys" + nul + "x)",
        "DdeScript(app,topic,script" + nul + "x)",
        "RunProgram(/usr/bin/touch made" + nul + "x)",
        "RunProgram(/usr/bin/touch" + nul + "x made)",
        "RunDOSCommand(/usr/bin/touch made" + nul + "x)",
    };
    std::string macro;
    std::string expected;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        if (lines[i].starts_with("PutVar")) {
            macro += lines[i] + "\n";
            continue;
        }
        macro += "If(" + lines[i] + ",WriteLineToFile(results.txt," + number + " TRUE),WriteLineToFile(results.txt," +
                 number + " FALSE))\n";
        expected += number + " FALSE\r\n";
    }
    const Result result = RunMacro(macro);
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_TRUE(Mentions(result.errors, "NUL")) << result.errors;
    EXPECT_EQ(ReadFile("results.txt"), expected);
    EXPECT_EQ(ReadFile("keep"), "kept");
    EXPECT_EQ(ReadFile("ini"), "[s]\ne=v\n");
    EXPECT_TRUE(fs::exists(m_dir / "emptydir"));
    for (const char* name : {"copy", "moved", "newdir", "log", "ran.txt", "sub/results.txt"}) {
        EXPECT_FALSE(fs::exists(m_dir / name)) << name;
    }
}

// With no display no key can be typed: a send command answers FALSE at once,
// instead of pausing the key delay after each of its characters.
TEST_F(Robustness, SendKeysWithNoDisplayAnswersFalseAtOnce) {
    const std::string text(100000, 'x');
    WriteFile("keys.txt", text + "\n" + text + "\n");
    std::string macro;
    for (const std::string& line : {"SendKeys(\"" + text + "\")", std::string("SendKeysFromFile(keys.txt)")}) {
        macro += "If(" + line + ",WriteLineToFile(results.txt,TRUE),WriteLineToFile(results.txt,FALSE))\n";
    }
    const Result result = RunMacro(macro);
    ASSERT_TRUE(result.status.has_value()) << "still typing after " << kBound.count() << " seconds";
    EXPECT_EQ(*result.status, 0) << result.errors;
    EXPECT_EQ(ReadFile("results.txt"), "FALSE\r\nFALSE\r\n");
}

// 20,000 references to a variable of 100 KB would expand to 2 GB: more than
// a send command takes, and more than the memory the program may have.
TEST_F(Robustness, AnEnvironmentExpansionTooLargeAnswersFalse) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer needs more address space than the limit leaves";
#endif
    SetEnvironment("BIG", std::string(100000, 'x'));
    std::string references;
    for (int i = 0; i < 20000; ++i) {
        references += "%BIG%";
    }
    WriteMacro("macro.ow", "If(SendEnvironment(\"" + references +
                               "\"),WriteToFile(result.txt,TRUE),WriteToFile(result.txt,FALSE))\n"
                               "WriteToFile(after.txt,yes)\n");
    std::vector<std::string> arguments = {"--as=1073741824", ORDWELL_EXECUTABLE, "/r", "macro.ow"};
    ChildProcess child("/usr/bin/prlimit", arguments, ProgramOptions());
    EXPECT_EQ(child.Wait(kBound), 0) << child.Errors();
    EXPECT_EQ(ReadFile("result.txt"), "FALSE");
    EXPECT_EQ(ReadFile("after.txt"), "yes");
}

// A store whose folder takes no new file (read-only here; a full disk does
// the same) cannot keep the log SQLite keeps beside it: its values are still
// read, writes answer FALSE, and one message says why.
TEST_F(Robustness, AStoreInAReadOnlyFolderIsStillRead) {
    namespace fs = std::filesystem;
    const std::string key = "HKEY_CURRENT_USER\\Software\\Kept";
    const Result written = RunMacro("WriteToRegistry(" + key + ",Value,stored)\n");
    ASSERT_EQ(written.status, 0) << written.errors;
    const fs::path folder = m_dir / "config" / "ordwell";
    ASSERT_TRUE(fs::exists(folder / "registry.sqlite"));
    WriteMacro("macro.ow", "GetFromRegistry(" + key + ",Value,%A)\nWriteToFile(read.txt,%A)\nIf(WriteToRegistry(" +
                               key + ",Value,changed),WriteToFile(write.txt,TRUE),WriteToFile(write.txt,FALSE))\n");
    std::vector<std::string> command = {ORDWELL_EXECUTABLE};
    if (::geteuid() == 0) {
        // Root writes into any folder: the run is nobody's, and so are the
        // store and its folder (a user's own, made read-only).
        if (::access("/usr/bin/setpriv", X_OK) != 0) {
            GTEST_SKIP() << "running as root without setpriv: a folder root cannot write cannot be made";
        }
        fs::permissions(m_dir, fs::perms::all);
        fs::permissions(m_dir / "config", fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
        ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown((folder / "registry.sqlite").c_str(), 65534, 65534), 0);
        command = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--", ORDWELL_EXECUTABLE};
    }
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(folder, readOnly);
    std::vector<std::string> arguments(command.begin() + 1, command.end());
    arguments.insert(arguments.end(), {"/r", "macro.ow"});
    ChildProcess child(command.front(), arguments, ProgramOptions());
    const std::optional<int> status = child.Wait(kBound);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(status, 0) << child.Errors();
    EXPECT_EQ(ReadFile("read.txt"), "stored");
    EXPECT_EQ(ReadFile("write.txt"), "FALSE");
    const std::string& errors = child.Errors();
    EXPECT_EQ(std::ranges::count(errors, '\n'), 1) << errors;
    EXPECT_TRUE(Mentions(errors, "is read-only (its folder is read-only or full)")) << errors;
}

} // namespace
} // namespace ordwell::test
