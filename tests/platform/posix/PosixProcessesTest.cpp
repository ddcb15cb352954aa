// Programs started on real processes, with the terminal's event pump.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/console/ConsoleEventPump.h"
#include "platform/posix/PosixProcesses.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

constexpr std::uint32_t kBoundMs = 30000;

// Whether this process has no child at all, running or ended.
bool NoChildrenLeft() {
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
}

bool WaitForEnd(EventPump& pump, Process& process) {
    EventPump::EventId watch = 0;
    watch = pump.Watch(process.Handle(), [&] { pump.Cancel(watch); });
    const bool ended = pump.WaitFor(kBoundMs, [&] { return process.HasEnded(); });
    pump.Cancel(watch);
    return ended;
}

TEST(PosixProcesses, ProgramsStartCleanInAGroupOfTheirOwn) {
    TestDesktop desk; // a private current directory
    // What this program does to itself must not reach what it starts.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previousPipe {};
    ::sigaction(SIGPIPE, &ignore, &previousPipe);
    sigset_t blocked;
    sigset_t previousMask;
    ::sigemptyset(&blocked);
    ::sigaddset(&blocked, SIGUSR1);
    ::sigprocmask(SIG_BLOCK, &blocked, &previousMask);
    const int leaked = ::open("/dev/null", O_RDONLY); // no close-on-exec
    ASSERT_GE(leaked, 3);

    ConsoleEventPump pump(-1);
    PosixProcesses processes(pump);
    // grep reads its own state: the shell execs it after the redirection.
    const auto signals = processes.Launch(LaunchVerb::Open, "/bin/sh",
                                          "-c 'exec grep -E \"^Sig(Blk|Ign)\" /proc/self/status > signals.txt'");
    const auto process = processes.Launch(LaunchVerb::Open, "/bin/sh",
                                          "-c 'echo $$ > pid.txt; cut -d\" \" -f5 /proc/$$/stat > group.txt; "
                                          "cat > input.txt; exec ls /proc/self/fd > fds.txt'");

    ::close(leaked);
    ::sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    ::sigaction(SIGPIPE, &previousPipe, nullptr);
    ASSERT_TRUE(signals && process);
    ASSERT_TRUE(WaitForEnd(pump, *signals));
    ASSERT_TRUE(WaitForEnd(pump, *process));
    unsigned long long blockedMask = ~0ULL;
    unsigned long long ignoredMask = ~0ULL;
    ASSERT_EQ(
        std::sscanf(desk.ReadFile("signals.txt").c_str(), "SigBlk:\t%llx\nSigIgn:\t%llx", &blockedMask, &ignoredMask),
        2);
    EXPECT_EQ(blockedMask, 0U);
    // glibc's posix_spawn leaves its two internal signals (32 and 33) ignored;
    // programs never see them.
    EXPECT_EQ(ignoredMask & ~0x180000000ULL, 0U) << std::hex << ignoredMask;
    // 3 is the folder ls reads.
    EXPECT_EQ(desk.ReadFile("fds.txt"), "0\n1\n2\n3\n");
    EXPECT_EQ(desk.ReadFile("group.txt"), desk.ReadFile("pid.txt"));
    EXPECT_EQ(desk.ReadFile("pid.txt"), std::to_string(process->Id()) + "\n");
    EXPECT_EQ(desk.ReadFile("input.txt"), "");
}

TEST(PosixProcesses, EveryChildIsReapedWhetherAnybodyWaitsOrNot) {
    ASSERT_TRUE(NoChildrenLeft());
    ConsoleEventPump pump(-1);
    PosixProcesses processes(pump);
    for (int i = 0; i < 20; ++i) {
        ASSERT_NE(processes.Launch(LaunchVerb::Open, "true", ""), nullptr);
        ASSERT_TRUE(processes.RunCommandLine("exit 3"));
    }
    // One kept and waited for, one kept and never asked.
    const auto waited = processes.Launch(LaunchVerb::Open, "true", "");
    const auto kept = processes.Launch(LaunchVerb::Open, "true", "");
    ASSERT_TRUE(waited && kept);
    ASSERT_TRUE(WaitForEnd(pump, *waited));
    // The pump's watches reap the others as they end.
    EXPECT_TRUE(pump.WaitFor(kBoundMs, NoChildrenLeft));
    EXPECT_TRUE(kept->HasEnded());
}

TEST(PosixProcesses, OnlyExecutableFilesArePrograms) {
    TestDesktop desk;
    std::filesystem::create_directories("bin/folder");
    desk.WriteFile("bin/tool", "#!/bin/sh\n");
    desk.WriteFile("bin/text", "text");
    std::filesystem::permissions("bin/tool", std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (desk.Dir() / "bin").c_str(), 1);
    ConsoleEventPump pump(-1);
    PosixProcesses processes(pump);
    EXPECT_TRUE(processes.IsProgram("tool"));
    EXPECT_TRUE(processes.IsProgram("bin/tool"));
    EXPECT_TRUE(processes.IsProgram((desk.Dir() / "bin/tool").string()));
    for (const char* name : {"", "text", "bin/text", "folder", "bin/folder", "bin", "sh", "no-such"}) {
        EXPECT_FALSE(processes.IsProgram(name)) << name;
    }
    // Nothing is started for a missing document, a program whose parameters
    // a shell could not split, or a missing print service.
    EXPECT_EQ(processes.Launch(LaunchVerb::Open, "missing.txt", ""), nullptr);
    EXPECT_EQ(processes.Launch(LaunchVerb::Open, "tool", "'unclosed"), nullptr);
    EXPECT_EQ(processes.Launch(LaunchVerb::Print, "bin/text", ""), nullptr);
    EXPECT_EQ(processes.Launch(LaunchVerb::Open, "", ""), nullptr);
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_TRUE(NoChildrenLeft());
}

} // namespace
} // namespace ordwell
