#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/SqliteRegistry.h"

namespace ordwell {
namespace {

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
