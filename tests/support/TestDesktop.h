#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestMachine.h"
#include "engine/MacroRunner.h"
#include "platform/posix/SqliteRegistry.h"

namespace ordwell::test {

// A test machine (see TestMachine) whose files live in a private temporary
// directory, the current directory while the test runs, and whose registry
// store is private and in memory.
class TestDesktop {
public:
    TestDesktop();
    ~TestDesktop();
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    SimulatedDesktop& Sim() { return m_machine.Sim(); }
    SqliteRegistry& Registry() { return m_registry; }
    Engine& GetEngine() { return m_machine.GetEngine(); }
    const std::filesystem::path& Dir() const { return m_dir; }

    // Runs the lines as one macro and returns the runner for inspection.
    std::unique_ptr<CMacroRunner> Run(const std::vector<std::string>& lines);
    // Runs one line on a fresh runner and returns its condition result.
    bool Line(const std::string& text);
    // The runner of the last Line call.
    CMacroRunner& LastRunner() { return *m_lineRunner; }
    std::string Var(char letter) { return GetEngine().Variables().Value(letter - 'A'); }
    void SetVar(char letter, const std::string& value) {
        GetEngine().Variables().SetVar(std::string("%") + letter, value);
    }

    std::string ReadFile(const std::string& relative) const;
    void WriteFile(const std::string& relative, const std::string& content) const;

    static std::int64_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
        return TestMachine::LocalTime(year, month, day, hour, minute, second);
    }

private:
    std::filesystem::path m_dir;
    std::filesystem::path m_previousDir;
    SqliteRegistry m_registry{":memory:"};
    TestMachine m_machine{m_registry};
    std::unique_ptr<CMacroRunner> m_lineRunner;
};

} // namespace ordwell::test
