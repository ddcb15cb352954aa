// Several processes writing the same log, registry store or INI file at once.
// Each child process builds its own engine and backends, as a second running
// copy of the program would.
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TestDesktop.h"

namespace ordwell {
namespace {

using test::TestDesktop;

// The backends of one running program, with the registry store in a file.
class ChildProgram final {
public:
    explicit ChildProgram(const std::string& registryPath)
        : m_registry(registryPath), m_machine(m_registry), m_runner(m_machine.GetEngine(), std::vector<std::string>{}) {
    }

    bool Line(const std::string& text) { return m_runner.Execute(text); }
    bool StoreIsOpen() const { return m_registry.IsOpen(); }

private:
    SqliteRegistry m_registry;
    test::TestMachine m_machine;
    CMacroRunner m_runner;
};

// Forks a child that runs the body and exits with its result.
pid_t Spawn(const std::function<int()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(body());
    }
    return pid;
}

// Runs the body in two children at once, with the child's number; true when
// both ended with 0.
bool RunTwoChildren(const std::function<int(int child)>& body) {
    const pid_t first = Spawn([&] { return body(0); });
    const pid_t second = Spawn([&] { return body(1); });
    int status[2] = {-1, -1};
    ::waitpid(first, &status[0], 0);
    ::waitpid(second, &status[1], 0);
    return status[0] == 0 && status[1] == 0;
}

std::string Padded(int child, int index) {
    std::ostringstream text;
    text << "child " << child << " line " << index << ' ' << std::string(150, static_cast<char>('a' + child));
    return text.str();
}

TEST(ConcurrentWriters, TwoProcessesLoggingToOneFileKeepEveryLineWhole) {
    TestDesktop desk;
    constexpr int kLines = 5000;
    const std::string registryPath = (desk.Dir() / "registry.db").string();
    ASSERT_TRUE(RunTwoChildren([&](int child) {
        ChildProgram program(registryPath);
        for (int i = 0; i < kLines; ++i) {
            if (!program.Line("LogToFile(shared.log," + Padded(child, i) + ")")) {
                return 1;
            }
        }
        return 0;
    }));

    std::istringstream log(desk.ReadFile("shared.log"));
    std::map<std::string, int> seen;
    std::string line;
    int count = 0;
    while (std::getline(log, line)) {
        ++count;
        ASSERT_TRUE(line.starts_with("01/22/98 13:05:00 child ") && line.ends_with("\r")) << line;
        ++seen[line.substr(18, line.size() - 19)];
    }
    EXPECT_EQ(count, 2 * kLines);
    for (int child = 0; child < 2; ++child) {
        for (int i = 0; i < kLines; ++i) {
            EXPECT_EQ(seen[Padded(child, i)], 1) << child << " " << i;
        }
    }
}

TEST(ConcurrentWriters, TwoProcessesWritingTheRegistryStoreLoseNoValue) {
    TestDesktop desk;
    constexpr int kValues = 150;
    const std::string registryPath = (desk.Dir() / "registry.db").string();
    ASSERT_TRUE(RunTwoChildren([&](int child) {
        ChildProgram program(registryPath);
        for (int i = 0; i < kValues; ++i) {
            const std::string name = "c" + std::to_string(child) + "v" + std::to_string(i);
            if (!program.Line(R"(WriteToRegistry("HKEY_CURRENT_USER\Software\Shared",)" + name + ",value " + name +
                              ")")) {
                return 1;
            }
        }
        return 0;
    }));

    SqliteRegistry store(registryPath);
    for (int child = 0; child < 2; ++child) {
        for (int i = 0; i < kValues; ++i) {
            const std::string name = "c" + std::to_string(child) + "v" + std::to_string(i);
            const auto value = store.GetValue(Hive::CurrentUser, R"(Software\Shared)", name);
            ASSERT_TRUE(value) << name;
            EXPECT_EQ(value->data, "value " + name);
        }
    }
}

TEST(ConcurrentWriters, AWriterKilledMidWayLeavesEveryCommittedValue) {
    TestDesktop desk;
    const std::string registryPath = (desk.Dir() / "registry.db").string();
    int reports[2] = {-1, -1};
    ASSERT_EQ(::pipe(reports), 0);
    // The child tells the parent each value whose write has returned; the
    // parent kills it once enough have, while it is still writing.
    const pid_t pid = Spawn([&] {
        ::close(reports[0]);
        ChildProgram program(registryPath);
        for (int i = 0; i < 100000; ++i) {
            if (!program.Line(R"(WriteToRegistry("HKEY_CURRENT_USER\Software\Killed",v)" + std::to_string(i) +
                              ",data " + std::to_string(i) + ")") ||
                ::write(reports[1], &i, sizeof i) != sizeof i) {
                return 1;
            }
        }
        return 0;
    });
    ::close(reports[1]);
    int committed = -1;
    int index = 0;
    while (::read(reports[0], &index, sizeof index) == sizeof index) {
        committed = index;
        if (committed == 100) {
            ::kill(pid, SIGKILL);
        }
    }
    ::close(reports[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(committed, 100);

    SqliteRegistry store(registryPath);
    ASSERT_TRUE(store.IsOpen());
    for (int i = 0; i <= committed; ++i) {
        const auto value = store.GetValue(Hive::CurrentUser, R"(Software\Killed)", "v" + std::to_string(i));
        ASSERT_TRUE(value) << i;
        EXPECT_EQ(value->data, "data " + std::to_string(i));
    }
    // The store takes new writes after the crash.
    EXPECT_TRUE(store.SetValue(Hive::CurrentUser, R"(Software\Killed)", "after", {RegistryType::String, "x"}));
    EXPECT_EQ(store.GetValue(Hive::CurrentUser, R"(Software\Killed)", "after")->data, "x");
}

TEST(ConcurrentWriters, TwoProcessesWritingOneIniFileKeepBothSetsOfValues) {
    TestDesktop desk;
    constexpr int kValues = 60;
    const std::string registryPath = (desk.Dir() / "registry.db").string();
    desk.WriteFile("shared.ini", "; shared by two macros\n[Common]\nkeep=me\n");
    ASSERT_TRUE(RunTwoChildren([&](int child) {
        ChildProgram program(registryPath);
        for (int i = 0; i < kValues; ++i) {
            const std::string key = "c" + std::to_string(child) + "k" + std::to_string(i);
            program.Line("WriteToIniFile(shared.ini,[Child" + std::to_string(child) + "]" + key + "," + key + ")");
        }
        return 0;
    }));
    for (int child = 0; child < 2; ++child) {
        for (int i = 0; i < kValues; ++i) {
            const std::string key = "c" + std::to_string(child) + "k" + std::to_string(i);
            desk.SetVar('A', "");
            desk.Line("GetFromIniFile(shared.ini,[Child" + std::to_string(child) + "]" + key + ",%A)");
            EXPECT_EQ(desk.Var('A'), key);
        }
    }
    EXPECT_TRUE(desk.ReadFile("shared.ini").starts_with("; shared by two macros\n[Common]\nkeep=me\n"));
}

} // namespace
} // namespace ordwell
