// Starting programs and waiting for them, on real processes: stand-in
// programs on PATH record how they were started.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "OrdwellProgram.h"

namespace ordwell::test {
namespace {

class ProgramCommands : public OrdwellProgram {
protected:
    ProgramCommands() {
        std::filesystem::create_directories(m_dir / "bin");
        SetEnvironment("PATH", (m_dir / "bin").string() + ":/usr/bin:/bin");
        // Each stand-in appends a line of its name and its arguments to a
        // log in the test's folder, in one write.
        WriteProgram("bin/tool", "line=$(basename \"$0\")\n"
                                 "for word; do line=\"$line [$word]\"; done\n"
                                 "printf '%s\\n' \"$line\" >> started.log\n");
        std::filesystem::copy_file(m_dir / "bin/tool", m_dir / "bin/xdg-open");
        std::filesystem::copy_file(m_dir / "bin/tool", m_dir / "bin/lp");
        // Runs until the test writes a line into release.fifo, then leaves
        // a file "ended" behind. It lets go of the output ordwell hands on,
        // so that the test sees the end of ordwell's output while it runs.
        ::mkfifo((m_dir / "release.fifo").c_str(), 0600);
        WriteProgram("bin/waiter", "exec >/dev/null 2>&1\nread line < release.fifo\necho done > ended\n");
    }

