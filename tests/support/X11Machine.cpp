#include "X11Machine.h"

#include "actions/ActionCommands.h"
#include "actions/WindowLookup.h"
#include "engine/MacroRunner.h"
#include "input/InputCommands.h"
#include "input/SendKeysText.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeyGrabs.h"
#include "platform/x11/X11Keyboard.h"
#include "platform/x11/X11Pointer.h"
#include "platform/x11/X11WindowSystem.h"

namespace ordwell::test {

X11Machine::X11Machine(const std::string& display)
    : m_connection(X11Connection::Open(pump, display.c_str())),
      m_windows(std::make_unique<X11WindowSystem>(*m_connection)),
      m_keyGrabs(std::make_unique<X11KeyGrabs>(pump, display)), m_keyboard(X11Keyboard::Open(*m_connection, pump)),
      m_pointer(std::make_unique<X11Pointer>(*m_connection)),
      m_engine(std::make_unique<Engine>(
          Platform{m_sim.clock, pump,        m_sim.stop,     m_stack,       m_sim.diagnostics, m_registry,
                   m_files,     m_paths,     m_sim.system,   m_sim.dialogs, m_sim.clipboard,   m_sim.runIcon,
                   *m_windows,  *m_keyboard, *m_keyGrabs,    *m_pointer,    m_sim.processes,   m_sim.session,
                   m_sim.dde,   m_sim.sound, m_sim.recording})) {
    if (m_keyboard) {
        m_keyboard->LiftGrabsOf(m_keyGrabs.get());
    }
    BindActionCommands(*m_engine);
    BindInputCommands(*m_engine);
}

X11Machine::~X11Machine() = default;

WindowSystem& X11Machine::Windows() {
    return *m_windows;
}

void X11Machine::Send(const std::string& keys) {
    CMacroRunner runner(*m_engine, std::vector<std::string>{});
    SendKeysText(runner, keys);
}

void X11Machine::SetKeyDelay(int ms) {
    m_engine->GetSettings().WriteInt("System", "KeyDelay", ms);
}

bool X11Machine::Line(const std::string& text) {
    CMacroRunner runner(*m_engine, std::vector<std::string>{text});
    return runner.Execute(text);
}

WindowId X11Machine::Find(const std::string& pattern) {
    return FindWindowByTitle(*m_windows, pattern);
}

} // namespace ordwell::test
