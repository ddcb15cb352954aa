#pragma once

#include <memory>
#include <string>

#include "engine/Engine.h"
#include "platform/console/ConsoleEventPump.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixPathMapping.h"
#include "platform/posix/PosixStackSpace.h"
#include "platform/posix/SqliteRegistry.h"
#include "platform/sim/SimulatedDesktop.h"

namespace ordwell {
class WaylandConnection;
class WaylandKeyboard;
class WaylandPointer;
class WaylandWindowSystem;
} // namespace ordwell

namespace ordwell::test {

// An engine with every command bound whose window system, keyboard and
// pointer are the Wayland backend on the compositor whose socket is named,
// waiting in a real event pump; the other services are simulated.
class WaylandMachine final {
public:
    explicit WaylandMachine(const std::string& socket);
    ~WaylandMachine();
    WaylandMachine(const WaylandMachine&) = delete;
    WaylandMachine& operator=(const WaylandMachine&) = delete;

    // Whether every part of the backend came up.
    bool Ready() const;
    WaylandConnection& Connection() { return *m_connection; }
    WaylandWindowSystem& Windows() { return *m_windows; }
    WaylandKeyboard& Keyboard() { return *m_keyboard; }
    Engine& GetEngine() { return *m_engine; }
    // Sends a SendKeys text as a command sends it, on a runner of its own.
    void Send(const std::string& keys);
    void SetKeyDelay(int ms);
    // Runs one line on a fresh runner and returns its condition result.
    bool Line(const std::string& text);
    WindowId Find(const std::string& pattern);

    ConsoleEventPump pump{-1};

private:
    SimulatedDesktop m_sim;
    PosixStackSpace m_stack;
    SqliteRegistry m_registry{":memory:"};
    PosixFileSystem m_files;
    PosixPathMapping m_paths{[](char) { return std::string(); }};
    std::unique_ptr<WaylandConnection> m_connection;
    std::unique_ptr<WaylandPointer> m_pointer;
    std::unique_ptr<WaylandWindowSystem> m_windows;
    std::unique_ptr<WaylandKeyboard> m_keyboard;
    std::unique_ptr<Engine> m_engine;
};

} // namespace ordwell::test
