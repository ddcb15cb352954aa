// The session and power commands of the ordwell program against a fake
// logind on a private bus; the machine's own system bus is never reached.
#include <gtest/gtest.h>

#include "OrdwellProgram.h"
#include "support/PrivateLogind.h"

namespace ordwell::test {
namespace {

class SessionCommands : public OrdwellProgram {};

TEST_F(SessionCommands, PowerCommandsAskLogindAndThenRequest) {
    PrivateLogind logind(m_dir, "yes");
    ASSERT_TRUE(logind.Ready());
    SetEnvironment("DBUS_SYSTEM_BUS_ADDRESS", logind.Address());
    const Result result = RunMacro("If(ShutdownSystem(),MessageBox(\"shutdown asked\"))\n"
                                   "If(RebootSystem(ignored),MessageBox(\"reboot asked\"))\n"
                                   "If(PowerOff(),MessageBox(\"power off asked\"))\n"
                                   "If(Logout(),MessageBox(\"logout asked\"))\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output, "[Ordwell] shutdown asked\n[Ordwell] reboot asked\n[Ordwell] power off asked\n"
                             "[Ordwell] logout asked\n");
    const std::string calls = logind.Calls();
    EXPECT_TRUE(calls.starts_with("CanPowerOff\nPowerOff interactive\nCanReboot\nReboot interactive\n"
                                  "CanPowerOff\nPowerOff interactive\nGetSessionByPID "))
        << calls;
    EXPECT_TRUE(calls.ends_with("\nTerminate /org/freedesktop/login1/session/_31\n")) << calls;
    EXPECT_FALSE(std::filesystem::exists(m_dir / "macerr.log"));
}

TEST_F(SessionCommands, ARefusalIsLoggedAndNothingIsRequested) {
    PrivateLogind logind(m_dir, "no");
    ASSERT_TRUE(logind.Ready());
    SetEnvironment("DBUS_SYSTEM_BUS_ADDRESS", logind.Address());
    const Result result = RunMacro("If(!ShutdownSystem(),MessageBox(\"not shut down\"))\n"
                                   "If(!RebootSystem(),MessageBox(\"not rebooted\"))\n"
                                   "If(!PowerOff(),MessageBox(\"not off\"))\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output, "[Ordwell] not shut down\n[Ordwell] not rebooted\n[Ordwell] not off\n");
    EXPECT_EQ(logind.Calls(), "CanPowerOff\nCanReboot\nCanPowerOff\n");
    const std::string log = ReadFile("macerr.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;
    EXPECT_EQ(log.find("OpenProcessToken"), std::string::npos) << log;
    EXPECT_NE(log.find(" AdjustTokenPrivileges() failed\r\n"), std::string::npos) << log;
}

TEST_F(SessionCommands, WithoutASystemBusNothingCanBeAskedFor) {
    // The fixture's system bus address names no bus.
    const Result result = RunMacro("If(!PowerOff(),MessageBox(\"not off\"))\nIf(!Logout(),MessageBox(\"not out\"))\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.output, "[Ordwell] not off\n[Ordwell] not out\n");
    const std::string log = ReadFile("macerr.log");
    EXPECT_TRUE(log.ends_with(" OpenProcessToken() failed\r\n")) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}

} // namespace
} // namespace ordwell::test
