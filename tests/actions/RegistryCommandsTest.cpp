#include <gtest/gtest.h>

#include <algorithm>

#include "actions/ActionCommands.h"
#include "actions/RegistryCommands.h"
#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

TEST(SplitRegistryPath, AcceptsOnlyTheFourHiveNamesExactly) {
    struct Row {
        const char* path;
        std::optional<Hive> hive;
        const char* subkey;
    };
    const Row rows[] = {
        {R"(HKEY_CURRENT_USER\Software\Test)", Hive::CurrentUser, R"(Software\Test)"},
        {R"(HKEY_USERS\.DEFAULT)", Hive::Users, ".DEFAULT"},
        {R"(HKEY_LOCAL_MACHINE\Software)", Hive::LocalMachine, "Software"},
        {R"(HKEY_CLASSES_ROOT\.txt)", Hive::ClassesRoot, ".txt"},
        // A single backslash addresses the hive's root key.
        {R"(HKEY_LOCAL_MACHINE\)", Hive::LocalMachine, ""},
        // Only the first backslash splits; the rest belongs to the subkey.
        {R"(HKEY_CURRENT_USER\\a\)", Hive::CurrentUser, R"(\a\)"},
        {"HKEY_LOCAL_MACHINE", std::nullopt, ""},
        {R"(hkey_current_user\Software)", std::nullopt, ""},
        {R"(HKCU\Software)", std::nullopt, ""},
        {R"( HKEY_CURRENT_USER\Software)", std::nullopt, ""},
        {R"(\Software)", std::nullopt, ""},
        {"", std::nullopt, ""},
    };
    for (const Row& row : rows) {
        const auto split = SplitRegistryPath(row.path);
        ASSERT_EQ(split.has_value(), row.hive.has_value()) << row.path;
        if (split) {
            EXPECT_EQ(split->hive, *row.hive) << row.path;
            EXPECT_EQ(split->subkey, row.subkey) << row.path;
        }
    }
}

TEST(RegistryCommands, WriteThenReadCreatesTheWholeKeyPath) {
    TestDesktop desk;
    EXPECT_TRUE(desk.Line(R"(WriteToRegistry("HKEY_CURRENT_USER\Software\Acme\Tool\Deep","Name","Hello world"))"));
    EXPECT_TRUE(desk.Registry().KeyExists(Hive::CurrentUser, R"(Software\Acme)"));
    EXPECT_TRUE(desk.Line(R"(GetFromRegistry("HKEY_CURRENT_USER\Software\Acme\Tool\Deep","Name",%A))"));
    EXPECT_EQ(desk.Var('A'), "Hello world");

    const auto stored = desk.Registry().GetValue(Hive::CurrentUser, R"(Software\Acme\Tool\Deep)", "Name");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, RegistryType::String);
}

TEST(RegistryCommands, FailedWritesAnswerFalseAndReadsFindAnEmptyText) {
    TestDesktop desk;
    const char* badWrites[] = {
        R"(WriteToRegistry("hkey_current_user\Software\Lower","v","x"))",
        R"(WriteToRegistry("HKEY_CURRENT_USER","v","x"))",
        R"(WriteToRegistry("\Software\NoHive","v","x"))",
    };
    for (const char* line : badWrites) {
        EXPECT_FALSE(desk.Line(line)) << line;
        EXPECT_TRUE(desk.LastRunner().SyntaxFlag()) << line;
    }
    EXPECT_FALSE(desk.Registry().KeyExists(Hive::CurrentUser, R"(Software\Lower)"));
    EXPECT_FALSE(desk.Registry().GetValue(Hive::CurrentUser, "", "v"));

    desk.Line(R"(WriteToRegistry("HKEY_CURRENT_USER\Software\Present","there","x"))");
    const char* emptyReads[] = {
        R"(GetFromRegistry("HKEY_CURRENT_USER\Software\Missing","there",%A))",
        R"(GetFromRegistry("HKEY_CURRENT_USER\Software\Present","missing",%A))",
        R"(GetFromRegistry("hkey_current_user\Software\Present","there",%A))",
        R"(GetFromRegistry("HKEY_CURRENT_USER","there",%A))",
    };
    for (const char* line : emptyReads) {
        desk.SetVar('A', "stale");
        EXPECT_TRUE(desk.Line(line)) << line;
        EXPECT_EQ(desk.Var('A'), "") << line;
    }
}

