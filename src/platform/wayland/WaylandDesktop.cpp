#include "WaylandDesktop.h"

#include "WaylandConnection.h"
#include "WaylandKeyboard.h"
#include "WaylandPointer.h"
#include "WaylandWindowSystem.h"
#include "platform/null/NullKeyGrabs.h"
#include "platform/null/NullKeyboard.h"
#include "platform/null/NullPointer.h"
#include "platform/null/NullWindowSystem.h"

namespace ordwell {

WaylandDesktop::WaylandDesktop(const std::string& name, WaylandAnswer& answer, std::string& lacks)
    : m_connection(WaylandConnection::Open(name.c_str())), m_reason("WAYLAND_DISPLAY=" + name),
      m_windows(std::make_unique<NullWindowSystem>()), m_keyGrabs(std::make_unique<NullKeyGrabs>()),
      m_keyboard(std::make_unique<NullKeyboard>()), m_pointer(std::make_unique<NullPointer>()) {
    lacks.clear();
    if (!m_connection) {
        // Something took the connection but spoke no Wayland, or not in time.
        answer = WaylandAnswer::Silent;
        return;
    }
    lacks = m_connection->MissingProtocols();
    answer = lacks.empty() ? WaylandAnswer::Offers : WaylandAnswer::LacksProtocols;
}

WaylandDesktop::~WaylandDesktop() = default;

void WaylandDesktop::Open(EventPump& pump) {
    m_uses.windows = m_uses.keyboard = m_uses.pointer = {"none", m_reason};
    if (!m_connection) {
        return;
    }
    m_connection->UsePump(pump);
    if (auto windows = WaylandWindowSystem::Open(*m_connection)) {
        m_windows = std::move(windows);
        m_uses.windows = {"wayland", m_reason + ", foreign toplevels"};
    }
    if (auto keyboard = WaylandKeyboard::Open(*m_connection)) {
        m_keyboard = std::move(keyboard);
        m_uses.keyboard = {"wayland", "virtual keyboard"};
    }
    if (auto pointer = WaylandPointer::Open(*m_connection)) {
        m_pointer = std::move(pointer);
        m_uses.pointer = {"wayland", "virtual pointer"};
    }
}

void WaylandDesktop::Describe(BackendReport& report) {
    report.windows = m_uses.windows;
    report.keyboard = m_uses.keyboard;
    report.pointer = m_uses.pointer;
}

} // namespace ordwell
