#include "WaylandMachine.h"

#include "actions/ActionCommands.h"
#include "actions/WindowLookup.h"
#include "engine/MacroRunner.h"
#include "input/InputCommands.h"
#include "input/SendKeysText.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandKeyboard.h"
#include "platform/wayland/WaylandPointer.h"
#include "platform/wayland/WaylandWindowSystem.h"

namespace ordwell::test {

WaylandMachine::WaylandMachine(const std::string& socket)
    : m_connection(WaylandConnection::Open(pump, socket.c_str())) {
    if (!m_connection) {
        return;
    }
    m_pointer = WaylandPointer::Open(*m_connection);
    m_windows = WaylandWindowSystem::Open(*m_connection);
    m_keyboard = WaylandKeyboard::Open(*m_connection);
    if (!Ready()) {
        return;
    }
    m_engine = std::make_unique<Engine>(
        Platform{m_sim.clock, pump,        m_sim.stop,     m_stack,       m_sim.diagnostics, m_registry,
                 m_files,     m_paths,     m_sim.system,   m_sim.dialogs, m_sim.clipboard,   m_sim.runIcon,
                 *m_windows,  *m_keyboard, m_sim.keyGrabs, *m_pointer,    m_sim.processes,   m_sim.session,
                 m_sim.dde,   m_sim.sound, m_sim.recording});
    BindActionCommands(*m_engine);
    BindInputCommands(*m_engine);
}

WaylandMachine::~WaylandMachine() {
    m_engine.reset();
    m_keyboard.reset();
    m_windows.reset();
    m_pointer.reset();
}

bool WaylandMachine::Ready() const {
    return m_connection && m_pointer && m_windows && m_keyboard;
}

void WaylandMachine::Send(const std::string& keys) {
    CMacroRunner runner(*m_engine, std::vector<std::string>{});
    SendKeysText(runner, keys);
}

void WaylandMachine::SetKeyDelay(int ms) {
    m_engine->GetSettings().WriteInt("System", "KeyDelay", ms);
}

bool WaylandMachine::Line(const std::string& text) {
    CMacroRunner runner(*m_engine, std::vector<std::string>{text});
    return runner.Execute(text);
}

WindowId WaylandMachine::Find(const std::string& pattern) {
    return FindWindowByTitle(*m_windows, pattern);
}

} // namespace ordwell::test
