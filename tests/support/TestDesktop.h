#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/MacroRunner.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SqliteRegistry.h"
#include "platform/sim/SimulatedDesktop.h"
#include "platform/sim/SimulatedSystem.h"

namespace ordwell::test {

// An engine on the simulated desktop, with real files in a private temporary
// directory that is the current directory while the test runs, and a private
// registry store in memory. The clock starts at 22 January 1998, 13:05:00
// local time.
class TestDesktop {
public:
    TestDesktop();
    ~TestDesktop();
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    SimulatedDesktop& Sim() { return m_sim; }
    SqliteRegistry& Registry() { return m_registry; }
    SimulatedSystem& System() { return m_system; }
    Engine& GetEngine() { return *m_engine; }
    const std::filesystem::path& Dir() const { return m_dir; }

    // Runs the lines as one macro and returns the runner for inspection.
    std::unique_ptr<CMacroRunner> Run(std::vector<std::string> lines);
    // Runs one line on a fresh runner and returns its condition result.
    bool Line(const std::string& text);
    // The runner of the last Line call.
    CMacroRunner& LastRunner() { return *m_lineRunner; }
    std::string Var(char letter) { return m_engine->Variables().Value(letter - 'A'); }
    void SetVar(char letter, const std::string& value) {
        m_engine->Variables().SetVar(std::string("%") + letter, value);
    }

    std::string ReadFile(const std::string& relative) const;
    void WriteFile(const std::string& relative, const std::string& content) const;

    // An engine with every command bound, on the given simulated desktop and
    // system, registry store and files; the clock set as above.
    static std::unique_ptr<Engine> MakeEngine(SimulatedDesktop& sim, SimulatedSystem& system,
                                              ordwell::Registry& registry, FileSystem& files);

    static std::int64_t LocalTime(int year, int month, int day, int hour, int minute, int second);

private:
    std::filesystem::path m_dir;
    std::filesystem::path m_previousDir;
    SimulatedDesktop m_sim;
    SimulatedSystem m_system;
    SqliteRegistry m_registry{":memory:"};
    PosixFileSystem m_files;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<CMacroRunner> m_lineRunner;
};

} // namespace ordwell::test
