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
class X11Connection;
class X11KeyGrabs;
class X11Keyboard;
class X11Pointer;
class X11WindowSystem;
} // namespace ordwell

namespace ordwell::test {

// An engine with every command bound whose window system and keyboard are
// the X11 backend on the display named, waiting in a real event pump; the
// other services are simulated.
class X11Machine final {
public:
    explicit X11Machine(const std::string& display);
    ~X11Machine();
    X11Machine(const X11Machine&) = delete;
    X11Machine& operator=(const X11Machine&) = delete;

    WindowSystem& Windows();
    X11Keyboard& Keyboard() { return *m_keyboard; }
    X11KeyGrabs& KeyGrabs() { return *m_keyGrabs; }
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
    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<X11WindowSystem> m_windows;
    std::unique_ptr<X11KeyGrabs> m_keyGrabs;
    std::unique_ptr<X11Keyboard> m_keyboard;
    std::unique_ptr<X11Pointer> m_pointer;
    std::unique_ptr<Engine> m_engine;
};

} // namespace ordwell::test
