#include <filesystem>
#include <gtest/gtest.h>

#include "support/TestDesktop.h"

namespace ordwell {
namespace {

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

} // namespace
} // namespace ordwell
