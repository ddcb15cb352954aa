#include <gtest/gtest.h>

#include "engine/Settings.h"
#include "platform/posix/SqliteRegistry.h"

namespace ordwell {
namespace {

TEST(Settings, DefaultsUntilWrittenThenStoredValues) {
    SqliteRegistry registry(":memory:");
    Settings settings(registry);
    EXPECT_EQ(settings.GetInt("System", "KeyDelay", 1), 1);
    EXPECT_EQ(settings.GetString("System", "ErrorLog", "macerr.log"), "macerr.log");
    EXPECT_TRUE(settings.WriteInt("System", "KeyDelay", -5));
    EXPECT_TRUE(settings.WriteString("System", "ErrorLog", "e.log"));
    EXPECT_EQ(settings.GetInt("system", "keydelay", 1), -5);
    EXPECT_EQ(settings.GetString("System", "ErrorLog", "macerr.log"), "e.log");
    // They live where a macro reads the registry.
    const auto value = registry.GetValue(Hive::CurrentUser, "SOFTWARE\\Halvane\\Ordwell\\System", "ErrorLog");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, "e.log");
    // A number stored as text counts as a number.
    registry.SetValue(Hive::CurrentUser, "Software\\Halvane\\Ordwell\\System", "KeyDelay", {RegistryType::String, "7"});
    EXPECT_EQ(settings.GetInt("System", "KeyDelay", 1), 7);
}

} // namespace
} // namespace ordwell
