#include "WaylandSeam.h"

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>

#include "DisplayServices.h"
#include "platform/posix/UniqueFd.h"

#ifdef ORDWELL_WITH_WAYLAND
#include "platform/wayland/WaylandDesktop.h"
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
    std::unique_ptr<WaylandDesktop> wayland;
#endif
};

WaylandSeam::WaylandSeam() = default;
WaylandSeam::~WaylandSeam() = default;

bool WaylandSeam::Answers() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return name != nullptr && *name != '\0' && CompositorAnswers(name);
}

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
    WaylandAnswer answer = WaylandAnswer::Silent;
    m_connection = std::make_unique<Connection>();
    m_connection->wayland = std::make_unique<WaylandDesktop>(name, answer, lacks);
    return answer;
#else
    return WaylandAnswer::NotBuilt;
#endif
}

std::unique_ptr<DisplayServices> WaylandSeam::Open(EventPump& pump) {
#ifdef ORDWELL_WITH_WAYLAND
    if (!m_connection || !m_connection->wayland) {
        return nullptr;
    }
    m_connection->wayland->Open(pump);
    return std::move(m_connection->wayland);
#else
    (void)pump;
    return nullptr;
#endif
}

} // namespace ordwell
