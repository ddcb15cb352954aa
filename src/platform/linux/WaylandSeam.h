#pragma once

#include <memory>
#include <string>

#include "BackendChoice.h"

namespace ordwell {

class DisplayServices;
class EventPump;

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

    // Whether WAYLAND_DISPLAY names a compositor that accepts connections,
    // asked without the Wayland libraries.
    static bool Answers();

    // Asks the compositor named by WAYLAND_DISPLAY what it offers; `lacks`
    // gets what it lacks, in words, when it answers LacksProtocols. Before
    // any toolkit connects.
    WaylandAnswer Probe(std::string& lacks);

    // Opens the services of a compositor that offers the protocols on the
    // connection probed, watched by `pump`; a service that cannot be opened
    // is a null object. Only after Probe answered Offers; null without the
    // Wayland backend.
    std::unique_ptr<DisplayServices> Open(EventPump& pump);

private:
    // The Wayland backend's connection, from Probe on.
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};

} // namespace ordwell
