#pragma once

#include <memory>
#include <string>

#include "BackendChoice.h"

namespace ordwell {

class EventPump;
class Keyboard;
class Pointer;
class WindowSystem;

// The one place where the Wayland backend plugs into the choice of backends
// (built with ORDWELL_WITH_WAYLAND). Without it, a compositor is only asked
// whether it answers, so that a Wayland session can be told apart from a
// name that leads nowhere.
class WaylandSeam final {
public:
    WaylandSeam();
    ~WaylandSeam();
    WaylandSeam(const WaylandSeam&) = delete;
    WaylandSeam& operator=(const WaylandSeam&) = delete;

    // Asks the compositor named by WAYLAND_DISPLAY what it offers; `lacks`
    // gets what it lacks, in words, when it answers LacksProtocols. Before
    // any toolkit connects.
    WaylandAnswer Probe(std::string& lacks);

    // The services of a compositor that offers the protocols.
    struct Services {
        std::unique_ptr<WindowSystem> windows;
        std::unique_ptr<Keyboard> keyboard;
        std::unique_ptr<Pointer> pointer;
    };
    // Opens them on the connection probed, watched by `pump`; a service
    // that cannot be opened stays null. Only after Probe answered Offers.
    Services Open(EventPump& pump);

private:
    // The Wayland backend's connection, from Probe on.
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};

} // namespace ordwell
