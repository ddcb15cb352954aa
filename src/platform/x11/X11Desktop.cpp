#include "X11Desktop.h"

#include "DisplayHangUp.h"
#include "X11Connection.h"
#include "X11KeyGrabs.h"
#include "X11Keyboard.h"
#include "X11Pointer.h"
#include "X11WindowSystem.h"
#include "platform/null/NullKeyGrabs.h"
#include "platform/null/NullKeyboard.h"
#include "platform/null/NullPointer.h"
#include "platform/null/NullWindowSystem.h"

namespace ordwell {

X11Desktop::X11Desktop(EventPump& pump, Display* display, std::unique_ptr<DisplayHangUp> hangUp,
                       const std::string& displayName, void (*endOnBreak)())
    : m_pump(pump), m_hangUp(std::move(hangUp)), m_connection(X11Connection::Open(pump, display)),
      m_windows(std::make_unique<NullWindowSystem>()), m_keyGrabs(std::make_unique<NullKeyGrabs>()),
      m_keyboard(std::make_unique<NullKeyboard>()), m_pointer(std::make_unique<NullPointer>()) {
    if (!m_connection) {
        const std::string gone = "the X display went away as the program started";
        m_windowsUse = m_keyboardUse = m_pointerUse = {"none", gone};
        return;
    }
    if (endOnBreak != nullptr) {
        m_connection->WhenBroken(endOnBreak);
    }
    m_windows = std::make_unique<X11WindowSystem>(*m_connection);
    m_windowsUse = {"x11", "DISPLAY=" + displayName};
    auto pointer = std::make_unique<X11Pointer>(*m_connection);
    m_pointerUse = {"x11", pointer->ThroughXTest() ? "XTest, the pointer put back after each click"
                                                   : "button events sent to the window (no XTest)"};
    m_pointer = std::move(pointer);
    auto grabs = std::make_unique<X11KeyGrabs>(pump, displayName);
    m_lifted = grabs.get();
    m_keyGrabs = std::move(grabs);
}

X11Desktop::~X11Desktop() = default;

Keyboard& X11Desktop::Keyboard() {
    if (!m_keyboardTried && m_connection) {
        m_keyboardTried = true;
        // A display without XTest or XKB keeps the null keyboard.
        if (std::unique_ptr<X11Keyboard> keyboard = X11Keyboard::Open(*m_connection, m_pump)) {
            keyboard->LiftGrabsOf(m_lifted);
            m_keyboard = std::move(keyboard);
            m_keyboardUse = {"x11", "XTest"};
        } else {
            m_keyboardUse = {"none", "the X display has no XTest or XKB"};
        }
    }
    return *m_keyboard;
}

void X11Desktop::Describe(BackendReport& report) {
    Keyboard();
    report.windows = m_windowsUse;
    report.keyboard = m_keyboardUse;
    report.pointer = m_pointerUse;
}

bool X11Desktop::Broken() const {
    return m_connection && m_connection->Broken();
}

bool X11Desktop::HungUp() const {
    return m_hangUp && m_hangUp->HungUp();
}

} // namespace ordwell
