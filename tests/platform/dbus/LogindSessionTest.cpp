// The logind backend against a fake logind on a private bus.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include "platform/dbus/LogindSession.h"
#include "support/PrivateLogind.h"

namespace ordwell {
namespace {

using test::PrivateLogind;

class LogindSessionTest : public testing::Test {
protected:
    LogindSessionTest() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-logind-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
    }
    ~LogindSessionTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    std::filesystem::path m_dir;
};

TEST_F(LogindSessionTest, PermissionIsLogindsAnswer) {
    struct Row {
        std::string answer;
        Permission permission;
    };
    const Row rows[] = {{"yes", Permission::Granted},
                        {"challenge", Permission::Granted},
                        {"no", Permission::Denied},
                        {"na", Permission::Denied}};
    for (const Row& row : rows) {
        PrivateLogind logind(m_dir, row.answer);
        ASSERT_TRUE(logind.Ready()) << row.answer;
        LogindSession session(logind.Address());
        EXPECT_EQ(session.MayEnd(SessionEnd::Shutdown), row.permission) << row.answer;
        EXPECT_EQ(session.MayEnd(SessionEnd::Reboot), row.permission) << row.answer;
        EXPECT_EQ(session.MayEnd(SessionEnd::PowerOff), row.permission) << row.answer;
        EXPECT_EQ(logind.Calls(), "CanPowerOff\nCanReboot\nCanPowerOff\n") << row.answer;
    }
}

TEST_F(LogindSessionTest, RequestsReachLogindAsAskedForAndNoMore) {
    PrivateLogind logind(m_dir, "yes");
    ASSERT_TRUE(logind.Ready());
    LogindSession session(logind.Address());
    EXPECT_TRUE(session.Request(SessionEnd::Shutdown));
    EXPECT_TRUE(session.Request(SessionEnd::Reboot));
    EXPECT_TRUE(session.Request(SessionEnd::PowerOff));
    EXPECT_TRUE(session.Request(SessionEnd::Logoff));
    EXPECT_EQ(logind.Calls(), "PowerOff interactive\nReboot interactive\nPowerOff interactive\nGetSessionByPID " +
                                  std::to_string(::getpid()) + "\nTerminate /org/freedesktop/login1/session/_31\n");
}

TEST_F(LogindSessionTest, NoBusMeansNoAnswerAndNoRequest) {
    LogindSession session("unix:path=" + (m_dir / "no-bus").string());
    EXPECT_EQ(session.MayEnd(SessionEnd::Reboot), Permission::Unanswered);
    EXPECT_FALSE(session.Request(SessionEnd::Reboot));
    EXPECT_FALSE(session.Request(SessionEnd::Logoff));

    // A bus without logind on it answers nothing either.
    PrivateLogind logind(m_dir, "yes");
    ASSERT_TRUE(logind.Ready());
    ASSERT_EQ(::setenv("DBUS_SYSTEM_BUS_ADDRESS", logind.Address().c_str(), 1), 0);
    EXPECT_TRUE(LogindSession::SystemBusReachable());
    ASSERT_EQ(::setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + (m_dir / "no-bus").string()).c_str(), 1), 0);
    EXPECT_FALSE(LogindSession::SystemBusReachable());
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}

} // namespace
} // namespace ordwell
