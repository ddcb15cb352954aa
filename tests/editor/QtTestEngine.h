#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "engine/Engine.h"
#include "engine/Settings.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/PosixStackSpace.h"
#include "platform/posix/SqliteRegistry.h"
#include "platform/qt/QtEventPump.h"
#include "platform/sim/SimulatedDesktop.h"

namespace ordwell::test {

// An engine with every command bound for the editor's widget tests: the
// simulated desktop (windows, boxes, programs) with real files in a private
// folder (the current directory meanwhile), a private settings store in
// memory, and the Qt event pump, so that a run waits in the same event loop
// the widgets live in, as in the program. Needs a QApplication.
class QtTestEngine {
public:
    QtTestEngine();
    ~QtTestEngine();
    QtTestEngine(const QtTestEngine&) = delete;
    QtTestEngine& operator=(const QtTestEngine&) = delete;

    Engine& GetEngine() { return *m_engine; }
    SimulatedDesktop& Sim() { return m_sim; }
    Settings& GetSettings() { return m_settings; }
    const std::filesystem::path& Dir() const { return m_dir; }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    std::string ReadFile(const std::string& name) const;
    void WriteFile(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path m_dir;
    std::filesystem::path m_previousDir;
    SimulatedDesktop m_sim;
    QtEventPump m_pump{-1};
    PosixStackSpace m_stack;
    PosixFileSystem m_files;
    SqliteRegistry m_registry{":memory:"};
    Settings m_settings{m_registry};
    PosixPathMapping m_paths{
        [this](char letter) { return m_settings.GetString("Drives", std::string(1, letter), ""); }};
    std::unique_ptr<Engine> m_engine;
};

} // namespace ordwell::test
