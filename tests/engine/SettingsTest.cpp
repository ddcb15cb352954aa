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

TEST(SqliteRegistry, KeysAndValuesIgnoreCaseAndKeepTypes) {
    SqliteRegistry registry(":memory:");
    ASSERT_TRUE(registry.IsOpen());
    EXPECT_FALSE(registry.KeyExists(Hive::LocalMachine, "A\\B"));
    EXPECT_TRUE(
        registry.SetValue(Hive::LocalMachine, "A\\B\\C", "V", {RegistryType::Dword, std::string("\x05\0\0\0", 4)}));
    EXPECT_TRUE(registry.KeyExists(Hive::LocalMachine, "a\\b"));
    EXPECT_TRUE(registry.KeyExists(Hive::LocalMachine, "a\\b\\c\\"));
    EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, "A\\B"));
    const auto value = registry.GetValue(Hive::LocalMachine, "\\a\\B\\c", "v");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, RegistryType::Dword);
    EXPECT_EQ(value->data.size(), 4U);
    EXPECT_TRUE(registry.DeleteValue(Hive::LocalMachine, "A\\B\\C", "V"));
    EXPECT_FALSE(registry.GetValue(Hive::LocalMachine, "A\\B\\C", "V"));
    EXPECT_TRUE(registry.KeyExists(Hive::Users, ""));
}

TEST(SqliteRegistry, ValuesSurviveReopening) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("ordwell-reg-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".sqlite");
    std::filesystem::remove(path);
    {
        SqliteRegistry registry(path.string());
        registry.SetValue(Hive::CurrentUser, "Software\\Test", "Name", {RegistryType::String, std::string(10000, 'v')});
    }
    {
        SqliteRegistry registry(path.string());
        const auto value = registry.GetValue(Hive::CurrentUser, "software\\test", "name");
        ASSERT_TRUE(value);
        EXPECT_EQ(value->data, std::string(10000, 'v'));
    }
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(path.string() + suffix);
    }
}

TEST(SqliteRegistry, AnUnopenableStoreFailsEveryCall) {
    SqliteRegistry registry("/nonexistent-dir/x/registry.sqlite");
    EXPECT_FALSE(registry.IsOpen());
    EXPECT_FALSE(registry.SetValue(Hive::CurrentUser, "A", "B", {}));
    EXPECT_FALSE(registry.GetValue(Hive::CurrentUser, "A", "B"));
    EXPECT_FALSE(registry.CreateKey(Hive::CurrentUser, "A"));
}

} // namespace
} // namespace ordwell
