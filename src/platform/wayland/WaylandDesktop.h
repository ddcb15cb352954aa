#pragma once

#include <memory>
#include <string>

#include "platform/linux/BackendChoice.h"
#include "platform/linux/DisplayServices.h"

namespace ordwell {

class EventPump;
class WaylandConnection;

// The Wayland backend's services on one compositor: a connection made
// before any toolkit connects, which tells what the compositor offers, then
// the windows, keys and clicks bound on it. Made in one place for the
// desktop program and for the wayland module of the light executable.
class WaylandDesktop final : public DisplayServices {
public:
    // Connects to the compositor named `name` (WAYLAND_DISPLAY) and reads its
    // globals: Offers, LacksProtocols (what it lacks in `lacks`) or Silent
    // (it spoke no Wayland, or not in time).
    WaylandDesktop(const std::string& name, WaylandAnswer& answer, std::string& lacks);
    ~WaylandDesktop() override;
    WaylandDesktop(const WaylandDesktop&) = delete;
    WaylandDesktop& operator=(const WaylandDesktop&) = delete;

    // Binds the services on the connection, watched by `pump`; a service
    // that cannot be had stays a null object. Only after an answer Offers.
    void Open(EventPump& pump);

    WindowSystem& Windows() override { return *m_windows; }
    ordwell::Keyboard& Keyboard() override { return *m_keyboard; }
    ordwell::Pointer& Pointer() override { return *m_pointer; }
    ordwell::KeyGrabs& KeyGrabs() override { return *m_keyGrabs; }
    void Describe(BackendReport& report) override;

private:
    std::unique_ptr<WaylandConnection> m_connection;
    std::string m_reason;
    std::unique_ptr<WindowSystem> m_windows;
    // Wayland lets no client watch keys pressed for other clients.
    std::unique_ptr<ordwell::KeyGrabs> m_keyGrabs;
    std::unique_ptr<ordwell::Keyboard> m_keyboard;
    std::unique_ptr<ordwell::Pointer> m_pointer;
    BackendReport m_uses;
};

} // namespace ordwell
