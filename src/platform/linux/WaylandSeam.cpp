#include "WaylandSeam.h"

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>

#include "platform/Keyboard.h"
#include "platform/Pointer.h"
#include "platform/WindowSystem.h"
#include "platform/posix/UniqueFd.h"

#ifdef ORDWELL_WITH_WAYLAND
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandKeyboard.h"
#include "platform/wayland/WaylandPointer.h"
#include "platform/wayland/WaylandWindowSystem.h"
#endif

namespace ordwell {

namespace {

// The socket a Wayland client connects to: the name itself when it is a
// path, else the name in XDG_RUNTIME_DIR (as libwayland-client finds it).
std::string SocketPath(const std::string& name) {
    if (name.front() == '/') {
        return name;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime == '\0') {
        return {};
    }
    return std::string(runtime) + "/" + name;
}

// Whether something accepts connections at the compositor's socket.
bool CompositorAnswers(const std::string& name) {
    const std::string path = SocketPath(name);
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return fd && ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

} // namespace

// The Wayland backend's connection to the compositor: Probe connects and
// reads the compositor's globals, Open binds the virtual keyboard, the
// foreign toplevels and the virtual pointer on it.
struct WaylandSeam::Connection {
#ifdef ORDWELL_WITH_WAYLAND
    std::unique_ptr<WaylandConnection> wayland;
#endif
};

WaylandSeam::WaylandSeam() = default;
WaylandSeam::~WaylandSeam() = default;

WaylandAnswer WaylandSeam::Probe(std::string& lacks) {
    lacks.clear();
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || *name == '\0') {
        return WaylandAnswer::NotNamed;
    }
    if (!CompositorAnswers(name)) {
        return WaylandAnswer::Silent;
    }
#ifdef ORDWELL_WITH_WAYLAND
    m_connection = std::make_unique<Connection>();
    m_connection->wayland = WaylandConnection::Open(name);
    if (!m_connection->wayland) {
        // Something took the connection but spoke no Wayland, or not in time.
        return WaylandAnswer::Silent;
    }
    lacks = m_connection->wayland->MissingProtocols();
    return lacks.empty() ? WaylandAnswer::Offers : WaylandAnswer::LacksProtocols;
#else
    return WaylandAnswer::NotBuilt;
#endif
}

WaylandSeam::Services WaylandSeam::Open(EventPump& pump) {
    Services services;
#ifdef ORDWELL_WITH_WAYLAND
    if (!m_connection || !m_connection->wayland) {
        return services;
    }
    WaylandConnection& connection = *m_connection->wayland;
    connection.UsePump(pump);
    services.windows = WaylandWindowSystem::Open(connection);
    services.keyboard = WaylandKeyboard::Open(connection);
    services.pointer = WaylandPointer::Open(connection);
#else
    (void)pump;
#endif
    return services;
}

} // namespace ordwell