TEST(RegistryCommands, AWriteTheStoreCannotKeepFailsTheLine) {
    TestDesktop desk;
    desk.WriteFile("not-a-store.sqlite", "plain text, no database");
    SqliteRegistry store((desk.Dir() / "not-a-store.sqlite").string());
    ASSERT_FALSE(store.Problem().empty());
    test::TestMachine machine(store);
    Engine& engine = machine.GetEngine();
    CMacroRunner runner(engine, std::vector<std::string>{});
    EXPECT_FALSE(runner.Execute(R"(WriteToRegistry("HKEY_CURRENT_USER\Software\Acme","Name","lost"))"));
    // A path that names no hive writes nothing either.
    EXPECT_FALSE(runner.Execute(R"(WriteToRegistry("HKEY_NOWHERE\Software\Acme","Name","lost"))"));
    engine.Variables().SetVar("%A", "stale");
    EXPECT_TRUE(runner.Execute(R"(GetFromRegistry("HKEY_CURRENT_USER\Software\Acme","Name",%A))"));
    EXPECT_EQ(engine.Variables().Value(0), "");
    EXPECT_EQ(desk.ReadFile("not-a-store.sqlite"), "plain text, no database");
}

TEST(RegistryCommands, LongValuesAreWrittenAndReadWhole) {
    TestDesktop desk;
    for (const size_t length : {99U, 100U, 101U, 5000U}) {
        std::string value;
        for (size_t i = 0; i < length; ++i) {
            value += static_cast<char>('a' + i % 26);
        }
        desk.SetVar('B', value);
        desk.Line(R"(WriteToRegistry("HKEY_CURRENT_USER\Software\Long","Text",%B))");
        EXPECT_EQ(desk.Registry().GetValue(Hive::CurrentUser, R"(Software\Long)", "Text")->data, value);
        desk.Line(R"(GetFromRegistry("HKEY_CURRENT_USER\Software\Long","Text",%A))");
        EXPECT_EQ(desk.Var('A'), value) << length;
    }
}

TEST(RegistryCommands, OtherValueTypesReadAsTheirBytesUpToTheFirstNul) {
    TestDesktop desk;
    struct Row {
        RegistryType type;
        std::string bytes;
        const char* text;
    };
    const Row rows[] = {
        {RegistryType::Dword, std::string("\x41\x00\x00\x00", 4), "A"},
        {RegistryType::Dword, std::string("\x00\x00\x00\x00", 4), ""},
        {RegistryType::Dword, std::string("\x41\x42\x43\x44", 4), "ABCD"},
        {RegistryType::Binary, std::string("ab\0cd", 5), "ab"},
    };
    for (const Row& row : rows) {
        desk.Registry().SetValue(Hive::CurrentUser, "Software\\Typed", "v", {row.type, row.bytes});
        desk.SetVar('A', "stale");
        EXPECT_TRUE(desk.Line(R"(GetFromRegistry("HKEY_CURRENT_USER\Software\Typed","v",%A))"));
        EXPECT_EQ(desk.Var('A'), row.text);
    }
}

TEST(RegistryCommands, ValuesSurviveBetweenRunsOfTheProgram) {
    TestDesktop desk;
    const std::string storePath = (desk.Dir() / "registry.db").string();
    // One engine per "program run", each with its own store object on the file.
    const auto runWithStore = [&](const std::vector<std::string>& lines) {
        SqliteRegistry store(storePath);
        EXPECT_TRUE(store.IsOpen());
        test::TestMachine machine(store);
        CMacroRunner runner(machine.GetEngine(), lines);
        runner.Run();
        return machine.GetEngine().Variables().Value(0);
    };
    runWithStore({R"(WriteToRegistry("HKEY_CURRENT_USER\Software\Acme","Kept","still here"))"});
    EXPECT_EQ(runWithStore({R"(GetFromRegistry("HKEY_CURRENT_USER\Software\Acme","Kept",%A))"}), "still here");
}

TEST(RegistryCommands, AStoreThatCannotBeOpenedFailsWritesAndIsReportedOnce) {
    TestDesktop desk;
    SqliteRegistry store((desk.Dir() / "missing" / "registry.db").string());
    ASSERT_FALSE(store.Problem().empty());
    test::TestMachine machine(store);
    CMacroRunner runner(machine.GetEngine(),
                        std::vector<std::string>{
                            R"(If(!WriteToRegistry("HKEY_CURRENT_USER\Software\A","v","1"),PutVar(%A,failed)))",
                            R"(WriteToRegistry("HKEY_CURRENT_USER\Software\A","w","2"))",
                            R"(GetFromRegistry("HKEY_CURRENT_USER\Software\A","v",%B))",
                        });
    runner.Run();
    EXPECT_EQ(runner.Outcome(), RunOutcome::Completed);
    EXPECT_EQ(machine.GetEngine().Variables().Value(0), "failed");
    EXPECT_EQ(machine.GetEngine().Variables().Value(1), "");
    // One report, on standard error and in the event log (its default name,
    // as no setting can be read).
    const std::string& reports = machine.Sim().diagnostics.Transcript();
    EXPECT_EQ(std::count(reports.begin(), reports.end(), '\n'), 1) << reports;
    EXPECT_NE(reports.find(store.Problem()), std::string::npos) << reports;
    const std::string log = desk.ReadFile("macsys.log");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}

} // namespace
} // namespace ordwell
