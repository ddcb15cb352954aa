#pragma once

#include <cstdint>
#include <memory>

#include "engine/Engine.h"
#include "engine/Settings.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/PosixStackSpace.h"
#include "platform/sim/SimulatedDesktop.h"

namespace ordwell::test {

// An engine with every command bound, on the simulated desktop, with real
// files, path mapping and stack, and the registry store given. The clock
// starts at 22 January 1998, 13:05:00 local time.
class TestMachine {
public:
    explicit TestMachine(Registry& registry);
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    SimulatedDesktop& Sim() { return m_sim; }
    Engine& GetEngine() { return *m_engine; }

    static std::int64_t LocalTime(int year, int month, int day, int hour, int minute, int second);

private:
    SimulatedDesktop m_sim;
    PosixStackSpace m_stack;
    PosixFileSystem m_files;
    Settings m_settings;
    PosixPathMapping m_paths;
    std::unique_ptr<Engine> m_engine;
};

} // namespace ordwell::test
