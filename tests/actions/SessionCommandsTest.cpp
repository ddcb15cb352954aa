#include <gtest/gtest.h>

#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

TEST(SessionCommands, TurningOffAsksFirstAndLogoutAsksNothing) {
    TestDesktop desk;
    SimulatedSession& session = desk.Sim().session;
    EXPECT_TRUE(desk.Line("ShutdownSystem()"));
    EXPECT_TRUE(desk.Line("RebootSystem(stray,text)"));
    EXPECT_TRUE(desk.LastRunner().SyntaxFlag());
    EXPECT_TRUE(desk.Line("PowerOff()"));
    EXPECT_TRUE(desk.Line("Logout(\"anything\")"));
    EXPECT_EQ(session.Transcript(), "may shutdown\nshutdown\nmay reboot\nreboot\nmay poweroff\npoweroff\nlogoff\n");
    session.SetRefused(true);
    EXPECT_FALSE(desk.Line("PowerOff()"));
    EXPECT_FALSE(desk.Line("Logout()"));
    EXPECT_EQ(desk.ReadFile("macerr.log"), "");
}

TEST(SessionCommands, NoPermissionLogsWhyRequestsNothingAndAnswersFalse) {
    TestDesktop desk;
    SimulatedSession& session = desk.Sim().session;
    session.SetPermission(SessionEnd::Shutdown, Permission::Denied);
    session.SetPermission(SessionEnd::Reboot, Permission::Unanswered);
    session.SetPermission(SessionEnd::PowerOff, Permission::Denied);
    const auto runner = desk.Run({"If(ShutdownSystem(),PutVar(%A,turned off),PutVar(%A,still on))", "RebootSystem()",
                                  "If(!PowerOff(),PutVar(%B,refused))"});
    EXPECT_EQ(runner->Outcome(), RunOutcome::Completed);
    EXPECT_EQ(desk.Var('A'), "still on");
    EXPECT_EQ(desk.Var('B'), "refused");
    EXPECT_EQ(session.Transcript(), "may shutdown\nmay reboot\nmay poweroff\n");
    EXPECT_EQ(desk.ReadFile("macerr.log"), "01/22/98 13:05:00 AdjustTokenPrivileges() failed\r\n"
                                           "01/22/98 13:05:00 OpenProcessToken() failed\r\n"
                                           "01/22/98 13:05:00 AdjustTokenPrivileges() failed\r\n");
}

} // namespace
} // namespace ordwell
