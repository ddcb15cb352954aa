#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/ForkedChild.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::ForkedChild;
using test::TestDesktop;

TEST(LogCommands, EachCommandAppendsOneStampedLineToItsFile) {
    TestDesktop desk;
    EXPECT_TRUE(desk.Line(R"(LogToFile("backup.log","Backup done"))"));
    EXPECT_TRUE(desk.Line(R"(LogToFile("backup.log",""))"));
    EXPECT_EQ(desk.ReadFile("backup.log"), "01/22/98 13:05:00 Backup done\r\n01/22/98 13:05:00 \r\n");

    EXPECT_TRUE(desk.Line("LogError(disk full)"));
    EXPECT_TRUE(desk.Line("LogEvent(started)"));
    EXPECT_EQ(desk.ReadFile("macerr.log"), "01/22/98 13:05:00 disk full\r\n");
    EXPECT_EQ(desk.ReadFile("macsys.log"), "01/22/98 13:05:00 started\r\n");

    // The settings name the system logs at every write.
    desk.GetEngine().GetSettings().WriteString("System", "ErrorLog", "errors.log");
    desk.GetEngine().GetSettings().WriteString("System", "EventLog", "events.log");
    desk.Line("LogError(second)");
    desk.Line("LogEvent(second)");
    EXPECT_EQ(desk.ReadFile("errors.log"), "01/22/98 13:05:00 second\r\n");
    EXPECT_EQ(desk.ReadFile("events.log"), "01/22/98 13:05:00 second\r\n");
}

TEST(LogCommands, AnUnwritableLogFailsOnlyLogToFile) {
    TestDesktop desk;
    EXPECT_FALSE(desk.Line(R"(LogToFile("no-such-dir\backup.log","x"))"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());

    desk.GetEngine().GetSettings().WriteString("System", "ErrorLog", "no-such-dir/err.log");
    desk.GetEngine().GetSettings().WriteString("System", "EventLog", "no-such-dir/sys.log");
    EXPECT_TRUE(desk.Line("LogError(x)"));
    EXPECT_TRUE(desk.Line("LogEvent(x)"));

    // A failed LogToFile does not end the run.
    const auto runner = desk.Run({R"(LogToFile("no-such-dir\a.log","x"))", R"(LogToFile("after.log","went on"))"});
    EXPECT_EQ(desk.ReadFile("after.log"), "01/22/98 13:05:00 went on\r\n");
    EXPECT_FALSE(std::filesystem::exists(desk.Dir() / "no-such-dir"));
}

TEST(LogCommands, ALogThatIsNoWritableRegularFileFailsAtOnceAndGetsNothing) {
    TestDesktop desk;
    desk.WriteFile("readonly.log", "kept\r\n");
    std::filesystem::permissions(desk.Dir() / "readonly.log", std::filesystem::perms::owner_read);
    ASSERT_EQ(::mkfifo("lonely.fifo", 0666), 0);
    ASSERT_EQ(::mkfifo("read.fifo", 0666), 0);
    const int reader = ::open("read.fifo", O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);

    // A FIFO without a reader would hold the open forever; one with a reader
    // would take the line. Read-only means read-only for root too.
    ForkedChild child;
    child.Start([&] {
        int failures = 0;
        for (const char* log : {"lonely.fifo", "read.fifo", "readonly.log"}) {
            failures += desk.Line(std::string("LogToFile(") + log + ",x)") ? 0 : 1;
        }
        return failures;
    });
    EXPECT_EQ(child.Wait(), 3);
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0);
    ::close(reader);
    EXPECT_EQ(desk.ReadFile("readonly.log"), "kept\r\n");
}

TEST(LogCommands, ALineIsWrittenWholeOrNotAtAllWhenTheFileCannotGrow) {
    TestDesktop desk;
    const std::string first = "01/22/98 13:05:00 first\r\n";
    desk.WriteFile("full.log", first);
    // The child may let the file grow by 30 bytes: a short line fits, a long
    // one is cut by the kernel after 30 bytes.
    ForkedChild child;
    child.Start([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{first.size() + 30, first.size() + 30};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 9;
        }
        const bool longLine = desk.Line("LogToFile(full.log," + std::string(40, 'x') + ")");
        const bool shortLine = desk.Line("LogToFile(full.log,ok)");
        return (longLine ? 1 : 0) + (shortLine ? 0 : 2);
    });
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_EQ(desk.ReadFile("full.log"), first + "01/22/98 13:05:00 ok\r\n");
}

TEST(LogCommands, AWriteThatCannotGrowItsNewFileLeavesNoFile) {
    TestDesktop desk;
    ForkedChild child;
    child.Start([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{0, 0};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 9;
        }
        return (desk.Line("WriteToFile(new.txt,text)") ? 1 : 0) + (desk.Line("LogToFile(new.log,text)") ? 2 : 0);
    });
    EXPECT_EQ(child.Wait(), 0);
    EXPECT_FALSE(std::filesystem::exists(desk.Dir() / "new.txt"));
    EXPECT_FALSE(std::filesystem::exists(desk.Dir() / "new.log"));
}

} // namespace
} // namespace ordwell