    void WriteProgram(const std::string& name, const std::string& body) const {
        WriteMacro(name, "#!/bin/sh\n" + body);
        std::filesystem::permissions(m_dir / name, std::filesystem::perms::owner_all);
    }
    // Ends a waiter started by a macro.
    void ReleaseWaiter() const {
        const int fd = ::open((m_dir / "release.fifo").c_str(), O_WRONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::write(fd, "go\n", 3), 3);
        ::close(fd);
    }
    // Waits until the file has the content, as programs the macro started
    // may still be writing it when the run has ended.
    bool AwaitFile(const std::string& name, const std::string& content) const {
        return AwaitFile(name, [&](const std::string& text) { return text == content; });
    }
    bool AwaitFile(const std::string& name, const std::function<bool(const std::string&)>& ready) const {
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        while (!ready(ReadFile(name))) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }
    static bool Shows(const std::string& text, const std::string& output) {
        return output.find(text) != std::string::npos;
    }
};

TEST_F(ProgramCommands, StylesStartTheProgramAndAWrongOneStartsNothing) {
    WriteMacro("macro.ow", "If(RunProgram(\"tool 1\"),MessageBox(\"one\"))\n"
                           "If(RunProgram(\"tool 2\",\"Normal\"),MessageBox(\"Normal\"))\n"
                           "If(RunProgram(\"tool 3\",\"Minimized\"),MessageBox(\"Minimized\"))\n"
                           "If(RunProgram(\"tool 4\",\"Maximized\"),MessageBox(\"Maximized\"))\n"
                           "If(RunProgram(\"tool 5\",\"Hidden\"),MessageBox(\"Hidden\"))\n"
                           "If(!RunProgram(no-such-program),MessageBox(\"not found\"))\n"
                           "RunProgram(waiter)\n"
                           // A style in other letter case or an empty one
                           // starts nothing and keeps the waiter as the
                           // program started last.
                           "If(!RunProgram(\"tool 6\",\"minimized\"),MessageBox(\"refused\"))\n"
                           "If(!RunProgram(\"tool 7\",\"\"),MessageBox(\"refused\"))\n"
                           "MessageBox(\"waiting\")\n"
                           "WaitForProgram()\n"
                           "If(FileExist(ended),MessageBox(\"waited for the waiter\"))\n");
    auto child = Start({"/r", "macro.ow"});
    ASSERT_TRUE(child->WaitForOutput([](const std::string& out) { return Shows("waiting", out); }, kBound))
        << child->Output() << child->Errors();
    ReleaseWaiter();
    ASSERT_EQ(child->Wait(kBound), 0) << child->Output() << child->Errors();
    for (const char* expected : {"one", "Normal", "Minimized", "Maximized", "Hidden", "not found",
                                 "refused\n[Ordwell] refused", "waited for the waiter"}) {
        EXPECT_TRUE(Shows(std::string("[Ordwell] ") + expected + "\n", child->Output())) << expected << " in:\n"
                                                                                         << child->Output();
    }
    // Each program ran once; their order is theirs.
    EXPECT_TRUE(AwaitFile("started.log", [](const std::string& text) { return std::ranges::count(text, '\n') >= 5; }));
    const std::string log = ReadFile("started.log");
    for (const char* line : {"tool [1]\n", "tool [2]\n", "tool [3]\n", "tool [4]\n", "tool [5]\n"}) {
        EXPECT_TRUE(Shows(line, log)) << log;
    }
    EXPECT_EQ(log.size(), 5 * std::string("tool [1]\n").size()) << log;
}

TEST_F(ProgramCommands, CommandLinesSplitIntoProgramAndWordsWithoutAShell) {
    std::filesystem::create_directories(m_dir / "my dir");
    std::filesystem::copy_file(m_dir / "bin/tool", m_dir / "my dir/tool");
    WriteMacro("my", "a file that is no program");
    const Result result = RunMacro(
        // A quoted program path with spaces.
        "RunProgram(\"\"my dir/tool\" a1 \"b 2\"\")\n"
        "WaitForProgram()\n"
        // No quotes: "my" is no program, "my dir/tool" is.
        "RunProgram(\"my dir/tool a1 b2\")\n"
        "WaitForProgram()\n"
        // Words as a shell splits them, and nothing a shell would do.
        "RunProgram(\"tool a;touch x 'single quoted' \"$HOME\" `id` *\")\n"
        "WaitForProgram()\n");
    ASSERT_EQ(result.status, 0) << result.output << result.errors;
    EXPECT_TRUE(AwaitFile("started.log", "tool [a1] [b 2]\n"
                                         "tool [a1] [b2]\n"
                                         "tool [a;touch] [x] [single quoted] [$HOME] [`id`] [*]\n"))
        << ReadFile("started.log");
    EXPECT_FALSE(std::filesystem::exists(m_dir / "x"));
}

TEST_F(ProgramCommands, DocumentsOpenAndPrintThroughTheirServices) {
    WriteMacro("report.txt", "text");
    WriteMacro("-n.txt", "text");
    const Result result = RunMacro("If(RunProgram(report.txt),MessageBox(\"opened\"))\n"
                                   "WaitForProgram()\n"
                                   "If(Print(report.txt,\"\"),MessageBox(\"printed\"))\n"
                                   "WaitForProgram()\n"
                                   "If(Print(-n.txt,\"Hidden\",ignored),MessageBox(\"printed\"))\n"
                                   "WaitForProgram()\n"
                                   "If(!RunProgram(missing.txt),MessageBox(\"no document\"))\n"
                                   "If(!Print(missing.txt),MessageBox(\"nothing to print\"))\n"
                                   "If(!Print(report.txt,\"hidden\"),MessageBox(\"wrong style\"))\n");
    ASSERT_EQ(result.status, 0) << result.output << result.errors;
    EXPECT_TRUE(Shows("[Ordwell] opened\n[Ordwell] printed\n[Ordwell] printed\n[Ordwell] no document\n"
                      "[Ordwell] nothing to print\n[Ordwell] wrong style\n",
                      result.output))
        << result.output;
    EXPECT_EQ(ReadFile("started.log"), "xdg-open [report.txt]\nlp [report.txt]\nlp [./-n.txt]\n");
}

TEST_F(ProgramCommands, DosCommandsRunThroughTheShell) {
    const Result result = RunMacro("If(RunDOSCommand(\"echo hi | tr a-z A-Z > out.txt\"),MessageBox(\"ran\"))\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_TRUE(Shows("[Ordwell] ran\n", result.output)) << result.output;
    EXPECT_TRUE(AwaitFile("out.txt", "HI\n")) << ReadFile("out.txt");

    // $SHELL is the interpreter when it is set.
    WriteProgram("bin/myshell", "printf '%s|' \"$@\" > shell.log\n");
    SetEnvironment("SHELL", (m_dir / "bin/myshell").string());
    ASSERT_EQ(RunMacro("RunDOSCommand(\"dir > list.txt\")\n").status, 0);
    EXPECT_TRUE(AwaitFile("shell.log", "-c|dir > list.txt|")) << ReadFile("shell.log");
}

TEST_F(ProgramCommands, WaitForProgramTimesOutAndWaitsAgain) {
    WriteMacro("macro.ow", "RunProgram(waiter)\n"
                           "If(WaitForProgram(500),MessageBox(\"ended\"),MessageBox(\"timed out\"))\n"
                           "If(WaitForProgram(),MessageBox(\"waited\"))\n"
                           "If(FileExist(ended),MessageBox(\"the waiter had ended\"))\n"
                           "If(WaitForProgram(),MessageBox(\"nothing to wait for\"))\n");
    const auto started = std::chrono::steady_clock::now();
    auto child = Start({"/r", "macro.ow"});
    ASSERT_TRUE(child->WaitForOutput([](const std::string& out) { return Shows("[Ordwell] ", out); }, kBound))
        << child->Errors();
    const auto answered = std::chrono::steady_clock::now();
    EXPECT_EQ(child->Output(), "[Ordwell] timed out\n");
    // A bound of correctness, not of speed: the wait did wait.
    EXPECT_GE(answered - started, 500ms);
    ReleaseWaiter();
    ASSERT_EQ(child->Wait(kBound), 0) << child->Errors();
    EXPECT_EQ(child->Output(), "[Ordwell] timed out\n[Ordwell] waited\n[Ordwell] the waiter had ended\n"
                               "[Ordwell] nothing to wait for\n");
}

TEST_F(ProgramCommands, StopSignalsEndAWaitForAProgram) {
    for (const int signal : {SIGINT, SIGTERM}) {
        WriteMacro("macro.ow",
                   "RunProgram(waiter)\nMessageBox(\"started\")\nWaitForProgram()\nMessageBox(\"after\")\n");
        auto child = Start({"/r", "macro.ow"});
        ASSERT_TRUE(child->WaitForOutput([](const std::string& out) { return Shows("started", out); }, kBound));
        child->Signal(signal);
        // The waiter never ends by itself: only the stop ends the wait.
        EXPECT_EQ(child->Wait(kBound), 0) << signal;
        EXPECT_FALSE(Shows("after", child->Output())) << child->Output();
        EXPECT_FALSE(std::filesystem::exists(m_dir / "macerr.log"));
        // The program the macro started is not ended by the stop.
        EXPECT_FALSE(std::filesystem::exists(m_dir / "ended"));
        ReleaseWaiter();
        EXPECT_TRUE(AwaitFile("ended", "done\n"));
        std::filesystem::remove(m_dir / "ended");
    }
}

// The processes whose parent is `pid`, zombies included.
std::vector<std::string> ChildrenOf(int pid) {
    std::vector<std::string> children;
    DIR* proc = ::opendir("/proc");
    while (const dirent* entry = proc != nullptr ? ::readdir(proc) : nullptr) {
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line)) {
            continue;
        }
        // pid (comm) state ppid ...: the name may hold spaces and parentheses.
        std::istringstream rest(line.substr(line.rfind(')') + 1));
        std::string state;
        int parent = 0;
        rest >> state >> parent;
        if (parent == pid) {
            children.push_back(line.substr(0, line.rfind(')') + 1) + " " + state);
        }
    }
    if (proc != nullptr) {
        ::closedir(proc);
    }
    return children;
}

TEST_F(ProgramCommands, ProgramsNobodyWaitsForLeaveNoZombies) {
    WriteMacro("macro.ow", "Repeat(RunProgram(true),100)\nRepeat(RunDOSCommand(true),100)\n"
                           "MessageBox(\"started\")\nDelay(-1)\n");
    auto child = Start({"/r", "macro.ow"});
    ASSERT_TRUE(child->WaitForOutput([](const std::string& out) { return Shows("started", out); }, kBound));
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    std::vector<std::string> left = ChildrenOf(child->Pid());
    while (!left.empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
        left = ChildrenOf(child->Pid());
    }
    EXPECT_TRUE(left.empty()) << testing::PrintToString(left);
    child->Signal(SIGTERM);
    EXPECT_EQ(child->Wait(kBound), 0);
}

// Every program left running holds a descriptor of ordwell's: 1,100 of them,
// under the usual soft limit of 1,024 descriptors, leave the file commands
// their descriptors.
TEST_F(ProgramCommands, ProgramsLeftRunningLeaveDescriptorsForFiles) {
    constexpr int kPrograms = 1100;
    WriteProgram("bin/sleeper", "exec >/dev/null 2>&1\necho $$ >> pids.log\nexec sleep 1000\n");
    WriteMacro("macro.ow",
               "Repeat(RunProgram(sleeper)," + std::to_string(kPrograms) +
                   ")\n"
                   "If(LogToFile(log.txt,written),WriteToFile(result.txt,TRUE),WriteToFile(result.txt,FALSE))\n"
                   "If(WriteToIniFile(a.ini,[s]e,v),WriteToFile(ini.txt,TRUE),WriteToFile(ini.txt,FALSE))\n");
    ChildProcess child("/usr/bin/prlimit", {"--nofile=1024:4096", ORDWELL_EXECUTABLE, "/r", "macro.ow"},
                       ProgramOptions());
    const std::optional<int> status = child.Wait(kBound);
    // The sleepers end here, whatever the run did.
    const bool allStarted =
        AwaitFile("pids.log", [](const std::string& text) { return std::ranges::count(text, '\n') == kPrograms; });
    std::istringstream pids(ReadFile("pids.log"));
    for (pid_t pid = 0; pids >> pid;) {
        ::kill(pid, SIGKILL);
    }
    EXPECT_EQ(status, 0) << child.Errors();
    EXPECT_TRUE(allStarted);
    EXPECT_EQ(ReadFile("result.txt"), "TRUE");
    EXPECT_EQ(ReadFile("ini.txt"), "TRUE");
}

} // namespace
} // namespace ordwell::test
