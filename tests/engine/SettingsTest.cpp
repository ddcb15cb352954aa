#include <gtest/gtest.h>

#include <filesystem>

#include "engine/MacroPath.h"
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

TEST(MacroPath, MapsSeparatorsAndDriveLetters) {
    SqliteRegistry registry(":memory:");
    Settings settings(registry);
    EXPECT_EQ(MapMacroPath("c:\\test.log", settings), "/test.log");
    EXPECT_EQ(MapMacroPath("C:/tmp/x", settings), "/tmp/x");
    EXPECT_EQ(MapMacroPath("logs\\a.log", settings), "logs/a.log");
    EXPECT_EQ(MapMacroPath("/already/native", settings), "/already/native");
    EXPECT_EQ(MapMacroPath("d:\\data", settings), "d:/data");
    settings.WriteString("Drives", "D", "/srv/data/");
    EXPECT_EQ(MapMacroPath("d:\\reports\\q1.txt", settings), "/srv/data/reports/q1.txt");
    EXPECT_EQ(MapMacroPath("D:", settings), "/srv/data/");
    EXPECT_EQ(MapMacroPath("c:", settings), "/");
}

} // namespace
} // namespace ordwell
